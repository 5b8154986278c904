#!/usr/bin/env bash
# The auto-save file as other editors, transfers and accidents leave it, and a sheet grid
# no dialog would allow:
#  1. The shipped design with CR-only line ends, and saved as UTF-8 without a byte-order
#     mark: each opens with its texts (the card looks as the shipped design's does) and
#     the auto-save at exit writes the same file as after the shipped design.
#  2. A binary Vivivuz.dat: the start-up message names its backup, and after exit the
#     backup holds the original bytes beside a fresh auto-save file.
#  3. A 1000 x 1000 grid: the layout dialog shows the grid within its limits, the sheet
#     prints, and the main window answers throughout.
# Usage: bash reliability_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init reliability "$@"

SHIPPED="$E2E_REPO/data/Vivivuz.dat"

settle() {
    e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
        >"$E2E_ARTEFACTS/$1" || e2e_fail "start-up did not settle"
    MAIN="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
        e2e_fail "no visible Main Window"
}

exit_program() {
    e2e_drive command "$MAIN" 33 || e2e_fail "cannot send the exit command"
    e2e_wait_exit 30
    e2e_expect_eq "exit code" 0 "$E2E_EXIT_CODE"
}

same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

# card_shot NAME: the card area as ARTEFACTS/NAME.png, once two screenshots agree.
card_shot() {
    local left top i
    read -r left top _ < <(e2e_drive client "$MAIN") || e2e_fail "cannot read the client area"
    for i in $(seq 1 15); do
        sleep 1
        e2e_screenshot "$1-screen" >/dev/null
        convert "$E2E_ARTEFACTS/$1-screen.png" -crop "455x275+$((left + 10))+$((top + 50))" +repage \
            "$E2E_ARTEFACTS/$1.png" || e2e_fail "cannot crop the card"
        [ $i -gt 1 ] && same_picture "$E2E_ARTEFACTS/$1.png" "$E2E_ARTEFACTS/$1-previous.png" && break
        cp "$E2E_ARTEFACTS/$1.png" "$E2E_ARTEFACTS/$1-previous.png"
    done
    rm -f "$E2E_ARTEFACTS/$1-previous.png" "$E2E_ARTEFACTS/$1-screen.png"
}

# run_with NAME: starts on the Vivivuz.dat in place, shoots the card, exits.
run_with() {
    e2e_start
    settle "$1-boxes.txt"
    card_shot "$1"
    exit_program
}

e2e_scratch
e2e_copy_data

e2e_log "1. the shipped design, then CR-only and UTF-8 copies of it"
run_with shipped
cp "$E2E_START/Vivivuz.dat" "$E2E_ARTEFACTS/written-after-shipped.dat"
python3 - "$SHIPPED" "$E2E_START" <<'PY' || e2e_fail "cannot make the re-encoded designs"
import sys
text = open(sys.argv[1], "rb").read()[2:].decode("utf-16-le")
open(sys.argv[2] + "/cr-only.dat", "wb").write(b"\xff\xfe" + text.replace("\r\n", "\r").encode("utf-16-le"))
open(sys.argv[2] + "/utf-8.dat", "wb").write(text.encode("utf-8"))
PY
for variant in cr-only utf-8; do
    mv "$E2E_START/$variant.dat" "$E2E_START/Vivivuz.dat"
    run_with "$variant"
    cmp -s "$E2E_ARTEFACTS/shipped-boxes.txt" "$E2E_ARTEFACTS/$variant-boxes.txt" ||
        e2e_fail "the $variant design was refused: $(cat "$E2E_ARTEFACTS/$variant-boxes.txt")"
    same_picture "$E2E_ARTEFACTS/shipped.png" "$E2E_ARTEFACTS/$variant.png" ||
        e2e_fail "the $variant design does not show the shipped card (see $variant.png)"
    cmp -s "$E2E_ARTEFACTS/written-after-shipped.dat" "$E2E_START/Vivivuz.dat" ||
        e2e_fail "the auto-save after the $variant design differs from the one after the shipped design"
done

e2e_log "2. a binary Vivivuz.dat"
python3 -c 'import sys, random; r = random.Random(16); sys.stdout.buffer.write(b"\x89PNG\r\n\x1a\n" + bytes(r.randrange(256) for _ in range(3000)))' \
    >"$E2E_ARTEFACTS/binary.dat"
