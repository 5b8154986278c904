#!/usr/bin/env bash
# Printing as a user meets it, on a real printer: a CUPS queue that writes PDF files.
#  1. The shipped sample card: a second printer is chosen in the print-setup dialog and
#     the layout dialog is cancelled: nothing is printed, yet the status line names the
#     chosen printer. Then the default printer, 3 copies, "印刷": one document of three
#     identical pages whose cards lie where the layout puts them (within 0.5 mm), with
#     cut marks, and whose QR codes all decode to their text.
#  2. The base and face pictures deleted: the page is printed without them after the
#     "PaintBMP Load" messages; no base picture, no cut marks.
#  3. No printer at all (CUPS stopped): the program says so at start-up, the print
#     command does nothing, and the program goes on and ends normally. CUPS is started
#     again afterwards.
# Wine reads the printers from CUPS only when a program starts while no other program of
# the prefix runs, so this test ends every program of its prefix between the runs: it
# works in a Wine prefix of its own (VIVIVUZ_PRINT_WINEPREFIX), where that disturbs
# nobody.
# Usage (as root, or with sudo for CUPS): bash print_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
export VIVIVUZ_WINEPREFIX="${VIVIVUZ_PRINT_WINEPREFIX:-$HOME/.local/share/vivivuz/print-prefix}"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init print "$@"

CHECK_PAGE="$E2E_LIB_DIR/print_page_check.py"
SECOND_PRINTER=CardPDF_Proof
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
ADDED_PRINTER=""
CUPS_STOPPED=""

# Puts CUPS back as it was found: running, with the test's own queue removed.
print_cleanup() {
    [ -n "$CUPS_STOPPED" ] && LANG=C ensure_printer >/dev/null 2>&1
    [ -n "$ADDED_PRINTER" ] && as_root lpadmin -x "$ADDED_PRINTER" 2>/dev/null
    wineserver -k 2>/dev/null
    return 0
}
trap 'status=$?; print_cleanup; (exit $status); e2e_cleanup' EXIT

# The prefix is prepared as the shared one is (Japanese faces mapped to the IPA fonts).
bash "$E2E_REPO/scripts/setup.sh" >"$E2E_ARTEFACTS/setup.log" 2>&1 ||
    e2e_fail "cannot prepare the Wine prefix $WINEPREFIX (see setup.log)"
# A prefix of the tests' own: its windows need no window manager (see unmanaged_windows).
unmanaged_windows
LANG=C ensure_printer 2>/dev/null
if ! lpstat -p "$SECOND_PRINTER" >/dev/null 2>&1; then
    as_root lpadmin -p "$SECOND_PRINTER" -E -v cups-pdf:/ -P "$PPD" 2>/dev/null ||
        e2e_fail "cannot add the queue $SECOND_PRINTER"
    ADDED_PRINTER="$SECOND_PRINTER"
fi

status_part() {
    e2e_drive status "$E2E_MAIN" --ctrl 1 | sed -n "s/^$1\t//p"
}

# open_layout PRINTER: the print command, PRINTER chosen in the print-setup dialog, OK;
# sets LAYOUT to the layout dialog.
open_layout() {
    local setup
    e2e_drive command "$E2E_MAIN" 39 || e2e_fail "cannot send the print command"
    setup="$(e2e_drive wait --pid "$E2E_PID" --class '#32770' --owner "$E2E_MAIN" --timeout 15000)" ||
        e2e_fail "no print-setup dialog"
    e2e_drive items "$setup" 1136 >"$E2E_ARTEFACTS/printers.txt" || e2e_fail "no printer list"
    e2e_drive select "$setup" 1136 "$1" || e2e_fail "printer $1 is not offered: $(cat "$E2E_ARTEFACTS/printers.txt")"
    e2e_drive click "$setup" 1 || e2e_fail "cannot press OK in the print-setup dialog"
    e2e_drive gone "$setup" --timeout 10000 || e2e_fail "the print-setup dialog stays"
    LAYOUT="$(e2e_drive wait --pid "$E2E_PID" --title "印刷の位置設定" --timeout 15000)" ||
        e2e_fail "no layout dialog"
    e2e_expect_eq "printer in the layout dialog" "プリンタ名：$1" \
        "$(e2e_drive texts "$LAYOUT" | sed -n 's/^391\tStatic\t//p')"
}

