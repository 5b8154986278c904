#!/usr/bin/env bash
# Ready-made designs and the environment settings, as a user meets them in the shipped
# start folder, in two runs:
#  1. "テンプレート": 次 shows the second template, OK and Yes apply it; "環境設定": the card
#     frame turned off and the cut-mark length set to 2.5, OK and Yes. The design saved
#     at exit holds the template's card, the sheet grid and file name as before, and the
#     new settings; the screen shows the applied card, then no frame.
#  2. "テンプレート保存" writes temp\mine.tep, which the browser lists last, after the
#     shipped ones; with every template gone, "テンプレート" only says so and changes
#     nothing.
# Usage: bash template_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init template "$@"

readonly YES_BUTTON=6  # IDYES
readonly SECOND_TEMPLATE="02-和風縦書き.tep"  # portrait, vertical writing on a navy pattern
readonly BACKGROUND="238,235,218"            # the main window's background

# The lines of a settings file, without byte-order mark and CR.
lines_of() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r'; }
# The card's lines: everything but the printed card size, the sheet grid and the
# environment.
readonly NOT_CARD='^(base_pw|base_ph|base_cntx|base_cnty|base_px|base_py|base_spx|base_spy|main_filename|oekaki_filename|[bmcp]_outline|p_outline_size|p_outline_len|font_plprn|base_load_mode|mark_load_mode|phot_load_mode|pm_size_x|pm_size_y|sheet_preset|trim_lines|zoom)='
card_lines() { lines_of "$1" | grep -Ev "$NOT_CARD"; }
sheet_lines() { lines_of "$1" | grep -E '^(base_cntx|base_cnty|base_px|base_py|base_spx|base_spy|main_filename)='; }

# shot NAME: a screenshot once the display has settled (two a second apart agree).
shot() {
    local i
    sleep 1
    for i in $(seq 1 10); do
        e2e_screenshot "$1" >/dev/null
        [ $i -gt 1 ] && e2e_same_picture "$E2E_ARTEFACTS/$1.png" "$E2E_ARTEFACTS/$1-previous.png" && break
        cp "$E2E_ARTEFACTS/$1.png" "$E2E_ARTEFACTS/$1-previous.png"
        sleep 1
    done
    rm -f "$E2E_ARTEFACTS/$1-previous.png"
}

# mean SHOT WINDOW X Y W H: the mean colour "r,g,b" of a rectangle of a window's client area.
mean() {
    local left top
    read -r left top _ < <(e2e_drive client "$2") || e2e_fail "cannot read the client area of $2"
    convert "$E2E_ARTEFACTS/$1.png" -crop "$5x$6+$((left + $3))+$((top + $4))" +repage -resize '1x1!' \
        -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:
}

# navy R,G,B: true for a dark colour with blue well above red (the navy pattern).
navy() {
    local r g b
    IFS=, read -r r g b <<<"$1"
    [ "$b" -gt $((r + 40)) ] && [ "$r" -lt 150 ]
}

# open_browser MAIN: opens "テンプレート" and prints the dialog's handle.
open_browser() {
    e2e_drive command "$1" 43 || e2e_fail "cannot send テンプレート"
    e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$1" --title "テンプレート" --timeout 15000 ||
        e2e_fail "the template browser did not open"
}

# confirm DIALOG CAPTION: OK, then Yes to the question titled CAPTION.
confirm() {
    local box
    e2e_drive click "$1" 207 || e2e_fail "cannot press OK"
    box="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$1" --title "$2" --timeout 10000)" ||
        e2e_fail "OK did not ask \"$2\""
    e2e_drive texts "$box" | grep -qF "これに変更して良いですか？" || e2e_fail "OK asks something else"
    e2e_drive click "$box" "$YES_BUTTON" || e2e_fail "cannot answer Yes"
    e2e_drive gone "$1" --timeout 10000 || e2e_fail "the dialog stays after Yes"
}

e2e_scratch
e2e_copy_data
cp "$E2E_START/Vivivuz.dat" "$E2E_ARTEFACTS/before.dat"

e2e_log "run 1: a template applied, then the environment"
e2e_start
e2e_settle startup_boxes.txt; main="$E2E_MAIN"
shot sample
navy "$(mean sample "$main" 15 150 20 100)" && e2e_fail "the sample card already shows the navy pattern"
e2e_expect_eq "frame left of the card" "0,0,0" "$(mean sample "$main" 9 150 1 100)"

dialog="$(open_browser "$main")"
shot browser_first
e2e_drive click "$dialog" 201 || e2e_fail "cannot press 次"
shot browser_second
# The vertical template has a back: its front stands at the left, the band of wave scales
# along the dialog's edge.
navy "$(mean browser_second "$dialog" 7 60 10 60)" ||
    e2e_fail "次 does not show the vertical template (see browser_second.png)"
