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

# run_with NAME: starts on the Vivivuz.dat in place, shoots the card, exits.
run_with() {
    e2e_start
    e2e_settle "$1-boxes.txt"
    e2e_card_shot "$E2E_MAIN" "$1"
    e2e_exit_program
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
    e2e_same_picture "$E2E_ARTEFACTS/shipped.png" "$E2E_ARTEFACTS/$variant.png" ||
        e2e_fail "the $variant design does not show the shipped card (see $variant.png)"
    cmp -s "$E2E_ARTEFACTS/written-after-shipped.dat" "$E2E_START/Vivivuz.dat" ||
        e2e_fail "the auto-save after the $variant design differs from the one after the shipped design"
done

e2e_log "2. a binary Vivivuz.dat"
python3 -c 'import sys, random; r = random.Random(16); sys.stdout.buffer.write(b"\x89PNG\r\n\x1a\n" + bytes(r.randrange(256) for _ in range(3000)))' \
    >"$E2E_ARTEFACTS/binary.dat"
cp "$E2E_ARTEFACTS/binary.dat" "$E2E_START/Vivivuz.dat"
e2e_start
e2e_settle binary-boxes.txt
grep -q $'^CreateFile\t読み込めないファイルです。.*「Vivivuz.dat.unreadable-1」として同じフォルダに残しました。' \
    "$E2E_ARTEFACTS/binary-boxes.txt" || e2e_fail "no message naming the backup: $(cat "$E2E_ARTEFACTS/binary-boxes.txt")"
e2e_exit_program
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
e2e_start
e2e_settle grid-boxes.txt
marker="$E2E_ARTEFACTS/before-print"
touch "$marker"
sleep 1
e2e_open_layout CardPDF
layout="$E2E_LAYOUT"
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
    e2e_drive title "$E2E_MAIN" >/dev/null || e2e_fail "the main window stopped answering while printing"
    pdf="$(e2e_new_documents "$marker" | head -1)"
    sleep 1
done
e2e_until 30 pdfinfo "$pdf" >/dev/null 2>&1 || e2e_fail "the document is not complete: $pdf"
e2e_log "printed $pdf in $((SECONDS - start)) s"
e2e_expect_eq "pages" 1 "$(pdfinfo "$pdf" | sed -n 's/^Pages:[[:space:]]*//p')"
e2e_exit_program
e2e_expect_eq "grid saved at exit" $'base_cntx=10\nbase_cnty=10' \
    "$(iconv -f UTF-16 -t UTF-8 "$E2E_START/Vivivuz.dat" | tr -d '\r' | grep -E '^base_cnt[xy]=')"
e2e_pass