# check_pages PDF PAGES CUT NAME: page count and title; every page the same; the first
# page's cards measured (CUT as print_page_check.py takes it) and its QR codes decoded.
# What is looked at is kept in ARTEFACTS/NAME.
check_pages() {
    local pdf="$1" pages="$2" cut="$3" out="$E2E_ARTEFACTS/$4" p
    mkdir -p "$out"
    local stem="$out/page"
    cp "$pdf" "$out/"
    pdfinfo "$pdf" >"$out/pdfinfo.txt"
    e2e_expect_eq "pages" "$pages" "$(sed -n 's/^Pages:[[:space:]]*//p' "$out/pdfinfo.txt")"
    e2e_expect_eq "document title" "Vivivuz" "$(sed -n 's/^Title:[[:space:]]*//p' "$out/pdfinfo.txt")"
    rm -f "$stem"-*.pgm
    pdftoppm -r 300 -gray "$pdf" "$stem" || e2e_fail "pdftoppm"
    local first
    first="$(ls "$stem"-*.pgm | head -1)"
    for p in $(ls "$stem"-*.pgm | tail -n +2); do
        [ "$(compare -metric AE "$first" "$p" null: 2>&1)" = 0 ] || e2e_fail "$p differs from the first page"
    done
    convert "$first" -resize 25% "$stem-small.png"

    local d=(base_px base_py base_pw base_ph base_spx base_spy base_cntx base_cnty) args=() key
    for key in "${d[@]}"; do args+=("$(e2e_saved "$key")"); done
    python3 "$CHECK_PAGE" "$first" 300 "${args[@]}" "$cut" "$(e2e_saved p_outline_len)" \
        "$(e2e_saved p_outline_size)" >"$out/cards.txt"
    local result=$?
    cat "$out/cards.txt"
    [ $result = 0 ] || e2e_fail "the cards are not where the layout puts them"

    # Every QR code of every card decodes to its text.
    local expected="" i cards=$(($(e2e_saved base_cntx) * $(e2e_saved base_cnty)))
    for i in 0 1 2 3; do
        [ "$(e2e_saved "qrcode_data[$i].on")" = 1 ] || continue
        for ((c = 0; c < cards; c++)); do expected+="$(e2e_saved "qrcode_data[$i].s")"$'\n'; done
    done
    [ -n "$expected" ] || e2e_fail "the design has no QR code to check"
    zbarimg --raw -q "$first" 2>/dev/null | sort >"$out/qr.txt"
    e2e_expect_eq "decoded QR codes" "$(printf '%s' "$expected" | sort)" "$(cat "$out/qr.txt")"
}

# ---------------------------------------------------------------- 1. the sample card
e2e_scratch
e2e_copy_data
[ -f "$E2E_START/Vivivuz.dat" ] || e2e_fail "data/Vivivuz.dat, the sample design, is missing"
[ "$(e2e_saved p_outline)" = 1 ] || e2e_fail "the sample design should print cut marks"
e2e_new_wine_session CardPDF "$SECOND_PRINTER"
e2e_start
e2e_settle startup_boxes.txt
e2e_expect_eq "printer at start-up" "ﾌﾟﾘﾝﾀ：CardPDF" "$(status_part 0)"

marker="$E2E_ARTEFACTS/before-print"
touch "$marker"
sleep 1  # file times have a resolution of a second or so on some file systems

open_layout "$SECOND_PRINTER"
e2e_drive click "$LAYOUT" 208 || e2e_fail "cannot press キャンセル"
e2e_drive gone "$LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays after キャンセル"
e2e_expect_eq "printer after a cancelled layout" "ﾌﾟﾘﾝﾀ：$SECOND_PRINTER" "$(status_part 0)"
paper="$(status_part 1)"
[ "$paper" != "用紙：0.0×0.0" ] || e2e_fail "the paper was not measured: $paper"
[ ! -e "$E2E_START/mask0.tmp" ] || e2e_fail "a cancelled layout wrote a mark capture"

