#!/usr/bin/env bash
# Undo, redo and the keyboard on the shipped sample card, in one run:
#  - mark 0 dragged by (100, 50), then undone, redone and undone again: the design saved
#    at exit holds its first place;
#  - the name text selected with a click, moved with Right three times and Shift+Down
#    once: 3 to the right and 10 down in the saved design; the status line names it.
# Usage: bash editing_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init editing "$@"

readonly UNDO=51 REDO=52 EXIT=33
readonly VK_RIGHT=39 VK_DOWN=40

mouse() {
    e2e_drive mouse "$main" "$@" || e2e_fail "the main window did not take mouse $*"
}
drag() {
    local i
    mouse down "$1" "$2"
    for i in 1 2 3 4; do
        mouse move $(($1 + ($3 - $1) * i / 4)) $(($2 + ($4 - $2) * i / 4))
    done
    mouse up "$3" "$4"
}
# selection_is TEXT: the status line's fourth part reads TEXT.
selection_is() {
    [ "$(e2e_drive status "$main" | awk -F'\t' '$1 == 3 { print $2 }')" = "$1" ]
}

e2e_scratch
e2e_copy_data
for expected in "mark_data[0].x=18" "mark_data[0].y=16" "mark_data[0].w=44" \
    "str_data[2].on=1" "str_data[2].x=96" "str_data[2].y=96" "lf[2].lfEscapement=0"; do
    [ "$(e2e_saved "${expected%%=*}")" = "${expected#*=}" ] ||
        e2e_fail "the shipped design no longer has $expected; choose the points anew"
done

e2e_start
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"

e2e_log "mark 0 dragged by (100, 50), undone, redone and undone"
# Client point = card point + (10, 50): mark 0 covers client (28, 66)-(72, 110).
drag 40 80 140 130
e2e_until 10 selection_is "マーク1  X 118  Y 66" || e2e_fail "the drag did not move mark 0"
for id in $UNDO $REDO $UNDO; do
    e2e_drive command "$main" $id || e2e_fail "cannot send command $id"
done
e2e_until 10 selection_is "マーク1  X 18  Y 16" ||
    e2e_fail "undo, redo, undo does not give the first place: $(e2e_drive status "$main")"

e2e_log "the name text moved with the keys"
# The name "山田　太郎" starts at card (96, 96), 34 pixels high.
mouse down 116 161
mouse up 116 161
e2e_until 10 selection_is "名前  X 96  Y 96" ||
    e2e_fail "a click does not select the name: $(e2e_drive status "$main")"
for i in 1 2 3; do e2e_drive key "$main" $VK_RIGHT || e2e_fail "cannot type Right"; done
e2e_drive key "$main" $VK_DOWN --shift || e2e_fail "cannot type Shift+Down"
e2e_until 10 selection_is "名前  X 99  Y 106" ||
    e2e_fail "the keys did not move the name by (3, 10): $(e2e_drive status "$main")"
e2e_card_shot "$main" moved

e2e_drive command "$main" $EXIT || e2e_fail "cannot send Exit"
e2e_wait_exit 30
e2e_expect_eq "exit code" 0 "$E2E_EXIT_CODE"
cp "$E2E_START/Vivivuz.dat" "$E2E_ARTEFACTS/Vivivuz.dat"
for expected in "mark_data[0].x=18" "mark_data[0].y=16" "str_data[2].x=99" "str_data[2].y=106"; do
    e2e_expect_eq "${expected%%=*} in Vivivuz.dat" "${expected#*=}" "$(e2e_saved "${expected%%=*}")"
done
e2e_pass
