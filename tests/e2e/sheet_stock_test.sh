#!/usr/bin/env bash
# Card stock as a new user meets it, on a real printer (a CUPS queue that writes PDFs):
#  1. The layout dialog's "A4 10面 名刺 91×55 (左14 上11)" prints ten cards at
#     (14 + 91k, 11 + 55r) mm, each within 0.3 mm.
#  2. With a correction of +1.5 / -0.8 mm every card moves by it.
#  3. "位置合わせ印刷" prints its crosses within 0.2 mm of the grid's outer corners, moved
#     by the same correction.
#  4. After a restart the preset, the printer and its correction are there again.
# The cards carry a base picture that is white but for a dark band along its left and
# top edges, so that the edges of touching cards can be told apart. Other programs may
# print to the same queue meanwhile: a document is taken as this test's when it is
# newer than the test's marker and shows what the test printed.
# Like the print test, this one ends every program of its Wine prefix between runs, so
# it works in a prefix of its own (VIVIVUZ_PRINT_WINEPREFIX).
# Usage (as root, or with sudo for CUPS): bash sheet_stock_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
export VIVIVUZ_WINEPREFIX="${VIVIVUZ_PRINT_WINEPREFIX:-$HOME/.local/share/vivivuz/print-prefix}"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init sheet_stock "$@"
trap 'status=$?; wineserver -k 2>/dev/null; (exit $status); e2e_cleanup' EXIT

CHECK="$E2E_LIB_DIR/sheet_stock_check.py"
A4_TEN="A4 10面 名刺 91×55 (左14 上11)"

bash "$E2E_REPO/scripts/setup.sh" >"$E2E_ARTEFACTS/setup.log" 2>&1 ||
    e2e_fail "cannot prepare the Wine prefix $WINEPREFIX (see setup.log)"
# A prefix of the tests' own: its windows need no window manager (see unmanaged_windows).
unmanaged_windows
LANG=C ensure_printer 2>/dev/null

# control_text DIALOG ID: the text of a control as the dialog shows it.
control_text() {
    e2e_drive texts "$1" | awk -F'\t' -v id="$2" '$1 == id { print $3; exit }'
}

# open_layout: the layout dialog after choosing CardPDF; sets LAYOUT.
open_layout() {
    e2e_open_layout CardPDF
    LAYOUT="$E2E_LAYOUT"
}

# wait_for_page MARKER TITLE NAME CHECK...: waits for a one-page document whose title
# matches the pattern TITLE, newer than the marker, whose page (rendered at 300 dpi) passes
# "sheet_stock_check.py CHECK..."; keeps what was looked at in ARTEFACTS/NAME.
wait_for_page() {
    local marker="$1" title="$2" out="$E2E_ARTEFACTS/$3" end=$((SECONDS + 120)) pdf seen=" "
    shift 3
    local mode="$1"
    shift
    mkdir -p "$out"
    while [ $SECONDS -lt $end ]; do
        for pdf in $(e2e_new_documents "$marker"); do
            case "$seen" in *" $pdf "*) continue ;; esac
            pdfinfo "$pdf" >"$out/pdfinfo.txt" 2>/dev/null || continue  # still being written
            seen+="$pdf "
            # shellcheck disable=SC2254  # the title is a pattern
            case "$(sed -n 's/^Title:[[:space:]]*//p' "$out/pdfinfo.txt")" in $title) ;; *) continue ;; esac
            [ "$(sed -n 's/^Pages:[[:space:]]*//p' "$out/pdfinfo.txt")" = 1 ] || continue
            rm -f "$out"/page*.pgm
            pdftoppm -r 300 -gray "$pdf" "$out/page" || continue
            if python3 "$CHECK" "$mode" "$(ls "$out"/page*.pgm | head -1)" 300 "$@" >"$out/check.txt"; then
                cp "$pdf" "$out/"
                convert "$(ls "$out"/page*.pgm | head -1)" -resize 25% "$out/page-small.png"
                e2e_log "printed $pdf"
                cat "$out/check.txt"
                return 0
            fi
            cp "$pdf" "$out/"
            e2e_log "$pdf is not this test's page, or is wrong:"
            cat "$out/check.txt"
        done
        sleep 1
    done
    e2e_fail "no page of \"$title\" as expected came out of the printer (see $out)"
}

# print_sheet NAME EXPECTED_PX EXPECTED_PY: 印刷 in the open layout dialog; the page must
# show the ten cards from (EXPECTED_PX, EXPECTED_PY) (0.1 mm) within 0.3 mm.
print_sheet() {
    local marker="$E2E_ARTEFACTS/before-$1"
    touch "$marker"
    sleep 1
    e2e_drive click "$LAYOUT" 207 || e2e_fail "cannot press 印刷"
    e2e_drive gone "$LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays after 印刷"
    wait_for_page "$marker" Vivivuz "$1" cards "$2" "$3" 910 550 2 5 0.3
}

