#!/usr/bin/env bash
# Contact QR codes read back by two independent decoders: win_tests draws each contact
# format (address book, MECARD, vCard) with Japanese names and all nine fields through
# the program's QR drawing and writes the pictures with the bytes they hold; ZXingReader
# and zbarimg must each read every picture back to exactly those bytes.
# Usage: bash contact_qr_decode.sh WIN_TESTS_EXE WORK_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"

[ $# -eq 2 ] || { echo "usage: $0 WIN_TESTS_EXE WORK_DIR" >&2; exit 2; }
tests_exe="$1"
work="$2"
for tool in ZXingReader zbarimg; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (zxing-cpp-tools, zbar-tools)"
done
rm -rf "$work"
mkdir -p "$work" || fail "cannot make $work"

VIVI_CONTACT_QR_DIR="$(winepath -w "$work")" wine "$tests_exe" --gtest_filter='ContactQr.*' \
    >"$work/win_tests.log" 2>&1 || { cat "$work/win_tests.log" >&2; fail "drawing the contact codes"; }

status=0
for format in au mecard vcard; do
    [ -f "$work/$format.pgm" ] && [ -f "$work/$format.bin" ] || fail "no picture for $format"
    ZXingReader -ispure -bytes "$work/$format.pgm" >"$work/$format.zxing" 2>/dev/null
    zbarimg --quiet --raw -Sbinary -Sdisable -Sqrcode.enable "$work/$format.pgm" \
        >"$work/$format.zbar" 2>/dev/null
    for decoder in zxing zbar; do
        if cmp -s "$work/$format.bin" "$work/$format.$decoder"; then
            echo "$format: $decoder read the exact bytes"
        else
            echo "FAILED: $format: $decoder read something else:" >&2
            iconv -f CP932 -t UTF-8 "$work/$format.$decoder" >&2 || od -c "$work/$format.$decoder" >&2
            status=1
        fi
    done
    # ZXingReader's own account of the symbol (its content type), for the log.
    ZXingReader -ispure "$work/$format.pgm" 2>/dev/null | grep -E '^(Format|Content|HasECI):' |
        sed "s/^/$format: /"
done
# The texts are what a phone reads: the Japanese name, split for the vCard.
iconv -f CP932 -t UTF-8 "$work/vcard.bin" | grep -q $'^N:山田;太郎;;;\r$' ||
    { echo "FAILED: the vCard has no N:山田;太郎" >&2; status=1; }
iconv -f CP932 -t UTF-8 "$work/mecard.bin" | grep -q '^MECARD:N:山田　太郎;SOUND:ヤマダタロウ;' ||
    { echo "FAILED: the MECARD does not start with the name and reading" >&2; status=1; }
exit $status
