#!/usr/bin/env bash
# QR codes on the card as the user sees them: a design with four QR codes (a web address,
# Japanese text in Shift_JIS, digits, and a text with line breaks) is read at start-up
# and every symbol is decoded from a screenshot of the main window by zbarimg.
# Usage: bash qr_preview_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init qr_preview "$@"

e2e_scratch
# A settings file holds only the keys it sets; every other field keeps its default.
# U+0002 and U+0003 stand for CR and LF inside a QR text.
write_design() {
    { printf '\xff\xfe'; sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$1"
}
CR_LF="$(printf '\x02\x03')"
write_design "$E2E_START/Vivivuz.dat" <<DESIGN
base_w=455
base_h=275
qrcode_data[0].on=1
qrcode_data[0].s=https://www.example.jp/card?id=42
qrcode_data[0].Lv=1
qrcode_data[0].Sell=3
qrcode_data[0].x=0
qrcode_data[0].y=0
qrcode_data[1].on=1
qrcode_data[1].s=山田太郎　東京都千代田区千代田一丁目
qrcode_data[1].Lv=2
qrcode_data[1].Sell=3
qrcode_data[1].x=150
qrcode_data[1].y=0
qrcode_data[2].on=1
qrcode_data[2].s=0123456789012345678901234567890
qrcode_data[2].Lv=3
qrcode_data[2].Sell=3
qrcode_data[2].x=300
qrcode_data[2].y=0
qrcode_data[3].on=1
qrcode_data[3].s=MEMORY:名刺${CR_LF}TEL1:0312345678${CR_LF}MAIL1:taro@example.jp
qrcode_data[3].Lv=0
qrcode_data[3].Sell=3
qrcode_data[3].x=0
qrcode_data[3].y=150
DESIGN

e2e_start
# No base picture: its message is answered.
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"
sleep 1
e2e_screenshot preview

python3 - "$E2E_ARTEFACTS/preview.png" <<'PY' || e2e_fail "the QR codes on the card did not decode as written"
import subprocess, sys
# Raw bytes of every symbol found, one after another (zbar's text and XML modes mangle
# Shift_JIS); each payload must be there, and nothing else.
out = subprocess.run(["zbarimg", "--raw", "-q", "-Sbinary", sys.argv[1]], capture_output=True).stdout
expected = [t.encode("cp932") for t in (
    "https://www.example.jp/card?id=42",
    "山田太郎　東京都千代田区千代田一丁目",
    "0123456789012345678901234567890",
    "MEMORY:名刺\r\nTEL1:0312345678\r\nMAIL1:taro@example.jp",
)]
missing = [e for e in expected if e not in out]
if missing or len(out) != sum(map(len, expected)):
    print("decoded:", out, "missing:", missing, file=sys.stderr)
    sys.exit(1)
PY

e2e_drive command "$main" 33 || e2e_fail "cannot send the exit command"
e2e_wait_exit 30
e2e_expect_eq "exit code" 0 "$E2E_EXIT_CODE"
e2e_pass
