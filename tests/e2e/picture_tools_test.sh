#!/usr/bin/env bash
# The picture tools from the face dialog, on the shipped start folder:
#  - 写真加工: 参照 phot\phot-01.bmp, a fixed cut at (10, 20), 保存 as phot\cut1.bmp: the
#    file is 80 x 120 and holds the photo's pixels there; the face dialog shows its path;
#  - 似顔絵作成: a face and hair from the kao parts, 保存 as phot\kao1.bmp: 80 x 100; the
#    face dialog takes it, OK/Yes puts it on the card and into Vivivuz.dat.
# Usage: bash picture_tools_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init picture_tools "$@"

readonly OK=207 YES_BUTTON=6 FACE_PATH=331 FACE_PHOTO=204 FACE_PORTRAIT=205
readonly PHOTO_BROWSE=202 PHOTO_CLOSE=208 FIXED_CUT=257
readonly SAVE=901
readonly FACE_CATEGORY=5001 HAIR_CATEGORY=5011 PORTRAIT_SAVE=233 PORTRAIT_CLOSE=234

# window_over OWNER TITLE: waits for a dialog of the program over OWNER.
window_over() {
    e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$1" --title "$2" --timeout 15000 ||
        e2e_fail "no window \"$2\""
}

# choose_file TITLE PATH: types PATH into the file dialog TITLE and confirms it.
choose_file() {
    local files
    files="$(e2e_drive wait --pid "$E2E_PID" --title "$1" --timeout 15000)" || e2e_fail "no file dialog \"$1\""
    sleep 0.5  # the dialog fills its own fields right after it shows
    e2e_drive settext "$files" 1148 "$2" || e2e_fail "cannot type the file name"
    e2e_drive click "$files" 1 || e2e_fail "cannot confirm the file dialog"
    e2e_drive gone "$files" --timeout 15000 || e2e_fail "the file dialog \"$1\" stays"
}

# save_shown OWNER PATH: 保存 in the import-save window over OWNER, the picture saved as PATH.
save_shown() {
    local save
    save="$(window_over "$1" "画像の取込後保存")"
    e2e_drive click "$save" "$SAVE" || e2e_fail "cannot press 保存"
    choose_file "ファイルの保存" "$2"
    e2e_drive gone "$save" --timeout 15000 || e2e_fail "the import-save window stays"
}

# click_at WINDOW X Y: a left click at client point (X, Y). The release may open a modal
# window, so it is sent from the background, answered once that window is gone.
click_at() {
    e2e_drive mouse "$1" down "$2" "$3" || e2e_fail "cannot press at $2, $3"
    e2e_drive mouse "$1" move "$2" "$3" || e2e_fail "cannot move to $2, $3"
    e2e_drive mouse "$1" up "$2" "$3" &
    sleep 0.5
}

path_shown() {
    e2e_drive texts "$dialog" | awk -F'\t' -v id="$1" '$1 == id { gsub(/\\\\/, "\\", $3); print $3 }'
}

# shows_path PATH: the face dialog's path box holds PATH.
shows_path() { [ "$(path_shown $FACE_PATH)" = "$1" ]; }

# is_checked WINDOW ID: the radio button ID of WINDOW is chosen.
is_checked() { [ "$(e2e_drive checked "$1" "$2")" = 1 ]; }

# size_of FILE: "WIDTHxHEIGHT" of a picture.
size_of() { identify -format '%wx%h' "$1"; }

e2e_scratch
e2e_copy_data
e2e_start
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"
e2e_drive command "$main" 47 || e2e_fail "cannot open the face dialog"
dialog="$(window_over "$main" "顔の設定")"

