#!/usr/bin/env bash
# Arranging the shipped sample card with the mouse, as a user does, in one run:
#  - mark 0 dragged by (100, 50); "空で新規作成" then asks before throwing the change
#    away, and No keeps it;
#  - the same mark grabbed at its bottom-right corner and made larger;
#  - "Taro Yamada" right-clicked: an edit box over it shows the text; a new text typed
#    there is stored by the next left click on the card;
#  - an empty spot right-clicked: the new-item dialog, whose "部署２" button puts text
#    item 7 at that spot with its sample text, black on white, in the default font;
#  - the QR code dragged and dropped far outside the window: it stays on the card;
#  - "Bitmapで保存": the saved 24-bit file holds exactly the card the screen shows.
# Every change is then read back from the design saved at exit.
# Usage: bash canvas_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init canvas "$@"

# Client point = card point + (10, 50).
readonly CARD_W=455 CARD_H=275
readonly EDIT_BOX=951
readonly NEW_TEXT="営業部　佐藤花子 Hanako"
readonly ITEM7_BUTTON=4507 ITEM7_SAMPLE="部署名２△△××課"
readonly NO_BUTTON=7  # IDNO

# expect_saved KEY VALUE...: each KEY of the auto-saved design holds its VALUE.
expect_saved() {
    while [ $# -ge 2 ]; do
        e2e_expect_eq "$1 in Vivivuz.dat" "$2" "$(e2e_saved "$1")"
        shift 2
    done
}

# mouse ACTION X Y [OPTION...]: a mouse message at a client point of the main window.
mouse() {
    e2e_drive mouse "$main" "$@" || e2e_fail "the main window did not take mouse $*"
}

# press_and_move X0 Y0 X1 Y1: presses the left button at (X0, Y0) and moves to (X1, Y1)
# in four steps, the button held.
press_and_move() {
    local i
    mouse down "$1" "$2"
    for i in 1 2 3 4; do
        mouse move $(($1 + ($3 - $1) * i / 4)) $(($2 + ($4 - $2) * i / 4))
    done
}

# drag X0 Y0 X1 Y1: press_and_move, then the button released at (X1, Y1).
drag() {
    press_and_move "$@"
    mouse up "$3" "$4"
}

# click X Y: a left click on the card.
click() {
    mouse down "$1" "$2"
    mouse up "$1" "$2"
}

# edit_box_text: the text of the in-place edit box; fails while there is none.
edit_box_text() {
    local line
    line="$(e2e_drive texts "$main" | grep $'^'"$EDIT_BOX"$'\tEdit\t')" || return 1
    printf '%s\n' "${line#*$'\t'Edit$'\t'}"
}


# same_part A B X Y W H: the W x H part at (X, Y) of two card pictures is the same.
same_part() {
    e2e_same_picture "$1[$5x$6+$3+$4]" "$2[$5x$6+$3+$4]"
}


e2e_scratch
e2e_copy_data
# The points below are chosen on the shipped sample card.
for expected in "mark_data[0].on=1" "mark_data[0].x=18" "mark_data[0].y=16" \
    "mark_data[0].w=44" "mark_data[0].h=44" "str_data[5].on=1" "str_data[5].x=100" \
    "str_data[5].y=138" "str_data[5].s64=Taro Yamada" "str_data[7].on=0" \
    "qrcode_data[0].on=1" "qrcode_data[0].x=272" "qrcode_data[0].y=186" \
    "qrcode_data[0].w=58" "qrcode_data[0].h=58" "base_w=$CARD_W" "base_h=$CARD_H"; do
    [ "$(e2e_saved "${expected%%=*}")" = "${expected#*=}" ] ||
        e2e_fail "the shipped design no longer has $expected; choose the points anew"
done
# Text item 7 is off but holds leftovers that a new item must not keep.
e2e_setting "str_data[7].x" 5
e2e_setting "str_data[7].y" 5
e2e_setting "str_data[7].s64" "古い文字"
e2e_setting "str_data[7].bk" 1
e2e_setting "str_data[7].r" 200
e2e_setting "str_data[7].br" 0
e2e_setting "lf[7].lfHeight" -24
e2e_setting "lf[7].lfWeight" 700
e2e_setting "lf[7].lfEscapement" -900
e2e_setting "lf[7].lfOrientation" -900
e2e_setting "lf[7].lfFaceName" "ＭＳ ゴシック"

e2e_start
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"
e2e_card_shot "$main" sample

e2e_log "mark 0 dragged by (100, 50)"
# Mark 0 covers client (28, 66)-(72, 110); its resize zone starts past (58, 96).
press_and_move 40 80 140 130
# Before the release the mark is lifted from its place and follows the pointer.
e2e_card_shot "$main" dragging
same_part "$E2E_ARTEFACTS/sample.png" "$E2E_ARTEFACTS/dragging.png" 18 16 44 44 &&
    e2e_fail "while dragged, mark 0 still shows at its old place (see dragging.png)"
same_part "$E2E_ARTEFACTS/sample.png" "$E2E_ARTEFACTS/dragging.png" 118 66 44 44 &&
    e2e_fail "while dragged, mark 0 does not show where the pointer is (see dragging.png)"
mouse up 140 130
e2e_card_shot "$main" mark_moved
same_part "$E2E_ARTEFACTS/sample.png" "$E2E_ARTEFACTS/mark_moved.png" 118 66 44 44 &&
    e2e_fail "after the drop mark 0 does not show at its new place (see mark_moved.png)"

e2e_log "New after the drag asks first; No keeps the design"
e2e_drive command "$main" 37 || e2e_fail "cannot send New"
box="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$main" --title "新規作成！" \
    --timeout 10000)" ||
    e2e_fail "New did not ask before dropping the dragged design"
