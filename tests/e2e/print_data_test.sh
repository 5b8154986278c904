#!/usr/bin/env bash
# Print data from the real program: "印刷用データで保存" on the shipped sample with the
# dialog's defaults (PDF, 600 dpi, 3 mm bleed, trim marks) writes a PDF whose trim box is
# the 91 × 55 mm card and whose bleed box is 97 × 61 mm, the sample's back as its second
# page with the same boxes; qpdf finds nothing wrong; poppler
# at 600 dpi shows the text and the logo sharp (drawn at that resolution, not blown up from
# the screen), the QR code reads back with zbarimg and ZXing, and the background reaches
# the bleed box's edge on all four sides.
# Usage: bash print_data_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init print_data "$@"
for tool in pdfinfo qpdf pdftoppm zbarimg ZXingReader python3; do
    command -v "$tool" >/dev/null || e2e_fail "$tool is not installed"
done

e2e_scratch
e2e_copy_data
e2e_start
e2e_settle start_boxes.txt; main="$E2E_MAIN"

e2e_drive command "$main" 50 || e2e_fail "cannot send command 50"
dialog="$(e2e_drive wait --pid "$E2E_PID" --title "印刷用データの保存" --timeout 15000)" ||
    e2e_fail "the print data dialog did not open"
e2e_expect_eq "PDF chosen" 1 "$(e2e_drive checked "$dialog" 3801)"
e2e_expect_eq "trim marks" 1 "$(e2e_drive checked "$dialog" 3805)"
e2e_drive click "$dialog" 1 || e2e_fail "cannot press OK"
e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the print data dialog stays"

# The sample's address lines run close to the bottom edge: the safety question comes.
question="$(e2e_drive wait --pid "$E2E_PID" --title "印刷用データ！" --timeout 15000)" ||
    e2e_fail "no safety question for the sample's lines near the trim"
e2e_drive click "$question" 6 || e2e_fail "cannot answer Yes"
e2e_drive gone "$question" --timeout 10000 || e2e_fail "the question stays"

pdf="$E2E_START/card.pdf"
save="$(e2e_drive wait --pid "$E2E_PID" --title "印刷用データの保存" --timeout 15000)" ||
    e2e_fail "no save dialog"
sleep 0.5  # the dialog fills its own fields right after it shows
e2e_drive settext "$save" 1148 "Z:$(printf '%s' "$pdf" | tr / '\\')" || e2e_fail "cannot type the file name"
e2e_drive click "$save" 1 || e2e_fail "cannot press Save"
e2e_drive gone "$save" --timeout 15000 || e2e_fail "the save dialog stays"
e2e_until 30 test -s "$pdf" || e2e_fail "no PDF written"
e2e_until 10 bash -c "qpdf --check '$pdf' >/dev/null 2>&1" || true
cp "$pdf" "$E2E_ARTEFACTS/card.pdf"

pdfinfo -box "$pdf" >"$E2E_ARTEFACTS/pdfinfo.txt" || e2e_fail "pdfinfo"
box_mm() {
    awk -v box="$1:" '$1 == box { printf "%.1f x %.1f", ($4 - $2) / 72 * 25.4, ($5 - $3) / 72 * 25.4 }' \
        "$E2E_ARTEFACTS/pdfinfo.txt"
}
e2e_expect_eq "TrimBox" "91.0 x 55.0" "$(box_mm TrimBox)"
e2e_expect_eq "BleedBox" "97.0 x 61.0" "$(box_mm BleedBox)"
# The sample has its back in use: the second page, with the same boxes, and a picture of
# its own.
grep -q '^Pages: *2$' "$E2E_ARTEFACTS/pdfinfo.txt" || e2e_fail "not two pages"
pdfinfo -box -f 2 -l 2 "$pdf" | sed -n 's/^Page *2 //p' >"$E2E_ARTEFACTS/pdfinfo_back.txt" || e2e_fail "pdfinfo page 2"
e2e_expect_eq "back's boxes" "$(grep -E '^(TrimBox|BleedBox):' "$E2E_ARTEFACTS/pdfinfo.txt" | tr -s ' ')" \
    "$(grep -E '^(TrimBox|BleedBox):' "$E2E_ARTEFACTS/pdfinfo_back.txt" | tr -s ' ')"
for page in 1 2; do
    pdftoppm -r 36 -f "$page" -l "$page" -singlefile "$pdf" "$E2E_ARTEFACTS/side$page" || e2e_fail "pdftoppm page $page"
done
cmp -s "$E2E_ARTEFACTS/side1.ppm" "$E2E_ARTEFACTS/side2.ppm" && e2e_fail "the back's page shows the front"
qpdf --check "$pdf" >"$E2E_ARTEFACTS/qpdf.txt" 2>&1 || e2e_fail "qpdf --check: $(cat "$E2E_ARTEFACTS/qpdf.txt")"

