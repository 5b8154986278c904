#!/usr/bin/env bash
# Pictures as people have them today, on the shipped start folder:
#  - マーク: mark 2 takes a PNG logo with a soft, transparent edge through 参照: the card
#    shows it blended over the background, as ImageMagick composes the same two pictures;
#  - 顔: a phone photo whose pixels are stored sideways with orientation tag 6 is chosen
#    through 参照: it stands upright on the card at the size it was made for (80 x 100);
#  - 印刷 at 600 dpi on the PDF printer: the logo is composed over the background at the
#    printer's resolution from its own picture (it matches the composition of the two
#    pictures at 600 dpi far better than one made at the screen's 70 x 42 pixels), the
#    photo is upright on paper too, and nothing is written into the start folder.
# Like the print test, it works in a Wine prefix of its own (VIVIVUZ_PRINT_WINEPREFIX) so
# that Wine reads the 600 dpi queue it adds.
# Usage: bash picture_formats_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
export VIVIVUZ_WINEPREFIX="${VIVIVUZ_PRINT_WINEPREFIX:-$HOME/.local/share/vivivuz/print-prefix}"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init picture_formats "$@"

readonly FINE_PRINTER=CardPDF600 DPI=600
ADDED_PRINTER=""
formats_cleanup() {
    [ -n "$ADDED_PRINTER" ] && as_root lpadmin -x "$ADDED_PRINTER" 2>/dev/null
    wineserver -k 2>/dev/null
    return 0
}
trap 'status=$?; formats_cleanup; (exit $status); e2e_cleanup' EXIT
bash "$E2E_REPO/scripts/setup.sh" >"$E2E_ARTEFACTS/setup.log" 2>&1 ||
    e2e_fail "cannot prepare the Wine prefix $WINEPREFIX (see setup.log)"
# A prefix of the tests' own: its windows need no window manager (see unmanaged_windows).
unmanaged_windows
LANG=C ensure_printer 2>/dev/null
if ! lpstat -p "$FINE_PRINTER" >/dev/null 2>&1; then
    as_root lpadmin -p "$FINE_PRINTER" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
        -o Resolution=${DPI}dpi 2>/dev/null || e2e_fail "cannot add the queue $FINE_PRINTER"
    ADDED_PRINTER="$FINE_PRINTER"
fi

readonly OK=207 YES_BUTTON=6
readonly MARK_BROWSE=3091 FACE_BROWSE=202

open_dialog() {
    e2e_drive command "$main" "$1" || e2e_fail "cannot send command $1"
    dialog="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$main" --title "$2" \
        --timeout 10000)" || e2e_fail "no dialog \"$2\""
}

accept() {
    e2e_drive click "$dialog" "$OK" || e2e_fail "cannot press OK"
    box="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$dialog" --title "$1" \
        --timeout 10000)" || e2e_fail "no box \"$1\""
    e2e_drive click "$box" "$YES_BUTTON" || e2e_fail "cannot answer Yes"
    e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the dialog stays after Yes"
}

# choose_file BUTTON PATH: presses the dialog's 参照 and opens PATH in the file dialog.
choose_file() {
    e2e_drive click "$dialog" "$1" || e2e_fail "cannot press 参照"
    files="$(e2e_drive wait --pid "$E2E_PID" --title "画像ファイルの在処を指定" --timeout 15000)" ||
        e2e_fail "no file dialog"
    sleep 0.5  # the dialog fills its own fields right after it shows
    e2e_drive settext "$files" 1148 "$(winepath -w "$2")" || e2e_fail "cannot type the file name"
    e2e_drive click "$files" 1 || e2e_fail "cannot open the file"
    e2e_drive gone "$files" --timeout 15000 || e2e_fail "the file dialog stays"
}

