#!/usr/bin/env bash
# The picture dialogs as a user meets them, on the shipped start folder:
#  - ベース: 次 four times to a tall picture of base\, placed "3:右下", OK/Yes: the card shows the
#    picture's bottom part and the design keeps base_pl_mode=3;
#  - マーク: mark 2 takes a picture typed into the file dialog of 参照, OK/Yes: the design
#    keeps its path and the size the picture was made for (210 x 126 pixels at 381 dpi:
#    70 x 42 card pixels), and the card shows it at the top-left corner;
#  - 顔: 次 twice walks the face pictures of every kind in name order, a paint program that does not exist
#    is reported and the dialog goes on, OK/Yes keeps the picture shown last.
# Usage: bash picture_dialogs_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init picture_dialogs "$@"

readonly OK=207 YES_BUTTON=6
readonly PLACEMENT=311 BASE_NEXT=201
readonly MARK_BROWSE=3091  # 参照 of the second mark
readonly FACE_NEXT=201 FACE_PAINT=216 FACE_PATH=331

# open_dialog COMMAND TITLE: sends the edit command and waits for its dialog.
open_dialog() {
    e2e_drive command "$main" "$1" || e2e_fail "cannot send command $1"
    dialog="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$main" --title "$2" \
        --timeout 10000)" || e2e_fail "no dialog \"$2\""
}

# box_over OWNER TITLE TEXT: waits for a message box over OWNER and checks its text.
box_over() {
    box="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$1" --title "$2" \
        --timeout 10000)" || e2e_fail "no box \"$2\""
    e2e_drive texts "$box" | grep -qF "$3" || e2e_fail "box \"$2\" says: $(e2e_drive texts "$box")"
}

# accept CAPTION: presses OK in the dialog and answers Yes to the question CAPTION.
accept() {
    e2e_drive click "$dialog" "$OK" || e2e_fail "cannot press OK"
    box_over "$dialog" "$1" "これに変更して良いですか？"
    e2e_drive click "$box" "$YES_BUTTON" || e2e_fail "cannot answer Yes"
    e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the dialog stays after Yes"
}

# path_shown ID: the text of the dialog's edit ID (vivdrive doubles backslashes).
path_shown() {
    e2e_drive texts "$dialog" | awk -F'\t' -v id="$1" '$1 == id { gsub(/\\\\/, "\\", $3); print $3 }'
}