open_layout CardPDF
e2e_drive click "$LAYOUT" 203 && e2e_drive click "$LAYOUT" 203 || e2e_fail "cannot press +"
copies_shown() { [ "$(e2e_drive texts "$LAYOUT" | sed -n 's/^363\tEdit\t//p')" = 3 ]; }
e2e_until 5 copies_shown || e2e_fail "the copy count does not show 3"
e2e_drive click "$LAYOUT" 207 || e2e_fail "cannot press 印刷"
e2e_drive gone "$LAYOUT" --timeout 10000 || e2e_fail "the layout dialog stays after 印刷"
pdf="$(e2e_wait_for_document "$marker" 120)" || e2e_fail "no document came out of the printer"
e2e_log "printed $pdf"
e2e_expect_eq "printer after printing" "ﾌﾟﾘﾝﾀ：CardPDF" "$(status_part 0)"
[ ! -e "$E2E_START/mask0.tmp" ] || e2e_fail "the mark capture was left behind after the job"
e2e_screenshot after_print
e2e_exit_program
e2e_expect_eq "documents printed" 1 "$(e2e_new_documents "$marker" | wc -l)"
check_pages "$pdf" 3 marks sample

# ---------------------------------------------------------------- 2. missing pictures
rm -f "$E2E_START/$(e2e_saved base_filepass | tr '\\' /)" "$E2E_START/$(e2e_saved 'phot_data.fm' | tr '\\' /)"
e2e_new_wine_session CardPDF "$SECOND_PRINTER"
e2e_start
e2e_settle startup_missing.txt
marker="$E2E_ARTEFACTS/before-missing"
touch "$marker"
sleep 1
open_layout CardPDF
e2e_drive click "$LAYOUT" 207 || e2e_fail "cannot press 印刷"
for expected in "ベース画像が読み込み出来ません。" "顔の画像が読み込み出来ません。"; do
    box="$(e2e_drive wait --pid "$E2E_PID" --title "PaintBMP Load" --timeout 30000)" ||
        e2e_fail "no \"PaintBMP Load\" message for: $expected"
    e2e_expect_eq "PaintBMP Load message" "$expected" \
        "$(e2e_drive texts "$box" | sed -n 's/^[0-9]*\tStatic\t\(.\+\)$/\1/p' | head -1)"
    e2e_drive click "$box" OK || e2e_fail "cannot answer the message"
    e2e_drive gone "$box" --timeout 10000 || e2e_fail "the message stays"
done
pdf="$(e2e_wait_for_document "$marker" 120)" || e2e_fail "nothing printed without the pictures"
e2e_log "printed $pdf"
e2e_exit_program
check_pages "$pdf" 1 nomarks missing

# ---------------------------------------------------------------- 3. no printer at all
cupsd_pid="$(pgrep -x cupsd | head -1)"
[ -n "$cupsd_pid" ] || e2e_fail "cupsd is not running"
CUPS_STOPPED=1
as_root kill "$cupsd_pid"
cupsd_gone() { ! kill -0 "$cupsd_pid" 2>/dev/null; }
e2e_until 10 cupsd_gone || e2e_fail "cupsd does not stop"
e2e_new_wine_session
e2e_start
e2e_settle startup_no_printer.txt
grep -q $'^Error\tデフォルトのプリンタ名の取得に失敗しました\t' "$E2E_ARTEFACTS/startup_no_printer.txt" ||
    e2e_fail "no message about the missing default printer"
e2e_expect_eq "printer without CUPS" "ﾌﾟﾘﾝﾀ：" "$(status_part 0)"
e2e_drive command "$E2E_MAIN" 39 || e2e_fail "cannot send the print command"
# The system's print dialog says there is no printer; the program then does nothing.
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 30000 >"$E2E_ARTEFACTS/no_printer_boxes.txt" ||
    e2e_fail "the print command without a printer did not settle"
cat "$E2E_ARTEFACTS/no_printer_boxes.txt"
! e2e_drive wait --pid "$E2E_PID" --title "印刷の位置設定" --timeout 1000 >/dev/null 2>&1 ||
    e2e_fail "the layout dialog opened without a printer"
e2e_expect_eq "printer after the print command" "ﾌﾟﾘﾝﾀ：" "$(status_part 0)"
e2e_exit_program
LANG=C ensure_printer 2>/dev/null
CUPS_STOPPED=""

e2e_pass
