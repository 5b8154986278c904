#!/usr/bin/env bash
# Print data rendered by an independent reader: win_tests saves the same card as a 600 dpi
# PDF and PNG; the PDF must pass qpdf's check and, rendered by poppler's cairo backend at
# 600 dpi, show inside its bleed box the PNG's pixels, each channel within 2. (Its own
# rasteriser, pdftoppm, smooths the edges of a picture drawn at exactly one pixel per
# pixel, by up to 150 levels next to text.)
# Usage: bash print_data_render.sh WIN_TESTS_EXE WORK_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

[ $# -eq 2 ] || { echo "usage: $0 WIN_TESTS_EXE WORK_DIR" >&2; exit 2; }
tests_exe="$1"
work="$2"
for tool in qpdf pdftocairo convert python3; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (qpdf, poppler-utils, imagemagick, python3)"
done
rm -rf "$work"
mkdir -p "$work" || fail "cannot make $work"

VIVI_PRINT_DATA_DIR="$(winepath -w "$work")" wine "$tests_exe" \
    --gtest_filter='PrintDataTest.PdfAt600DpiHoldsThePngPixelsInsideTheBleedBox' \
    >"$work/win_tests.log" 2>&1 || { cat "$work/win_tests.log" >&2; fail "saving the print data"; }
for file in card.pdf card.png bleed_box.txt; do
    [ -s "$work/$file" ] || fail "no $file"
done

qpdf --check "$work/card.pdf" >"$work/qpdf.txt" 2>&1 || { cat "$work/qpdf.txt" >&2; fail "qpdf --check"; }
echo "qpdf --check: $(tail -n1 "$work/qpdf.txt")"
read -r x y w h <"$work/bleed_box.txt"
pdftocairo -r 600 -x "$x" -y "$y" -W "$w" -H "$h" -singlefile -png "$work/card.pdf" "$work/rendered" ||
    fail "pdftocairo"
convert "$work/rendered.png" "$work/rendered.ppm" && convert "$work/card.png" "$work/card.ppm" || fail "convert"
python3 - "$work/rendered.ppm" "$work/card.ppm" <<'PY'
import re, sys

def read_ppm(path):
    data = open(path, "rb").read()
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not m or int(m.group(3)) != 255:
        sys.exit(f"{path}: not an 8-bit PPM file")
    return int(m.group(1)), int(m.group(2)), data[m.end():]

rw, rh, rendered = read_ppm(sys.argv[1])
pw, ph, png = read_ppm(sys.argv[2])
if (rw, rh) != (pw, ph):
    sys.exit(f"FAILED: rendered bleed box {rw}x{rh}, PNG {pw}x{ph}")
worst = max(abs(a - b) for a, b in zip(rendered, png))
off = sum(1 for a, b in zip(rendered, png) if abs(a - b) > 2)
print(f"bleed box {rw}x{rh}: largest channel difference {worst}, {off} channels beyond 2")
sys.exit(1 if off else 0)
PY
