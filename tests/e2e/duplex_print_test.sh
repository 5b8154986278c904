#!/usr/bin/env bash
# Two-sided cards on a real printer without a duplex unit (a CUPS queue that writes PDF
# files), the sheet turned by hand:
#  1. A two-sided design (made here: every item off, a grey base on the front and a lighter
#     one on the back) printed 長辺とじ: the layout dialog offers the binding and greys the
#     printer's duplex unit; the fronts come out as a document of their own before the
#     question "両面印刷！", then OK prints the backs as a second one. Each back's card box
#     lies behind its front's (the front page mirrored on its width), and the backs carry no
#     cut marks.
#  2. Continuous printing of two people on a template with that back: front, back, front,
#     back, each side a document of its own, a question before each back.
# The printer's PDFs are told apart from other jobs by their greys. Like the print test,
# this one works in a Wine prefix of its own.
# Usage (as root, or with sudo for CUPS): bash duplex_print_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
export VIVIVUZ_WINEPREFIX="${VIVIVUZ_PRINT_WINEPREFIX:-$HOME/.local/share/vivivuz/print-prefix}"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init duplex_print "$@"
trap 'status=$?; wineserver -k 2>/dev/null; (exit $status); e2e_cleanup' EXIT

CHECK="$E2E_LIB_DIR/duplex_check.py"
TURN_TEXT="表面の印刷が終わりました。用紙を裏返してセットし、OKを押してください。"

bash "$E2E_REPO/scripts/setup.sh" >"$E2E_ARTEFACTS/setup.log" 2>&1 ||
    e2e_fail "cannot prepare the Wine prefix $WINEPREFIX (see setup.log)"
# A prefix of the tests' own: its windows need no window manager (see unmanaged_windows).
unmanaged_windows
LANG=C ensure_printer 2>/dev/null

# page_sides PDF NAME: renders the document's pages (ARTEFACTS/NAME-*.pgm) and prints their
# sides, one a line.
page_sides() {
    rm -f "$E2E_ARTEFACTS/$2"-*.pgm
    pdftoppm -r 50 -gray "$1" "$E2E_ARTEFACTS/$2" || e2e_fail "pdftoppm $1"
    python3 "$CHECK" sides "$E2E_ARTEFACTS/$2"-*.pgm
}

# our_documents MARKER: the documents after the marker that hold our cards, oldest job first.
our_documents() {
    local doc
    for doc in $(e2e_new_documents "$1" | sort -t_ -k3 -n); do
        pdfinfo "$doc" >/dev/null 2>&1 || continue
        [ -n "$(page_sides "$doc" probe | grep -v other)" ] && echo "$doc"
    done
}

# wait_documents MARKER COUNT SECONDS: waits until COUNT of our documents are complete.
wait_documents() {
    local end=$((SECONDS + $3)) found
    while [ $SECONDS -lt $end ]; do
        found="$(our_documents "$1")"
        [ "$(grep -c . <<<"$found")" -ge "$2" ] && { sleep 2; our_documents "$1"; return 0; }
        sleep 1
    done
    return 1
}

# answer_turn: the question between fronts and backs, answered OK.
answer_turn() {
    local box
    box="$(e2e_drive wait --pid "$E2E_PID" --title "両面印刷！" --timeout 60000)" || e2e_fail "no question to turn the paper"
    e2e_expect_eq "question" "$TURN_TEXT" \
        "$(e2e_drive texts "$box" | sed -n 's/^[0-9]*\tStatic\t\(.\+\)$/\1/p' | head -1)"
    [ -n "${1:-}" ] && { wait_documents "$marker" "$1" 60 >/dev/null || e2e_fail "the fronts did not come out before the question"; }
    e2e_drive click "$box" OK || e2e_fail "cannot answer the question"
    e2e_drive gone "$box" --timeout 10000 || e2e_fail "the question stays"
}

# ---------------------------------------------------------------- 1. print command
e2e_scratch
e2e_copy_data
python3 "$CHECK" picture "$E2E_START/front.bmp" 64 && python3 "$CHECK" picture "$E2E_START/back.bmp" 144 ||
    e2e_fail "cannot write the pictures"
python3 "$CHECK" design "$E2E_START/Vivivuz.dat" 'front.bmp' 'back.bmp' "$E2E_START/two.dat" &&
    mv "$E2E_START/two.dat" "$E2E_START/Vivivuz.dat" || e2e_fail "cannot make the two-sided design"