cp "$E2E_ARTEFACTS/binary.dat" "$E2E_START/Vivivuz.dat"
e2e_start
settle binary-boxes.txt
grep -q $'^CreateFile\t読み込めないファイルです。.*「Vivivuz.dat.unreadable-1」として同じフォルダに残しました。' \
    "$E2E_ARTEFACTS/binary-boxes.txt" || e2e_fail "no message naming the backup: $(cat "$E2E_ARTEFACTS/binary-boxes.txt")"
exit_program
cmp -s "$E2E_ARTEFACTS/binary.dat" "$E2E_START/Vivivuz.dat.unreadable-1" ||
    e2e_fail "the backup does not hold the original bytes"
[ "$(head -c 2 "$E2E_START/Vivivuz.dat" | xxd -p)" = fffe ] || e2e_fail "no fresh auto-save file"

e2e_log "3. a 1000 x 1000 grid"
e2e_drive printers | grep -q '^CardPDF' || e2e_fail "Wine does not know the printer CardPDF"
python3 - "$SHIPPED" "$E2E_START/Vivivuz.dat" <<'PY' || e2e_fail "cannot make the grid design"
import sys
text = open(sys.argv[1], "rb").read()[2:].decode("utf-16-le")
text = text.replace("base_cntx=2\r\n", "base_cntx=1000\r\n").replace("base_cnty=3\r\n", "base_cnty=1000\r\n")
assert "base_cntx=1000" in text and "base_cnty=1000" in text
open(sys.argv[2], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
pdf_folders() {
    local out
    out="$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)"
    out="${out:-\${HOME\}/PDF}"
    printf '%s\n' "${out//\$\{HOME\}/$HOME}"
    printf '%s\n' "$(sed -n 's/^AnonDirName[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null |
        tail -1 | grep . || echo /var/spool/cups-pdf/ANONYMOUS)"
}
new_document() {
    local folder
    for folder in $(pdf_folders); do
        [ -d "$folder" ] && find "$folder" -maxdepth 1 -name 'Vivivuz*.pdf' -newer "$1"
    done | head -1
}
e2e_start
settle grid-boxes.txt
marker="$E2E_ARTEFACTS/before-print"
touch "$marker"
sleep 1
e2e_drive command "$MAIN" 39 || e2e_fail "cannot send the print command"
setup="$(e2e_drive wait --pid "$E2E_PID" --class '#32770' --owner "$MAIN" --timeout 15000)" ||
    e2e_fail "no print-setup dialog"
e2e_drive select "$setup" 1136 CardPDF || e2e_fail "CardPDF is not offered"
e2e_drive click "$setup" 1 || e2e_fail "cannot press OK in the print-setup dialog"
e2e_drive gone "$setup" --timeout 10000 || e2e_fail "the print-setup dialog stays"
layout="$(e2e_drive wait --pid "$E2E_PID" --title "印刷の位置設定" --timeout 15000)" || e2e_fail "no layout dialog"
e2e_drive texts "$layout" >"$E2E_ARTEFACTS/layout.txt" || e2e_fail "the layout dialog does not answer"
e2e_expect_eq "cards across and down in the layout dialog" $'10\n10' \
    "$(sed -n 's/^30[45]\tComboBox\t//p' "$E2E_ARTEFACTS/layout.txt")"
e2e_screenshot layout
e2e_drive click "$layout" 207 || e2e_fail "cannot press 印刷"
e2e_drive gone "$layout" --timeout 10000 || e2e_fail "the layout dialog stays after 印刷"
start=$SECONDS
pdf=""
while [ -z "$pdf" ]; do
    [ $((SECONDS - start)) -lt 120 ] || e2e_fail "no document within 120 s"
    e2e_drive title "$MAIN" >/dev/null || e2e_fail "the main window stopped answering while printing"
    pdf="$(new_document "$marker")"
    sleep 1
done
e2e_until 30 pdfinfo "$pdf" >/dev/null 2>&1 || e2e_fail "the document is not complete: $pdf"
e2e_log "printed $pdf in $((SECONDS - start)) s"
e2e_expect_eq "pages" 1 "$(pdfinfo "$pdf" | sed -n 's/^Pages:[[:space:]]*//p')"
exit_program
e2e_expect_eq "grid saved at exit" $'base_cntx=10\nbase_cnty=10' \
    "$(iconv -f UTF-16 -t UTF-8 "$E2E_START/Vivivuz.dat" | tr -d '\r' | grep -E '^base_cnt[xy]=')"
e2e_pass