e2e_drive texts "$box" | grep -qF "保存せず新規にして良いですか？" ||
    e2e_fail "New asks something else: $(e2e_drive texts "$box")"
e2e_drive click "$box" "$NO_BUTTON" || e2e_fail "cannot answer No"
e2e_drive gone "$box" --timeout 10000 || e2e_fail "the question stays after No"
e2e_card_shot "$main" after_no
e2e_same_picture "$E2E_ARTEFACTS/mark_moved.png" "$E2E_ARTEFACTS/after_no.png" ||
    e2e_fail "No changed the card (see mark_moved.png, after_no.png)"

e2e_log "mark 0 resized from its bottom-right corner by (30, 20)"
# Now at card (118, 66), 44 x 44: client (128, 116)-(172, 160), resize zone past (158, 146).
drag 165 153 195 173

e2e_log "text item 5 edited in place"
# "Taro Yamada" starts at card (100, 138), client (110, 188); the mark now ends at
# client (202, 180), above it.
mouse rdown 115 194
e2e_until 10 edit_box_text >/dev/null ||
    e2e_fail "no edit box $EDIT_BOX after a right click on a text"
e2e_expect_eq "text in the edit box" "Taro Yamada" "$(edit_box_text)"
e2e_drive settext "$main" "$EDIT_BOX" "$NEW_TEXT" || e2e_fail "cannot type into the edit box"
# A click on an empty spot of the card (client (310, 70), card (300, 20)) stores it.
click 310 70
edit_box_text >/dev/null && e2e_fail "the edit box stays after a left click on the card"

e2e_log "new text item 7 at an empty spot"
mouse rdown 310 70
dialog="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$main" \
    --title "新規に登録する" --timeout 10000)" ||
    e2e_fail "no new-item dialog after a right click on an empty spot"
e2e_drive texts "$dialog" >"$E2E_ARTEFACTS/new_item_dialog.txt" ||
    e2e_fail "cannot read the new-item dialog"
e2e_screenshot new_item_dialog
e2e_drive click "$dialog" "$ITEM7_BUTTON" || e2e_fail "cannot press 部署２"
e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the new-item dialog stays after 部署２"

e2e_log "QR code dropped far outside the window"
# QR code 0 covers client (282, 236)-(340, 294).
mouse down 320 280
mouse move 330 290
mouse move -3000 5000
mouse up -3000 5000
e2e_running || e2e_fail "the program ended after a drop outside its window"

