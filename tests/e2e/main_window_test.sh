#!/usr/bin/env bash
# The main window as a user meets it: start in a fresh start folder without a saved
# design, answer what the program reports at start-up, then read the title, the menu,
# the toolbar with its tooltips and the status line, open and close the About box and
# leave with the exit command.
# Usage: bash main_window_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init main_window "$@"

e2e_scratch
e2e_copy_data
# Without a saved design the program starts with the load defaults.
rm -f "$E2E_START/Vivivuz.dat"
e2e_start

# Start-up reports (missing saved design, pictures, printer) come as message boxes
# before the window shows; each is answered with its default button.
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
while IFS=$'\t' read -r caption text button; do
    e2e_log "start-up box \"$caption\": $text [$button]"
done <"$E2E_ARTEFACTS/startup_boxes.txt"

main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"

title="$(e2e_drive title "$main")" || e2e_fail "cannot read the title"
e2e_expect_eq "title" "Vivivuz Ver1.03" "$title"

# The whole command table, in menu order; separators are layout, not commands. Every
# command has its window: none is greyed.
expected_menu="$(cat <<'EOF'
0	popup	-	ファイル(&F)	on
1	item	43	テンプレート(&T)	on
1	item	37	空で新規作成(&N)	on
1	item	38	開く(&O)	on
1	item	40	上書き保存(&S)	on
1	item	41	名前を付けて保存(&A)	on
1	item	49	テンプレート保存(&H)	on
1	item	32	Bitmapで保存(&B)	on
1	item	50	印刷用データで保存(&D)...	on
0	popup	-	編集(&E)	on
1	item	31	ベース(&B)	on
1	item	36	マーク(&M)	on
1	item	42	文字(&S)	on
1	item	47	顔(&H)	on
1	item	46	二次元コード(&Q)	on
1	item	48	リスト(&L)	on
1	item	51	元に戻す(&U)\tCtrl+Z	grey
1	item	52	やり直し(&R)\tCtrl+Y	grey
1	item	57	左右中央に揃える	grey
1	item	58	上下中央に揃える	grey
0	popup	-	表示(&V)	on
1	item	53	100%	on
1	item	54	150%	on
1	item	55	200%	on
1	item	56	ウィンドウに合わせる	on
1	item	59	表/裏\tF6	grey
0	item	39	印刷(&P)	on
0	item	45	環境設定(&K)	on
0	popup	-	ﾍﾙﾌﾟ(&H)	on
1	item	34	ﾍﾙﾌﾟ(&W)	on
1	item	44	このソフトについて(&S)	on
0	item	33	終了(&X)	on
EOF
)"
menu="$(e2e_drive menu "$main")" || e2e_fail "cannot read the menu"
printf '%s\n' "$menu" >"$E2E_ARTEFACTS/menu.txt"
e2e_expect_eq "menu" "$expected_menu" "$(printf '%s\n' "$menu" | grep -v $'\tseparator\t')"

expected_toolbar="$(cat <<'EOF'
330	テンプレート	on
331	ベースの絵を設定	on
332	マークの絵を設定	on
333	文字の設定	on
334	二次元コードの設定	on
335	顔の設定	on
336	リスト	on
337	印刷	on
338	ヘルプ	on
339	終了	on
EOF
)"
toolbar="$(e2e_drive toolbar "$main" --ctrl 329)" || e2e_fail "cannot read the toolbar"
e2e_expect_eq "toolbar buttons and tooltips" "$expected_toolbar" "$toolbar"

# The status line is filled by the first paint; give it a moment.
status_filled() {
    status="$(e2e_drive status "$main" --ctrl 1)" && [[ "$status" == 0$'\t'?* ]]
}
status=""
e2e_until 10 status_filled || e2e_fail "status line stays empty: $status"
printf '%s\n' "$status" >"$E2E_ARTEFACTS/status.txt"
[ "$(printf '%s\n' "$status" | wc -l)" -eq 4 ] || e2e_fail "status bar has not 4 parts: $status"
part0="$(printf '%s\n' "$status" | sed -n '1s/^0\t//p')"
[[ "$part0" == "ﾌﾟﾘﾝﾀ："* ]] || e2e_fail "status part 0: $part0"
e2e_expect_eq "status part 1" "用紙：0.0×0.0" "$(printf '%s\n' "$status" | sed -n '2s/^1\t//p')"
e2e_expect_eq "status part 2" "ｽﾀｲﾙ：横91.0×2,縦55.0×3" \
    "$(printf '%s\n' "$status" | sed -n '3s/^2\t//p')"

# About: a modeless box owned by the main window, closed with its OK button (201).
e2e_drive command "$main" 44 || e2e_fail "cannot send About"
about="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$main" --timeout 10000)" ||
    e2e_fail "no About box"
about_texts="$(e2e_drive texts "$about")" || e2e_fail "cannot read the About box"
printf '%s\n' "$about_texts" >"$E2E_ARTEFACTS/about.txt"
printf '%s\n' "$about_texts" | grep -q $'^201\tButton\tOK$' ||
    e2e_fail "About box has no OK button 201: $about_texts"
e2e_screenshot main_window
e2e_drive click "$about" 201 || e2e_fail "cannot click OK"
e2e_drive gone "$about" --timeout 10000 || e2e_fail "About box stays after OK"
e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 2000 >/dev/null ||
    e2e_fail "Main Window went with the About box"

e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
e2e_wait_exit 30
[ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
# Leaving saves the design for the next start.
[ -s "$E2E_START/Vivivuz.dat" ] || e2e_fail "no Vivivuz.dat written at exit"

e2e_pass