# differing A B: how many pixels of two pictures differ by more than a little.
differing() {
    compare -fuzz 10% -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

e2e_scratch
e2e_copy_data
readonly LOGO="$E2E_START/mark/logo-02.png" PHOTO="$E2E_START/phot/phot-01.bmp"
readonly SIDEWAYS="$E2E_START/phot/phone.jpg"
# The photo as a phone stores it: turned a quarter anticlockwise, with the tag that turns it back.
convert "$PHOTO" -rotate -90 -density 381 -units PixelsPerInch -quality 92 "$SIDEWAYS" &&
    exiftool -q -n -overwrite_original -Orientation=6 "$SIDEWAYS" || e2e_fail "cannot make the phone photo"
face_x="$(e2e_saved phot_data.x)" face_y="$(e2e_saved phot_data.y)"
# The second mark over the waves at the bottom right, where nothing else is drawn.
readonly MARK_X=360 MARK_Y=225
e2e_setting "mark_data[1].x" "$MARK_X"
e2e_setting "mark_data[1].y" "$MARK_Y"

e2e_new_wine_session CardPDF "$FINE_PRINTER"
e2e_start
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"

e2e_log "マーク: a PNG logo with alpha"
open_dialog 36 "マーク画面の設定"
choose_file "$MARK_BROWSE" "$LOGO"
accept "マーク画面！"
e2e_card_shot "$main" logo_placed
# 210 x 126 pixels at 381 dpi: 70 x 42 card pixels.
readonly AT="70x42+$MARK_X+$MARK_Y"
convert "$E2E_START/base/base-01.bmp" -resize 455x275\! -crop "$AT" +repage \
    \( "$LOGO" -resize 70x42\! \) -composite "$E2E_ARTEFACTS/logo_expected.png"
convert "$E2E_START/base/base-01.bmp" -resize 455x275\! -crop "$AT" +repage \
    \( "$LOGO" -resize 70x42\! -background white -flatten \) -composite "$E2E_ARTEFACTS/logo_on_white.png"
convert "$E2E_ARTEFACTS/logo_placed.png" -crop "$AT" +repage "$E2E_ARTEFACTS/logo_shown.png"
blended_off="$(differing "$E2E_ARTEFACTS/logo_shown.png" "$E2E_ARTEFACTS/logo_expected.png")"
white_off="$(differing "$E2E_ARTEFACTS/logo_shown.png" "$E2E_ARTEFACTS/logo_on_white.png")"
e2e_log "pixels off: $blended_off against the blended logo, $white_off against the logo on white"
[ "$blended_off" -lt $((70 * 42 / 10)) ] && [ "$blended_off" -lt $((white_off / 2)) ] ||
    e2e_fail "the card does not show the logo blended over the background (see logo_placed.png)"

e2e_log "顔: a phone photo stored sideways"
open_dialog 47 "顔の設定"
choose_file "$FACE_BROWSE" "$SIDEWAYS"
accept "ベース画面！"
e2e_card_shot "$main" phone_placed
convert "$E2E_ARTEFACTS/phone_placed.png" -crop "80x100+$face_x+$face_y" +repage "$E2E_ARTEFACTS/phone_shown.png"
convert "$PHOTO" -resize 80x100\! "$E2E_ARTEFACTS/phone_upright.png"
convert "$SIDEWAYS" -resize 80x100\! "$E2E_ARTEFACTS/phone_as_stored.png"
upright_off="$(differing "$E2E_ARTEFACTS/phone_shown.png" "$E2E_ARTEFACTS/phone_upright.png")"
stored_off="$(differing "$E2E_ARTEFACTS/phone_shown.png" "$E2E_ARTEFACTS/phone_as_stored.png")"
e2e_log "pixels off: $upright_off against the upright photo, $stored_off against it as stored"
[ "$upright_off" -lt $((80 * 100 / 5)) ] && [ "$upright_off" -lt $((stored_off / 2)) ] ||
    e2e_fail "the photo is not upright on the card (see phone_placed.png)"

e2e_log "印刷 at $DPI dpi"
E2E_MAIN="$main"
marker="$E2E_ARTEFACTS/before-print"
touch "$marker"
sleep 1
e2e_open_layout "$FINE_PRINTER"
e2e_drive click "$E2E_LAYOUT" 207 || e2e_fail "cannot press 印刷"
e2e_drive gone "$E2E_LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays after 印刷"
pdf="$(e2e_wait_for_document "$marker" 180)" || e2e_fail "no document came out of the printer"
e2e_log "printed $pdf"
cp "$pdf" "$E2E_ARTEFACTS/printed.pdf"
pdftoppm -r "$DPI" -f 1 -l 1 -png "$pdf" "$E2E_ARTEFACTS/page" || e2e_fail "pdftoppm"
page="$(ls "$E2E_ARTEFACTS"/page*.png | head -1)"
# The first card's corner, and a card pixel (0.2 mm) in printer pixels.
left="$(awk -v t="$(e2e_saved base_px)" -v d=$DPI 'BEGIN { printf "%d", t * d / 254 }')"
top="$(awk -v t="$(e2e_saved base_py)" -v d=$DPI 'BEGIN { printf "%d", t * d / 254 }')"
card_w="$(awk -v d=$DPI 'BEGIN { printf "%d", 910 * d / 254 }')"
card_h="$(awk -v d=$DPI 'BEGIN { printf "%d", 550 * d / 254 }')"
px() { awk -v n="$1" -v d=$DPI 'BEGIN { printf "%d", n * 2 * d / 254 }'; }
logo_w="$(px 70)" logo_h="$(px 42)"
logo_at="${logo_w}x${logo_h}+$((left + $(px $MARK_X)))+$((top + $(px $MARK_Y)))"
convert "$page" -crop "$logo_at" +repage "$E2E_ARTEFACTS/logo_printed.png"
fine_base="$E2E_ARTEFACTS/base_at_${DPI}.png"
convert "$E2E_START/base/base-01.bmp" -resize "${card_w}x${card_h}"\! "$fine_base"
convert "$fine_base" -crop "${logo_w}x${logo_h}+$(px $MARK_X)+$(px $MARK_Y)" +repage \
    \( "$LOGO" -resize "${logo_w}x${logo_h}"\! \) -composite "$E2E_ARTEFACTS/logo_fine.png"
# What the screen's 70 x 42 composition would give, stretched to the same size.
convert "$E2E_ARTEFACTS/logo_expected.png" -filter triangle -resize "${logo_w}x${logo_h}"\! \
    "$E2E_ARTEFACTS/logo_coarse.png"
# Each expected picture, less a margin of 8 printer pixels, is sought in the printed one at
# its best place: the card's corner and the page's rounding may shift it by a pixel or two.
inner() { convert "$1" -crop "$((logo_w - 16))x$((logo_h - 16))+8+8" +repage "$2"; }
inner "$E2E_ARTEFACTS/logo_fine.png" "$E2E_ARTEFACTS/logo_fine_inner.png"
inner "$E2E_ARTEFACTS/logo_coarse.png" "$E2E_ARTEFACTS/logo_coarse_inner.png"
rmse() {
    compare -metric RMSE -subimage-search "$E2E_ARTEFACTS/logo_printed.png" "$1" null: 2>&1 |
        sed -n 's/.*(\([0-9.e-]*\)).*/\1/p' | head -1
}
fine_off="$(rmse "$E2E_ARTEFACTS/logo_fine_inner.png")"
coarse_off="$(rmse "$E2E_ARTEFACTS/logo_coarse_inner.png")"
e2e_log "logo on paper, root-mean-square off: $fine_off against $DPI dpi, $coarse_off against the screen's pixels"
awk -v f="$fine_off" -v c="$coarse_off" 'BEGIN { exit !(f < 0.04 && f < c * 0.8) }' ||
    e2e_fail "the printed logo is not composed at the printer's resolution (see logo_printed.png)"
face_at="$(px 80)x$(px 100)+$((left + $(px "$face_x")))+$((top + $(px "$face_y")))"
convert "$page" -crop "$face_at" +repage -resize 80x100\! "$E2E_ARTEFACTS/phone_printed.png"
printed_upright="$(differing "$E2E_ARTEFACTS/phone_printed.png" "$E2E_ARTEFACTS/phone_upright.png")"
printed_stored="$(differing "$E2E_ARTEFACTS/phone_printed.png" "$E2E_ARTEFACTS/phone_as_stored.png")"
e2e_log "photo on paper: $printed_upright pixels off upright, $printed_stored as stored"
[ "$printed_upright" -lt $((80 * 100 / 5)) ] && [ "$printed_upright" -lt $((printed_stored / 2)) ] ||
    e2e_fail "the photo is not upright on paper (see phone_printed.png)"

e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
e2e_wait_exit 30
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
for expected in "mark_data[1].on=1" "mark_data[1].w=70" "mark_data[1].h=42" \
    "phot_data.on=1" "phot_data.w=80" "phot_data.h=100"; do
    e2e_expect_eq "${expected%%=*} in Vivivuz.dat" "${expected#*=}" "$(e2e_saved "${expected%%=*}")"
done
[ -z "$(find "$E2E_START" -maxdepth 1 -name '*.tmp')" ] || e2e_fail "files were left in the start folder"
e2e_pass