# differing A B: how many pixels of two pictures differ by more than a little.
differing() {
    compare -fuzz 12% -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

e2e_scratch
e2e_copy_data
e2e_setting oekaki_filename "no_such_paint_program.exe"
for key in base_filepass base_pl_mode base_load_mode phot_load_mode "mark_data[1].on"; do
    e2e_log "shipped $key=$(e2e_saved "$key")"
done
[ "$(e2e_saved base_filepass)" = 'base\base-01.bmp' ] && [ "$(e2e_saved base_load_mode)" = 4 ] &&
    [ "$(e2e_saved phot_load_mode)" = 4 ] && [ "$(e2e_saved 'mark_data[1].on')" = 0 ] ||
    e2e_fail "the shipped design has changed; adjust this test"

e2e_start
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"

e2e_log "ベース: a tall picture, bottom right"
open_dialog 31 "ベース画面の設定"
for step in 1 2 3 4; do e2e_drive click "$dialog" "$BASE_NEXT" || e2e_fail "cannot press 次"; done
e2e_until 10 test "$(path_shown 331)" = 'base\base-05.bmp' ||
    e2e_fail "次 four times shows $(path_shown 331), not base\\base-05.bmp"
e2e_drive select "$dialog" "$PLACEMENT" "3:右下" || e2e_fail "cannot choose 3:右下"
sleep 1.5  # the placement box is read a second after its last change
e2e_screenshot base_dialog
accept "ベース画面！"
e2e_card_shot "$main" base_placed
# The 825 x 1365 picture's bottom part with the card's proportions (825 x 498) stretched
# over the card, where the marks, the face and the texts leave it visible, against the
# whole picture squeezed onto the card.
readonly TALL="$E2E_REPO/data/base/base-05.bmp"
convert "$TALL" -crop 825x498+0+867 +repage -resize 455x275\! "$E2E_ARTEFACTS/expected_crop.png"
convert "$TALL" -resize 455x275\! "$E2E_ARTEFACTS/expected_fit.png"
crop_off="$(differing "$E2E_ARTEFACTS/base_placed.png" "$E2E_ARTEFACTS/expected_crop.png")"
fit_off="$(differing "$E2E_ARTEFACTS/base_placed.png" "$E2E_ARTEFACTS/expected_fit.png")"
e2e_log "pixels off: $crop_off against the bottom-right crop, $fit_off against the fit"
[ "$crop_off" -lt $((455 * 275 / 3)) ] && [ "$crop_off" -lt $((fit_off / 2)) ] ||
    e2e_fail "the card does not show the bottom-right crop (see base_placed.png)"

e2e_log "マーク: mark 2 from the file dialog"
open_dialog 36 "マーク画面の設定"
e2e_drive click "$dialog" "$MARK_BROWSE" || e2e_fail "cannot press 参照"
files="$(e2e_drive wait --pid "$E2E_PID" --title "画像ファイルの在処を指定" --timeout 15000)" ||
    e2e_fail "no file dialog"
sleep 0.5  # the dialog fills its own fields right after it shows
mark_file="$(winepath -w "$E2E_START/mark/mark-02.bmp")"
e2e_drive settext "$files" 1148 "$mark_file" || e2e_fail "cannot type the file name"
e2e_drive click "$files" 1 || e2e_fail "cannot open the file"
e2e_drive gone "$files" --timeout 15000 || e2e_fail "the file dialog stays"
e2e_until 10 test "$(path_shown 3061)" = "$mark_file" || e2e_fail "the mark's path box shows $(path_shown 3061)"
accept "マーク画面！"
e2e_card_shot "$main" mark_placed
convert "$E2E_ARTEFACTS/mark_placed.png" -crop 70x42+0+0 +repage "$E2E_ARTEFACTS/mark_shown.png"
convert "$E2E_START/mark/mark-02.bmp" -resize 70x42\! "$E2E_ARTEFACTS/mark_expected.png"
mark_off="$(differing "$E2E_ARTEFACTS/mark_shown.png" "$E2E_ARTEFACTS/mark_expected.png")"
e2e_log "pixels off in the mark: $mark_off of $((70 * 42))"
[ "$mark_off" -lt $((70 * 42 / 10)) ] || e2e_fail "the card does not show the mark (see mark_placed.png)"

e2e_log "顔: 次 twice, a missing paint program"
open_dialog 47 "顔の設定"
e2e_drive click "$dialog" "$FACE_NEXT" || e2e_fail "cannot press 次"
e2e_until 10 test "$(path_shown $FACE_PATH)" = 'phot\phot-02.bmp' ||
    e2e_fail "the first 次 shows $(path_shown $FACE_PATH)"
e2e_drive click "$dialog" "$FACE_NEXT" || e2e_fail "cannot press 次"
e2e_until 10 test "$(path_shown $FACE_PATH)" = 'phot\phot-03.jpg' ||
    e2e_fail "the second 次 shows $(path_shown $FACE_PATH)"
e2e_drive click "$dialog" "$FACE_PAINT" || e2e_fail "cannot press お絵描きソフト"
box_over "$dialog" "CreateProcess" "お絵描きソフトが見つかりませんでした。"
e2e_drive click "$box" 1 || e2e_fail "cannot close the box"
e2e_drive gone "$box" --timeout 10000 || e2e_fail "the box stays"
e2e_screenshot face_dialog
accept "ベース画面！"
e2e_card_shot "$main" face_placed

e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
e2e_wait_exit 30
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"

for expected in 'base_filepass=base\base-05.bmp' "base_pl_mode=3" "mark_data[1].on=1" \
    "mark_data[1].fm=$mark_file" "mark_data[1].w=70" "mark_data[1].h=42" "mark_data[1].x=0" \
    'phot_data.fm=phot\phot-03.jpg' "phot_data.on=1" "phot_data.w=80" "phot_data.h=100"; do
    e2e_expect_eq "${expected%%=*} in Vivivuz.dat" "${expected#*=}" "$(e2e_saved "${expected%%=*}")"
done

e2e_pass