e2e_log "写真加工: a fixed cut of phot-01 at (10, 20)"
e2e_drive click "$dialog" "$FACE_PHOTO" || e2e_fail "cannot press 写真加工"
editor="$(window_over "$dialog" "写真の編集")"
e2e_drive click "$editor" "$PHOTO_BROWSE" || e2e_fail "cannot press 参照"
choose_file "画像ファイルの在処を指定" "$(winepath -w "$E2E_START/phot/phot-01.bmp")"
e2e_drive click "$editor" "$FIXED_CUT" || e2e_fail "cannot choose 切取Ａ"
# The click is posted; the press must come after it.
e2e_until 10 is_checked "$editor" "$FIXED_CUT" || e2e_fail "切取Ａ is not chosen"
click_at "$editor" 10 20
save_shown "$editor" "$(winepath -w "$E2E_START/phot/cut1.bmp")"
e2e_screenshot photo_editor
e2e_drive click "$editor" "$PHOTO_CLOSE" || e2e_fail "cannot press 閉じる"
e2e_drive gone "$editor" --timeout 10000 || e2e_fail "the photo editor stays"
e2e_until 10 shows_path 'phot\cut1.bmp' ||
    e2e_fail "the face dialog shows $(path_shown $FACE_PATH), not phot\\cut1.bmp"
readonly CUT="$E2E_START/phot/cut1.bmp"
e2e_expect_eq "size of cut1.bmp" 80x120 "$(size_of "$CUT")"
convert "$E2E_START/phot/phot-01.bmp" -crop 80x120+10+20 +repage "$E2E_ARTEFACTS/expected_cut.png"
e2e_same_picture "$CUT" "$E2E_ARTEFACTS/expected_cut.png" || e2e_fail "cut1.bmp is not the photo's region"

e2e_log "似顔絵作成: a face and hair"
e2e_drive click "$dialog" "$FACE_PORTRAIT" || e2e_fail "cannot press 似顔絵作成"
composer="$(window_over "$dialog" "似顔絵の編集")"
e2e_drive click "$composer" "$FACE_CATEGORY" || e2e_fail "cannot choose 顔"
sleep 0.5
click_at "$composer" 220 100
e2e_drive click "$composer" "$HAIR_CATEGORY" || e2e_fail "cannot choose 髪"
sleep 0.5
click_at "$composer" 220 100
e2e_screenshot portrait_composer
e2e_drive click "$composer" "$PORTRAIT_SAVE" || e2e_fail "cannot press 保存"
save_shown "$composer" "$(winepath -w "$E2E_START/phot/kao1.bmp")"
e2e_drive click "$composer" "$PORTRAIT_CLOSE" || e2e_fail "cannot press 閉じる"
e2e_drive gone "$composer" --timeout 10000 || e2e_fail "the composer stays"
e2e_until 10 shows_path 'phot\kao1.bmp' ||
    e2e_fail "the face dialog shows $(path_shown $FACE_PATH), not phot\\kao1.bmp"
readonly PORTRAIT="$E2E_START/phot/kao1.bmp"
e2e_expect_eq "size of kao1.bmp" 80x100 "$(size_of "$PORTRAIT")"
colours="$(convert "$PORTRAIT" -unique-colors -format '%w' info:)"
e2e_log "colours in the portrait: $colours"
[ "$colours" -ge 3 ] || e2e_fail "the portrait is nearly empty (see kao1.bmp)"
cp "$PORTRAIT" "$E2E_ARTEFACTS/kao1.bmp"

e2e_drive click "$dialog" "$OK" || e2e_fail "cannot press OK"
box="$(window_over "$dialog" "ベース画面！")"
e2e_drive click "$box" "$YES_BUTTON" || e2e_fail "cannot answer Yes"
e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the face dialog stays after Yes"
e2e_card_shot "$main" portrait_on_card

e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
e2e_wait_exit 30
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
for expected in 'phot_data.fm=phot\kao1.bmp' "phot_data.on=1" "phot_data.w=80" "phot_data.h=100"; do
    e2e_expect_eq "${expected%%=*} in Vivivuz.dat" "${expected#*=}" "$(e2e_saved "${expected%%=*}")"
done
# The card shows the portrait where the design puts the face.
x="$(e2e_saved phot_data.x)" y="$(e2e_saved phot_data.y)"
convert "$E2E_ARTEFACTS/portrait_on_card.png" -crop "80x100+$x+$y" +repage "$E2E_ARTEFACTS/portrait_shown.png"
off="$(compare -fuzz 12% -metric AE "$E2E_ARTEFACTS/portrait_shown.png" "$PORTRAIT" null: 2>&1 | cut -d' ' -f1)"
e2e_log "pixels off in the face: $off of 8000"
[ "$off" -lt 800 ] || e2e_fail "the card does not show the portrait (see portrait_on_card.png)"

e2e_pass
