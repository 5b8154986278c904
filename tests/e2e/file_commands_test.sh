#!/usr/bin/env bash
# The design's files as a user meets them: the first start without a saved design, the
# auto-save at exit and its reading at the next start; then a design saved with
# "名前を付けて保存", replaced by a new design, and opened again shows the same card.
# Usage: bash file_commands_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init file_commands "$@"

# Lines of a UTF-16 file, and whether it starts with FF FE.
line_count() { iconv -f UTF-16 -t UTF-8 "$1" | grep -c ''; }
starts_with_bom() { [ "$(head -c 2 "$1" | xxd -p)" = fffe ]; }

# card_shot NAME MAIN: the card area (client (10, 50), 455 x 275) as ARTEFACTS/NAME.png,
# once two screenshots a second apart agree (Wine takes a moment to tear down a file
# dialog, and the window repaints after that).
card_shot() {
    local left top i
    read -r left top _ < <(e2e_drive client "$2") || e2e_fail "cannot read the client area"
    sleep 2
    for i in $(seq 1 15); do
        sleep 1
        e2e_screenshot "$1-screen" >/dev/null
        convert "$E2E_ARTEFACTS/$1-screen.png" -crop "455x275+$((left + 10))+$((top + 50))" +repage \
            "$E2E_ARTEFACTS/$1.png" || e2e_fail "cannot crop the card"
        [ $i -gt 1 ] && e2e_same_picture "$E2E_ARTEFACTS/$1.png" "$E2E_ARTEFACTS/$1-previous.png" && break
        cp "$E2E_ARTEFACTS/$1.png" "$E2E_ARTEFACTS/$1-previous.png"
    done
    rm -f "$E2E_ARTEFACTS/$1-previous.png"
}


# choose_file MAIN COMMAND TITLE PATH: runs a file command and types PATH into its dialog.
choose_file() {
    local dialog
    e2e_drive command "$1" "$2" || e2e_fail "cannot send command $2"
    dialog="$(e2e_drive wait --pid "$E2E_PID" --title "$3" --timeout 15000)" ||
        e2e_fail "the dialog \"$3\" did not open"
    sleep 0.5  # the dialog fills its own fields right after it shows
    e2e_drive settext "$dialog" 1148 "$4" || e2e_fail "cannot type the file name"
    e2e_drive click "$dialog" 1 || e2e_fail "cannot press the dialog's OK button"
    e2e_drive gone "$dialog" --timeout 15000 || e2e_fail "the dialog \"$3\" did not close"
}

e2e_scratch
e2e_copy_data
rm -f "$E2E_START/Vivivuz.dat"

e2e_log "first start: no saved design"
e2e_start
e2e_settle first_start_boxes.txt; main="$E2E_MAIN"
grep -q $'^CreateFile\t文字列をワイド文字ではありません\t' "$E2E_ARTEFACTS/first_start_boxes.txt" ||
    e2e_fail "the empty auto-save file was not reported"
e2e_exit_program "$main"
starts_with_bom "$E2E_START/Vivivuz.dat" || e2e_fail "Vivivuz.dat does not start with FF FE"
e2e_expect_eq "lines of Vivivuz.dat" 537 "$(line_count "$E2E_START/Vivivuz.dat")"

e2e_log "second start: the auto-saved design is read"
e2e_start
e2e_settle second_start_boxes.txt; main="$E2E_MAIN"
if grep -q '文字列をワイド文字ではありません' "$E2E_ARTEFACTS/second_start_boxes.txt"; then
    e2e_fail "the auto-saved design was refused"
fi
e2e_exit_program "$main"

e2e_log "save as, new, open"
cp "$E2E_REPO/data/Vivivuz.dat" "$E2E_START/Vivivuz.dat"
e2e_start
e2e_settle sample_boxes.txt; main="$E2E_MAIN"
card_shot before "$main"
windows_folder="Z:$(printf '%s' "$E2E_START" | tr / '\\')"
choose_file "$main" 41 "ファイルの保存" "$windows_folder\\saved"
e2e_until 15 test -s "$E2E_START/saved.ini" || e2e_fail "save as did not write saved.ini (the .ini extension is forced)"
starts_with_bom "$E2E_START/saved.ini" || e2e_fail "saved.ini does not start with FF FE"
# The card's 520 lines, then the sample's back: back_on, duplex, duplex_device and the
# back's 512 card lines.
e2e_expect_eq "lines of saved.ini" 1035 "$(line_count "$E2E_START/saved.ini")"

e2e_drive command "$main" 37 || e2e_fail "cannot send New"
card_shot new "$main"
e2e_same_picture "$E2E_ARTEFACTS/before.png" "$E2E_ARTEFACTS/new.png" && e2e_fail "New left the card as it was"

choose_file "$main" 38 "ファイルの読込" "$windows_folder\\saved.ini"
card_shot reopened "$main"
e2e_same_picture "$E2E_ARTEFACTS/before.png" "$E2E_ARTEFACTS/reopened.png" ||
    e2e_fail "the reopened design does not show the same card (see before.png, reopened.png)"
e2e_exit_program "$main"
e2e_pass