confirm "$dialog" "テンプレート！"
shot applied
navy "$(mean applied "$main" 15 150 20 100)" ||
    e2e_fail "the applied template does not show (see applied.png)"

e2e_drive command "$main" 45 || e2e_fail "cannot send 環境設定"
dialog="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$main" --title "環境設定" --timeout 15000)" ||
    e2e_fail "the environment dialog did not open"
e2e_drive texts "$dialog" >"$E2E_ARTEFACTS/environment_dialog.txt"
grep -qP '^308\tComboBox\t5\.0$' "$E2E_ARTEFACTS/environment_dialog.txt" ||
    e2e_fail "the cut-mark length does not show 5.0 (see environment_dialog.txt)"
e2e_drive click "$dialog" 281 || e2e_fail "cannot untick the card frame"
e2e_drive settext "$dialog" 308 "2.5" || e2e_fail "cannot type the cut-mark length"
confirm "$dialog" "環境設定画面！"
shot no_frame
e2e_expect_eq "left of the card without frame" "$BACKGROUND" "$(mean no_frame "$main" 9 150 1 100)"
e2e_exit_program "$main"

e2e_expect_eq "card lines of Vivivuz.dat" "$(card_lines "$E2E_START/temp/$SECOND_TEMPLATE")" \
    "$(card_lines "$E2E_START/Vivivuz.dat")"
e2e_expect_eq "sheet grid and file name" "$(sheet_lines "$E2E_ARTEFACTS/before.dat")" \
    "$(sheet_lines "$E2E_START/Vivivuz.dat")"
e2e_expect_eq "printed card size of a portrait card" "550 910" "$(e2e_saved base_pw) $(e2e_saved base_ph)"
e2e_expect_eq "b_outline" 0 "$(e2e_saved b_outline)"
e2e_expect_eq "p_outline_len" 25 "$(e2e_saved p_outline_len)"
cp "$E2E_START/Vivivuz.dat" "$E2E_ARTEFACTS/after_run1.dat"

e2e_log "run 2: template save, the browser lists it in name order; then no template at all"
e2e_start
e2e_settle second_boxes.txt; main="$E2E_MAIN"
e2e_drive command "$main" 49 || e2e_fail "cannot send テンプレート保存"
dialog="$(e2e_drive wait --pid "$E2E_PID" --title "テンプレートの保存" --timeout 15000)" ||
    e2e_fail "the template save dialog did not open"
sleep 0.5  # the dialog fills its own fields right after it shows
e2e_drive settext "$dialog" 1148 "Z:$(printf '%s' "$E2E_START" | tr / '\\')\\temp\\mine" ||
    e2e_fail "cannot type the file name"
e2e_drive click "$dialog" 1 || e2e_fail "cannot press the save dialog's OK"
e2e_drive gone "$dialog" --timeout 15000 || e2e_fail "the save dialog did not close"
e2e_until 15 test -s "$E2E_START/temp/mine.tep" || e2e_fail "temp\\mine.tep was not written"

# mine.tep holds the applied vertical template, its back too.
dialog="$(open_browser "$main")"
e2e_drive click "$dialog" 202 || e2e_fail "cannot press 戻"
shot browser_last
navy "$(mean browser_last "$dialog" 7 60 10 60)" ||
    e2e_fail "戻 from the first template does not show mine.tep (see browser_last.png)"
e2e_drive click "$dialog" 202 || e2e_fail "cannot press 戻"
shot browser_before_last
navy "$(mean browser_before_last "$dialog" 7 60 10 60)" &&
    e2e_fail "the template before mine.tep is not the last shipped one (see browser_before_last.png)"
e2e_drive click "$dialog" 203 || e2e_fail "cannot press キャンセル"
e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the browser stays after キャンセル"

shot before_empty
rm -f "$E2E_START"/temp/*.tep
e2e_drive command "$main" 43 || e2e_fail "cannot send テンプレート"
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 30000 >"$E2E_ARTEFACTS/empty_boxes.txt" ||
    e2e_fail "the empty template folder did not settle"
e2e_expect_eq "boxes with no template" $'templet_file\tテンプレートが見つかりませんでした。' \
    "$(cut -f1,2 "$E2E_ARTEFACTS/empty_boxes.txt")"
e2e_drive windows --pid "$E2E_PID" | grep -qP '\tテンプレート$' && e2e_fail "the browser shows without templates"
shot after_empty
e2e_same_picture "$E2E_ARTEFACTS/before_empty.png" "$E2E_ARTEFACTS/after_empty.png" ||
    e2e_fail "the card changed without a template (see before_empty.png, after_empty.png)"
e2e_exit_program "$main"
e2e_expect_eq "card lines after the empty browser" "$(card_lines "$E2E_ARTEFACTS/after_run1.dat")" \
    "$(card_lines "$E2E_START/Vivivuz.dat")"
e2e_pass