# ---------------------------------------------------------------- the start folder
e2e_scratch
e2e_copy_data
convert -size 455x275 xc:white -fill black -draw "rectangle 0,0 4,274" -draw "rectangle 0,0 454,4" \
    "BMP3:$E2E_START/stock.bmp" || e2e_fail "cannot make the card picture"
e2e_setting base_filepass stock.bmp
e2e_setting base_pl_mode 0
e2e_setting phot_data.on 0
e2e_setting p_outline 0
for i in 0 1 2 3 4; do e2e_setting "mark_data[$i].on" 0; done
for i in 0 1 2 3; do e2e_setting "qrcode_data[$i].on" 0; done
for i in $(seq 0 14); do e2e_setting "str_data[$i].on" 0; done

# ---------------------------------------------------------------- 1. the A4 ten-card preset
e2e_new_wine_session CardPDF
e2e_start
e2e_settle startup.txt
open_layout
e2e_drive select "$LAYOUT" 370 "$A4_TEN" || e2e_fail "the layout dialog offers no $A4_TEN"
e2e_expect_eq "left edge from the preset" "14.0" "$(control_text "$LAYOUT" 364)"
e2e_expect_eq "cards down from the preset" "5" "$(control_text "$LAYOUT" 305)"
e2e_screenshot layout_preset
print_sheet a4_ten 140 110

# ---------------------------------------------------------------- 2. the correction
open_layout
e2e_expect_eq "preset shown again" "$A4_TEN" "$(control_text "$LAYOUT" 370)"
e2e_drive settext "$LAYOUT" 373 "1.5" || e2e_fail "cannot type the correction X"
e2e_drive settext "$LAYOUT" 374 "-0.8" || e2e_fail "cannot type the correction Y"
sleep 1
e2e_expect_eq "preset kept with a correction" "$A4_TEN" "$(control_text "$LAYOUT" 370)"
print_sheet corrected 155 102

# ---------------------------------------------------------------- 3. the calibration page
open_layout
e2e_expect_eq "correction X kept" "1.5" "$(control_text "$LAYOUT" 373)"
marker="$E2E_ARTEFACTS/before-calibration"
touch "$marker"
sleep 1
e2e_drive click "$LAYOUT" 372 || e2e_fail "cannot press 位置合わせ印刷"
# The crosses at the first card's top-left and the last card's bottom-right corner,
# moved by the correction: (14 + 1.5, 11 - 0.8) and (14 + 182 + 1.5, 11 + 275 - 0.8) mm.
# Wine's PostScript driver garbles the Japanese part of the document name in the PDF.
wait_for_page "$marker" "*Vivivuz ?*" calibration crosses 155 102 1975 2852 0.2
e2e_drive click "$LAYOUT" 208 || e2e_fail "cannot press キャンセル"
e2e_drive gone "$LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays after キャンセル"
e2e_exit_program
e2e_expect_eq "preset in Vivivuz.dat" "$A4_TEN" "$(e2e_saved sheet_preset)"
iconv -f UTF-16 -t UTF-8 "$E2E_START/printers.ini" | tr -d '\r' >"$E2E_ARTEFACTS/printers.txt" ||
    e2e_fail "no printers.ini"
grep -qx 'printer\[0\].name=CardPDF' "$E2E_ARTEFACTS/printers.txt" || e2e_fail "CardPDF is not remembered first"
grep -qx 'printer\[0\].correction_x=15' "$E2E_ARTEFACTS/printers.txt" || e2e_fail "the correction X is not kept"
grep -qx 'printer\[0\].correction_y=-8' "$E2E_ARTEFACTS/printers.txt" || e2e_fail "the correction Y is not kept"
grep -q '^printer\[0\].device_mode=[0-9A-F]\+$' "$E2E_ARTEFACTS/printers.txt" || e2e_fail "no device mode kept"

# ---------------------------------------------------------------- 4. the next start
e2e_new_wine_session CardPDF
e2e_start
e2e_settle restart.txt
[ ! -s "$E2E_ARTEFACTS/restart.txt" ] || e2e_fail "messages at the restart: $(cat "$E2E_ARTEFACTS/restart.txt")"
e2e_expect_eq "printer at the restart" "ﾌﾟﾘﾝﾀ：CardPDF" "$(e2e_drive status "$E2E_MAIN" --ctrl 1 | sed -n 's/^0\t//p')"
open_layout
e2e_expect_eq "preset after the restart" "$A4_TEN" "$(control_text "$LAYOUT" 370)"
e2e_expect_eq "correction Y after the restart" "-0.8" "$(control_text "$LAYOUT" 374)"
e2e_drive click "$LAYOUT" 208 || e2e_fail "cannot press キャンセル"
e2e_drive gone "$LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays after キャンセル"
e2e_exit_program

e2e_pass
