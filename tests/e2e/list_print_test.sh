#!/usr/bin/env bash
# Printing a list of people as an office does, on a real printer (a CUPS queue that
# writes PDF files):
#  1. Three people on one template, copies 1, 1 and 2: "リスト" → 全選択 → 印刷, the
#     print dialog, one layout dialog. One document of four pages that carry the three
#     names in order, the completion message, and afterwards the card and
#     Vivivuz.dat show the design from before the batch.
#  2. The same batch stopped in the stop dialog while the first card is shown: nothing
#     printed, no completion message, the design back.
#  3. A CSV file written as Shift_JIS by a spreadsheet opens in the list editor with its
#     Japanese names intact (the editor keeps them in listview.ini when it closes).
# Wine reads the printers from CUPS only when a program starts while no other program of
# the prefix runs: like the print test, this one works in a prefix of its own.
# Usage (as root, or with sudo for CUPS): bash list_print_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
export VIVIVUZ_WINEPREFIX="${VIVIVUZ_PRINT_WINEPREFIX:-$HOME/.local/share/vivivuz/print-prefix}"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init list_print "$@"
trap 'status=$?; wineserver -k 2>/dev/null; (exit $status); e2e_cleanup' EXIT

bash "$E2E_REPO/scripts/setup.sh" >"$E2E_ARTEFACTS/setup.log" 2>&1 ||
    e2e_fail "cannot prepare the Wine prefix $WINEPREFIX (see setup.log)"
# A prefix of the tests' own: its windows need no window manager (see unmanaged_windows).
unmanaged_windows
LANG=C ensure_printer 2>/dev/null

# Names of growing length: the PDF keeps no text of Japanese glyphs, so which name a page
# carries is read from the amount of its own ink (name_ink_check.py).
NAMES=("林　一" "石井　大翔" "長谷川　小百合")
TEMPLATE="01-ビジネス.tep"  # a shipped template

# write_list FILE COPIES...: the three people on the template, as the program writes a list.
write_list() {
    local file="$1" i line="" out=""
    shift
    for i in 0 1 2; do
        out+="$TEMPLATE,$1,,,${NAMES[$i]},,,,,,,,,,,,"$'\r\n'
        shift
    done
    printf '%s' "$out" | iconv -f UTF-8 -t UTF-16LE >"$file"
}

# open_editor: the list command; sets EDITOR.
open_editor() {
    e2e_drive command "$E2E_MAIN" 48 || e2e_fail "cannot send the list command"
    EDITOR="$(e2e_drive wait --pid "$E2E_PID" --title "リスト編集" --timeout 15000)" ||
        e2e_fail "the list editor did not open"
}

# start_batch: every row to printing, the print dialog's OK, the layout dialog's 印刷.
start_batch() {
    open_editor
    e2e_drive click "$EDITOR" 204 || e2e_fail "cannot press 全選択"
    e2e_drive click "$EDITOR" 201 || e2e_fail "cannot press 印刷"
    e2e_drive gone "$EDITOR" --timeout 10000 || e2e_fail "the list editor stays after 印刷"
    local print
    print="$(e2e_drive wait --pid "$E2E_PID" --class '#32770' --owner "$E2E_MAIN" --timeout 15000)" ||
        e2e_fail "no print dialog"
    sleep 0.5
    e2e_drive click "$print" 1 || e2e_fail "cannot press OK in the print dialog"
    e2e_drive gone "$print" --timeout 10000 || e2e_fail "the print dialog stays"
    LAYOUT="$(e2e_drive wait --pid "$E2E_PID" --title "印刷の位置設定" --timeout 15000)" ||
        e2e_fail "no layout dialog"
    e2e_drive click "$LAYOUT" 207 || e2e_fail "cannot press 印刷 in the layout dialog"
    e2e_drive gone "$LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays"
}

# ---------------------------------------------------------------- 1. the batch
e2e_scratch
e2e_copy_data
[ -f "$E2E_START/temp/$TEMPLATE" ] || e2e_fail "data/temp/$TEMPLATE is not shipped"
write_list "$E2E_START/listview.ini" 1 1 2
sample_name="$(e2e_saved 'str_data[2].s64')"
[ -n "$sample_name" ] || e2e_fail "the sample design has no name"

e2e_new_wine_session CardPDF
e2e_start
e2e_settle startup.txt
e2e_card_shot "$E2E_MAIN" before
marker="$E2E_ARTEFACTS/before-batch"
touch "$marker"
sleep 1

start_batch
box="$(e2e_drive wait --pid "$E2E_PID" --title "連続印刷" --timeout 60000)" || e2e_fail "no completion message"
e2e_expect_eq "completion message" "連続印刷完了しました。" \
    "$(e2e_drive texts "$box" | sed -n 's/^[0-9]*\tStatic\t\(.\+\)$/\1/p' | head -1)"
