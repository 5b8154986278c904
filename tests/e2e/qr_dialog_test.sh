#!/usr/bin/env bash
# The QR dialog as a user meets it: start with the sample card, open the QR dialog from
# the menu, fill the first code's address with "アドレスセット" and "自動セット", encode it,
# close with OK, and read the code the main window now shows with an independent decoder;
# then make the same code a vCard ("マルチ") with a typed name, number and mail address.
# Usage: bash qr_dialog_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init qr_dialog "$@"

command -v zbarimg >/dev/null || e2e_fail "zbarimg is not installed (package zbar-tools)"

e2e_scratch
e2e_copy_data
# Without a saved design the card holds the sample texts, the QR codes unused.
rm -f "$E2E_START/Vivivuz.dat"
e2e_start
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 >/dev/null ||
    e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"

# 編集 > 二次元コード (command 46).
e2e_drive command "$main" 46 || e2e_fail "cannot send the QR command"
qr="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --title "二次元コード作成" --owner "$main" \
    --timeout 10000)" || e2e_fail "no QR dialog"

# "アドレスセット" (220) opens the address dialog over it; "自動セット" (239) fills it from
# the card, OK (207) writes the payload into the first code's text.
e2e_drive click "$qr" 220 || e2e_fail "cannot click アドレスセット"
address="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --title "アドレス設定" --owner "$qr" \
    --timeout 10000)" || e2e_fail "no address dialog"
e2e_drive click "$address" 239 || e2e_fail "cannot click 自動セット"
# The click is posted: wait until the first telephone number shows.
auto_set_done() { e2e_drive texts "$address" | grep -q $'^331\tEdit\t0000000000$'; }
e2e_until 10 auto_set_done || e2e_fail "自動セット found no telephone number"
e2e_screenshot address_dialog
e2e_drive click "$address" 207 || e2e_fail "cannot click OK in the address dialog"
e2e_drive gone "$address" --timeout 10000 || e2e_fail "address dialog stays after OK"

# The payload the card gives: the name and address lines of the card and its two telephone
# numbers; its mail line holds the placeholder "****@****.**.jp", which is no address. The
# reading, the third number and the mails stay empty. Every line, the last too, ends with
# CR LF.
printf '%s\r\n' "MEMORY:" "NAME1:氏名○○　太郎" "NAME2:" "MAIL1:" "MAIL2:" \
    "MAIL3:" "TEL1:0000000000" "TEL2:0000000000" "TEL3:" \
    "ADD:住所□□県○○市△△－○○－○○ 〒000-0000" >"$E2E_ARTEFACTS/expected.txt"
# vivdrive writes a field's line breaks as \r and \n.
e2e_drive texts "$qr" | awk -F'\t' '$1 == 333 { printf "%s", $3 }' >"$E2E_ARTEFACTS/shown.txt"
e2e_expect_eq "QR text after アドレスセット" \
    "$(sed -z 's/\r/\\r/g; s/\n/\\n/g' "$E2E_ARTEFACTS/expected.txt")" \
    "$(cat "$E2E_ARTEFACTS/shown.txt")"

# "エンコード" (206) stores the form and switches the code on; OK (207) closes. The clicks
# are posted, so they arrive in this order.
e2e_drive click "$qr" 206 || e2e_fail "cannot click エンコード"
e2e_screenshot qr_dialog
e2e_drive click "$qr" 207 || e2e_fail "cannot click OK in the QR dialog"
e2e_drive gone "$qr" --timeout 10000 || e2e_fail "QR dialog stays after OK"

# The main window repaints with the code at the card's corner; decode its picture (taken
# again until the repaint has reached the display). zbarimg ends the text with a line
# break of its own. It reads Shift_JIS 0x817C, the program's full-width hyphen-minus
# U+FF0D, as the minus sign U+2212 of JIS X 0208: both stand for the same byte pair.
decode_main_window() {
    import -window "Vivivuz Ver1.03" "$E2E_ARTEFACTS/main_window.png" &&
        zbarimg --quiet --raw --nodbus "$E2E_ARTEFACTS/main_window.png" >"$E2E_ARTEFACTS/decoded.txt"
}
e2e_until 15 decode_main_window || e2e_fail "no QR code found on the main window"
{ cat "$E2E_ARTEFACTS/expected.txt"; echo; } >"$E2E_ARTEFACTS/expected_decoded.txt"
sed -i 's/\xe2\x88\x92/\xef\xbc\x8d/g' "$E2E_ARTEFACTS/decoded.txt"
cmp -s "$E2E_ARTEFACTS/expected_decoded.txt" "$E2E_ARTEFACTS/decoded.txt" ||
    e2e_fail "decoded QR code differs:
$(diff "$E2E_ARTEFACTS/expected_decoded.txt" "$E2E_ARTEFACTS/decoded.txt" | cat -A)"

# The first code again, now "マルチ" (262): a vCard a phone adds to its contacts. The typed
# texts are sent before the posted clicks arrive.
e2e_drive command "$main" 46 || e2e_fail "cannot send the QR command"
qr="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --title "二次元コード作成" --owner "$main" \
    --timeout 10000)" || e2e_fail "no QR dialog the second time"
e2e_drive click "$qr" 220 || e2e_fail "cannot click アドレスセット"
address="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --title "アドレス設定" --owner "$qr" \
    --timeout 10000)" || e2e_fail "no address dialog the second time"
e2e_drive settext "$address" 347 "山田　太郎" || e2e_fail "cannot type the name"
e2e_drive settext "$address" 331 "03-1234-5678" || e2e_fail "cannot type the number"
e2e_drive settext "$address" 332 "taro@example.jp" || e2e_fail "cannot type the mail address"
e2e_drive click "$address" 262 || e2e_fail "cannot click マルチ"
e2e_drive click "$address" 207 || e2e_fail "cannot click OK in the address dialog"
e2e_drive gone "$address" --timeout 10000 || e2e_fail "address dialog stays after OK"
e2e_drive click "$qr" 206 || e2e_fail "cannot click エンコード"
e2e_drive click "$qr" 207 || e2e_fail "cannot click OK in the QR dialog"
e2e_drive gone "$qr" --timeout 10000 || e2e_fail "QR dialog stays after OK"
is_vcard() {
    decode_main_window && grep -q '^BEGIN:VCARD' "$E2E_ARTEFACTS/decoded.txt"
}
e2e_until 15 is_vcard || e2e_fail "no vCard on the main window:
$(cat "$E2E_ARTEFACTS/decoded.txt" 2>/dev/null)"
for line in $'N:山田;太郎;;;\r' $'FN:山田　太郎\r' $'TEL:03-1234-5678\r' $'TEL:0000000000\r' \
    $'EMAIL:taro@example.jp\r' $'END:VCARD\r'; do
    grep -qxF "$line" "$E2E_ARTEFACTS/decoded.txt" ||
        e2e_fail "the vCard has no line ${line%$'\r'}:
$(cat "$E2E_ARTEFACTS/decoded.txt")"
done

e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
e2e_wait_exit 30
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"

e2e_pass