e2e_log "card saved as a bitmap"
# The QR code stays selected; its frame is on the screen only, so Escape clears it first.
e2e_drive key "$main" 27 || e2e_fail "cannot type Escape"
e2e_card_shot "$main" before_export
windows_folder="Z:$(printf '%s' "$E2E_START" | tr / '\\')"
e2e_drive command "$main" 32 || e2e_fail "cannot send Bitmapで保存"
dialog="$(e2e_drive wait --pid "$E2E_PID" --title "ファイルの保存" --timeout 15000)" ||
    e2e_fail "Bitmapで保存 shows no save dialog"
sleep 0.5  # the dialog fills its own fields right after it shows
e2e_drive settext "$dialog" 1148 "$windows_folder\\card" || e2e_fail "cannot type the file name"
e2e_drive click "$dialog" 1 || e2e_fail "cannot press the save dialog's OK button"
e2e_drive gone "$dialog" --timeout 15000 || e2e_fail "the save dialog stays"
bitmap="$E2E_START/card.bmp"
readonly BITMAP_BYTES=$((54 + CARD_H * (CARD_W * 3 + 3) / 4 * 4))
bitmap_written() { [ "$(stat -c %s "$bitmap" 2>/dev/null)" = "$BITMAP_BYTES" ]; }
e2e_until 15 bitmap_written ||
    e2e_fail "no card.bmp of $BITMAP_BYTES bytes (.bmp is added to the name typed):
$(ls -l "$E2E_START")"
cp "$bitmap" "$E2E_ARTEFACTS/card.bmp"
header="$(python3 - "$bitmap" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
magic, size, offset = struct.unpack_from("<2sI4xI", data, 0)
header, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
print(magic.decode("latin-1"), size, offset, header, width, height, planes, bits, compression)
PY
)" || e2e_fail "cannot read the header of card.bmp"
# Type, file size, pixel offset, header size, width, height, planes, bits, compression.
e2e_expect_eq "header of card.bmp" \
    "BM $BITMAP_BYTES 54 40 $CARD_W $CARD_H 1 24 0" "$header"
e2e_same_picture "$bitmap" "$E2E_ARTEFACTS/before_export.png" ||
    e2e_fail "card.bmp differs from the card on the screen (see card.bmp, before_export.png)"

e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
e2e_wait_exit 30
e2e_expect_eq "exit code" 0 "$E2E_EXIT_CODE"
cp "$E2E_START/Vivivuz.dat" "$E2E_ARTEFACTS/Vivivuz.dat"

# Moved by (100, 50), then 30 wider and 20 taller.
expect_saved "mark_data[0].on" 1 "mark_data[0].x" 118 "mark_data[0].y" 66 \
    "mark_data[0].w" 74 "mark_data[0].h" 64
expect_saved "str_data[5].on" 1 "str_data[5].x" 100 "str_data[5].y" 138 \
    "str_data[5].s64" "$NEW_TEXT"
expect_saved "str_data[7].on" 1 "str_data[7].x" 300 "str_data[7].y" 20 \
    "str_data[7].s64" "$ITEM7_SAMPLE" "str_data[7].bk" 0 \
    "str_data[7].r" 0 "str_data[7].g" 0 "str_data[7].b" 0 \
    "str_data[7].br" 255 "str_data[7].bg" 255 "str_data[7].bb" 255 \
    "lf[7].lfHeight" -13 "lf[7].lfWeight" 400 "lf[7].lfEscapement" 0 "lf[7].lfOrientation" 0 \
    "lf[7].lfFaceName" "ＭＳ 明朝"
# The drop point lies far outside; wherever it lands, the code stays whole on the card.
qr_x="$(e2e_saved "qrcode_data[0].x")" qr_y="$(e2e_saved "qrcode_data[0].y")"
expect_saved "qrcode_data[0].on" 1 "qrcode_data[0].w" 58 "qrcode_data[0].h" 58
[[ "$qr_x" =~ ^[0-9]+$ && "$qr_y" =~ ^[0-9]+$ ]] &&
    [ "$qr_x" -le $((CARD_W - 58)) ] && [ "$qr_y" -le $((CARD_H - 58)) ] ||
    e2e_fail "the QR code left the card: x=$qr_x y=$qr_y"
e2e_log "QR code dropped at card ($qr_x, $qr_y)"

e2e_pass