pdftoppm -r 600 -singlefile "$pdf" "$E2E_ARTEFACTS/page" || e2e_fail "pdftoppm"
pdftoppm -r 600 -singlefile -png "$pdf" "$E2E_ARTEFACTS/page" || e2e_fail "pdftoppm -png"
zbarimg --quiet --raw --nodbus "$E2E_ARTEFACTS/page.png" >"$E2E_ARTEFACTS/zbar.txt" 2>/dev/null ||
    e2e_fail "zbarimg found no code"
ZXingReader -format QRCode -bytes "$E2E_ARTEFACTS/page.png" >"$E2E_ARTEFACTS/zxing.bin" 2>/dev/null
[ -s "$E2E_ARTEFACTS/zxing.bin" ] || e2e_fail "ZXing found no code"
# zbarimg ends the text with a line break of its own.
printf '%s' "$(cat "$E2E_ARTEFACTS/zbar.txt")" | cmp -s - "$E2E_ARTEFACTS/zxing.bin" ||
    e2e_fail "zbarimg and ZXing read different texts"
e2e_log "QR code: $(head -c 60 "$E2E_ARTEFACTS/zbar.txt" | tr '\r\n' '  ')"

# Card pixels to page pixels: the card (455 × 275 design pixels) is 2150 × 1299 at 600 dpi
# and starts 14 mm (331 pixels) in; the bleed reaches 71 pixels beyond it.
python3 - "$E2E_ARTEFACTS/page.ppm" \
    "$(e2e_saved 'str_data[2].x')" "$(e2e_saved 'str_data[2].y')" \
    "$(e2e_saved 'mark_data[0].x')" "$(e2e_saved 'mark_data[0].y')" \
    "$(e2e_saved 'mark_data[0].w')" "$(e2e_saved 'mark_data[0].h')" <<'PY' || e2e_fail "the page is not as it should be"
import re, sys
data = open(sys.argv[1], "rb").read()
m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
W, H = int(m.group(1)), int(m.group(2))
px = data[m.end():]
MARGIN, BLEED, CW, CH = 331, 71, 2150, 1299
def grey(x, y):
    i = (y * W + x) * 3
    return (px[i] + px[i + 1] + px[i + 2]) // 3
def rgb(x, y):
    i = (y * W + x) * 3
    return px[i], px[i + 1], px[i + 2]
ok = True
if (W, H) != (CW + 2 * MARGIN, CH + 2 * MARGIN):
    print(f"page {W}x{H}, expected {CW + 2 * MARGIN}x{CH + 2 * MARGIN}"); sys.exit(1)
# The background on the outermost pixels of the bleed box, and just outside it paper.
left, top, right, bottom = MARGIN - BLEED, MARGIN - BLEED, MARGIN + CW + BLEED - 1, MARGIN + CH + BLEED - 1
edges = {"top": [(x, top) for x in range(left, right + 1)], "bottom": [(x, bottom) for x in range(left, right + 1)],
         "left": [(left, y) for y in range(top, bottom + 1)], "right": [(right, y) for y in range(top, bottom + 1)]}
for side, points in edges.items():
    paper = sum(1 for p in points if rgb(*p) == (255, 255, 255))
    print(f"bleed edge {side}: {paper} of {len(points)} pixels white")
    ok &= paper < len(points) // 100
# Just outside, away from the trim marks' lines: paper.
outside = [(left - 3, top + 100), (right + 3, bottom - 100), (left + 100, top - 3), (right - 100, bottom + 3)]
ok &= all(rgb(*p) == (255, 255, 255) for p in outside)
k = CW / 455
def sharpest(x0, y0, x1, y1):
    """The largest grey step between neighbouring pixels of the card area given in design pixels."""
    X0, Y0, X1, Y1 = (int(MARGIN + v * k) for v in (x0, y0, x1, y1))
    return max(abs(grey(x, y) - grey(x + 1, y)) for y in range(Y0, Y1) for x in range(X0, X1))
name_x, name_y, mx, my, mw, mh = map(int, sys.argv[2:8])
for what, area in {"name": (name_x, name_y, name_x + 100, name_y + 24), "logo": (mx, my, mx + mw, my + mh)}.items():
    step = sharpest(*area)
    print(f"{what}: sharpest step between neighbours {step}")
    # A card blown up from the screen's 127 dpi spreads each edge over 4 to 5 pixels.
    ok &= step >= 100
sys.exit(0 if ok else 1)
PY

e2e_exit_program "$main"
e2e_pass