e2e_new_wine_session CardPDF
e2e_start
e2e_settle startup.txt
marker="$E2E_ARTEFACTS/before-print"
touch "$marker"
sleep 1

e2e_open_layout CardPDF
duplex_state="$(e2e_drive texts "$E2E_LAYOUT" | grep -P '^37[78]\t')"
e2e_log "duplex controls: $(tr '\t\n' ' |' <<<"$duplex_state")"
e2e_expect_eq "binding shown" "長辺とじ" "$(sed -n 's/^377\tComboBox\t//p' <<<"$duplex_state" | cut -f1)"
e2e_drive click "$E2E_LAYOUT" 207 || e2e_fail "cannot press 印刷"
e2e_drive gone "$E2E_LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays after 印刷"
answer_turn 1
docs="$(wait_documents "$marker" 2 90)" || e2e_fail "the backs did not come out: $(our_documents "$marker")"
e2e_log "printed: $(tr '\n' ' ' <<<"$docs")"
front_pdf="$(sed -n 1p <<<"$docs")" back_pdf="$(sed -n 2p <<<"$docs")"
cp "$front_pdf" "$E2E_ARTEFACTS/fronts.pdf"
cp "$back_pdf" "$E2E_ARTEFACTS/backs.pdf"
e2e_expect_eq "documents" 2 "$(grep -c . <<<"$docs")"
e2e_expect_eq "front document" "front" "$(page_sides "$front_pdf" fronts)"
e2e_expect_eq "back document" "back" "$(page_sides "$back_pdf" backs)"
python3 "$CHECK" behind "$E2E_ARTEFACTS/fronts-1.pgm" "$E2E_ARTEFACTS/backs-1.pgm" ||
    e2e_fail "the backs do not lie behind their fronts"
e2e_exit_program

# ---------------------------------------------------------------- 2. continuous printing
cp "$E2E_START/Vivivuz.dat" "$E2E_START/temp/両面.tep"
printf '%s' "両面.tep,1,,,林　一,,,,,,,,,,,,"$'\r\n'"両面.tep,1,,,石井　大翔,,,,,,,,,,,,"$'\r\n' |
    iconv -f UTF-8 -t UTF-16LE >"$E2E_START/listview.ini"
e2e_new_wine_session CardPDF
e2e_start
e2e_settle startup_list.txt
marker="$E2E_ARTEFACTS/before-batch"
touch "$marker"
sleep 1
e2e_drive command "$E2E_MAIN" 48 || e2e_fail "cannot send the list command"
editor="$(e2e_drive wait --pid "$E2E_PID" --title "リスト編集" --timeout 15000)" || e2e_fail "the list editor did not open"
e2e_drive click "$editor" 204 || e2e_fail "cannot press 全選択"
e2e_drive click "$editor" 201 || e2e_fail "cannot press 印刷"
e2e_drive gone "$editor" --timeout 10000 || e2e_fail "the list editor stays after 印刷"
print="$(e2e_drive wait --pid "$E2E_PID" --class '#32770' --owner "$E2E_MAIN" --timeout 15000)" || e2e_fail "no print dialog"
sleep 0.5
e2e_drive click "$print" 1 || e2e_fail "cannot press OK in the print dialog"
e2e_drive gone "$print" --timeout 10000 || e2e_fail "the print dialog stays"
layout="$(e2e_drive wait --pid "$E2E_PID" --title "印刷の位置設定" --timeout 15000)" || e2e_fail "no layout dialog"
e2e_drive click "$layout" 207 || e2e_fail "cannot press 印刷 in the layout dialog"
e2e_drive gone "$layout" --timeout 10000 || e2e_fail "the layout dialog stays"
answer_turn 1
answer_turn 3
box="$(e2e_drive wait --pid "$E2E_PID" --title "連続印刷" --timeout 60000)" || e2e_fail "no completion message"
e2e_drive click "$box" OK || e2e_fail "cannot answer the completion message"
docs="$(wait_documents "$marker" 4 90)" || e2e_fail "the batch did not come out: $(our_documents "$marker")"
cp $docs "$E2E_ARTEFACTS/" 2>/dev/null
order=""
i=0
for doc in $docs; do
    i=$((i + 1))
    order+="$(page_sides "$doc" batch-$i | tr '\n' ' ')"
done
e2e_expect_eq "sides of the batch" "front back front back" "${order% }"
e2e_exit_program

e2e_pass