e2e_drive click "$box" OK || e2e_fail "cannot answer the completion message"
pdf="$(e2e_wait_for_document "$marker" 120)" || e2e_fail "no document came out of the printer"
e2e_log "printed $pdf"
cp "$pdf" "$E2E_ARTEFACTS/batch.pdf"
e2e_expect_eq "pages" 4 "$(pdfinfo "$pdf" | sed -n 's/^Pages:[[:space:]]*//p')"
# Each page holds a sheet of one person's cards: the last two pages are the same person,
# and the names grow in length from page to page as the list does.
rm -f "$E2E_ARTEFACTS"/page-*.pgm
pdftoppm -r 75 -gray "$pdf" "$E2E_ARTEFACTS/page" || e2e_fail "pdftoppm"
pages=($(ls "$E2E_ARTEFACTS"/page-*.pgm))
e2e_same_picture "${pages[2]}" "${pages[3]}" || e2e_fail "the two copies of the third person differ"
ink=($(python3 "$E2E_LIB_DIR/name_ink_check.py" "${pages[0]}" "${pages[1]}" "${pages[2]}")) ||
    e2e_fail "cannot measure the names"
e2e_log "ink of the names: ${ink[*]}"
[ "${ink[0]}" -gt 0 ] && [ "${ink[0]}" -lt "${ink[1]}" ] && [ "${ink[1]}" -lt "${ink[2]}" ] ||
    e2e_fail "the pages do not carry the names in the list's order (ink ${ink[*]})"
e2e_card_shot "$E2E_MAIN" after
e2e_same_picture "$E2E_ARTEFACTS/before.png" "$E2E_ARTEFACTS/after.png" ||
    e2e_fail "the card after the batch is not the one from before"
e2e_exit_program
e2e_expect_eq "name kept in Vivivuz.dat" "$sample_name" "$(e2e_saved 'str_data[2].s64')"
e2e_expect_eq "documents printed" 1 "$(e2e_new_documents "$marker" | wc -l)"

# ---------------------------------------------------------------- 2. stopped
write_list "$E2E_START/listview.ini" 1 1 1
e2e_new_wine_session CardPDF
e2e_start
e2e_settle startup_stop.txt
marker="$E2E_ARTEFACTS/before-stop"
touch "$marker"
sleep 1
start_batch
stop="$(e2e_drive wait --pid "$E2E_PID" --title "印刷中" --timeout 15000)" || e2e_fail "no stop dialog"
e2e_drive click "$stop" 2 || e2e_fail "cannot press キャンセル in the stop dialog"
e2e_drive gone "$stop" --timeout 10000 || e2e_fail "the stop dialog stays"
! e2e_drive wait --pid "$E2E_PID" --title "連続印刷" --timeout 8000 >/dev/null 2>&1 ||
    e2e_fail "a stopped batch said it was complete"
e2e_card_shot "$E2E_MAIN" stopped
e2e_same_picture "$E2E_ARTEFACTS/before.png" "$E2E_ARTEFACTS/stopped.png" ||
    e2e_fail "the card after a stopped batch is not the one from before"
# Wine still hands an aborted job to the printer, as blank pages: nothing of the batch
# may be on them.
sleep 5
for doc in $(e2e_new_documents "$marker"); do
    rm -f "$E2E_ARTEFACTS"/stopped-page-*.pgm
    pdftoppm -r 30 -gray "$doc" "$E2E_ARTEFACTS/stopped-page" || e2e_fail "pdftoppm"
    for page in "$E2E_ARTEFACTS"/stopped-page-*.pgm; do
        [ -e "$page" ] || continue
        e2e_expect_eq "darkest pixel of a page of the stopped batch" 255 "$(convert "$page" -format '%[fx:int(255*minima)]' info:)"
    done
done

# ---------------------------------------------------------------- 3. a Shift_JIS CSV
printf '%s\r\n' "$TEMPLATE,1,,,${NAMES[2]},,,,,,,,,,,," "$TEMPLATE,2,,,${NAMES[0]},,,,,,,,,,,," |
    iconv -f UTF-8 -t CP932 >"$E2E_START/表計算.csv"
open_editor
e2e_drive click "$EDITOR" 206 || e2e_fail "cannot press 開く"
dialog="$(e2e_drive wait --pid "$E2E_PID" --title "ファイル読込" --timeout 15000)" || e2e_fail "no open dialog"
sleep 0.5
e2e_drive settext "$dialog" 1148 "$(winepath -w "$E2E_START/表計算.csv" 2>/dev/null)" || e2e_fail "cannot type the file name"
e2e_drive click "$dialog" 1 || e2e_fail "cannot press the open dialog's OK"
e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the open dialog stays"
sleep 1
e2e_drive click "$EDITOR" 208 || e2e_fail "cannot press 閉じる"
e2e_drive gone "$EDITOR" --timeout 10000 || e2e_fail "the list editor stays"
# The editor writes its list once its window is gone.
kept_names() { iconv -f UTF-16LE -t UTF-8 "$E2E_START/listview.ini" | tr -d '\r' | cut -d, -f5; }
sjis_kept() { [ "$(kept_names)" = "${NAMES[2]}"$'\n'"${NAMES[0]}" ]; }
e2e_until 10 sjis_kept || e2e_expect_eq "names read from Shift_JIS" "${NAMES[2]}
${NAMES[0]}" "$(kept_names)"
e2e_exit_program

e2e_pass
