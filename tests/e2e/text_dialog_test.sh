#!/usr/bin/env bash
# The text dialog as a user meets it: open it from the main window, type a new name into
# item 2 ("名前"), give it a Gothic face through the system font dialog, tick 縦 and
# press OK; the card then shows the name running downward, and the auto-saved design
# keeps it. Then, with "fonts usable on both printer and screen" switched on, the font
# dialog lists the fonts of the CUPS PDF printer.
# Usage: bash text_dialog_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init text_dialog "$@"
ensure_printer

readonly NAME="佐藤　花子"
readonly FACE_BOX=1136  # the font dialog's face list
readonly TEXT_OK=207 TEXT_CANCEL=208 NAME_STRING=4142 NAME_VERTICAL=4162 NAME_FONT=4062



start_program() {
    e2e_start
    e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
        >>"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
    main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
        e2e_fail "no visible Main Window"
}

exit_program() {
    e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
    e2e_wait_exit 30
    [ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "exit code $E2E_EXIT_CODE"
}

open_text_dialog() {
    e2e_drive command "$main" 42 || e2e_fail "cannot send the text command"
    dialog="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$main" \
        --title "文字の設定" --timeout 10000)" || e2e_fail "no text dialog"
}

# open_font_dialog NAME: presses the font button of item 2 and keeps the face list.
open_font_dialog() {
    e2e_drive click "$dialog" "$NAME_FONT" || e2e_fail "cannot press フォントの設定"
    # With the printer filter the dialog asks the printer for its fonts first, which can
    # take a while on a busy machine.
    fonts="$(e2e_drive wait --pid "$E2E_PID" --class "#32770" --owner "$dialog" \
        --timeout 30000)" || e2e_fail "no font dialog"
    # With the printer filter a box comes first when the current printer is unknown.
    [ "$(e2e_drive title "$fonts")" != enumprinter_pro ] ||
        e2e_fail "the program did not know its printer"
    e2e_drive items "$fonts" "$FACE_BOX" | cut -f2 >"$E2E_ARTEFACTS/$1.txt" ||
        e2e_fail "cannot read the face list"
    e2e_log "$1: $(wc -l <"$E2E_ARTEFACTS/$1.txt") faces"
}

# screenshot_after NAME BEFORE AREA: keeps the screen as NAME once the part AREA
# ("WxH+X+Y") differs from the picture BEFORE: windows under a closed one are repainted
# with some delay.
screenshot_after() {
    changed() {
        e2e_screenshot "$1" >/dev/null || return 1
        [ "$(convert "$E2E_ARTEFACTS/$1.png" -crop "$3" +repage rgb:- | md5sum)" != \
          "$(convert "$2" -crop "$3" +repage rgb:- | md5sum)" ]
    }
    e2e_until 10 changed "$@" || e2e_fail "the screen stays as in $2"
    e2e_screenshot "$1"
}

# black_pixels PNG LEFT TOP WIDTH HEIGHT: pure black pixels in that part of the picture.
black_pixels() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -fill white +opaque "#000000" \
        -format "%[fx:round((1-mean)*w*h)]" info:
}

e2e_scratch
e2e_copy_data
e2e_setting font_plprn 0
[ "$(e2e_saved 'str_data[2].x')" = 96 ] && [ "$(e2e_saved 'str_data[2].y')" = 96 ] ||
    e2e_fail "the shipped design has moved its name; adjust the picture check"

# Part 1: a vertical Gothic name.
start_program
open_text_dialog
e2e_drive settext "$dialog" "$NAME_STRING" "$NAME" || e2e_fail "cannot type the name"
e2e_drive click "$dialog" "$NAME_VERTICAL" || e2e_fail "cannot tick 縦"
open_font_dialog screen_faces
for face in "IPAゴシック" "IPA明朝" "ＭＳ ゴシック" "ＭＳ 明朝"; do
    grep -qxF "$face" "$E2E_ARTEFACTS/screen_faces.txt" || e2e_fail "the font dialog lacks $face"
done
# Vertical faces ("@...") keep Japanese glyphs upright when the text runs downward.
gothic="ＭＳ ゴシック"
grep -qxF "@$gothic" "$E2E_ARTEFACTS/screen_faces.txt" && gothic="@$gothic"
e2e_drive select "$fonts" "$FACE_BOX" "$gothic" || e2e_fail "cannot choose $gothic"
e2e_screenshot font_dialog
read -r fx fy fw fh <<<"$(e2e_drive client "$fonts")" || e2e_fail "cannot read the font dialog"
e2e_drive click "$fonts" 1 || e2e_fail "cannot press OK in the font dialog"
e2e_drive gone "$fonts" --timeout 10000 || e2e_fail "the font dialog stays"
# Its lower left quarter (no caret blinks there) gives way to the text dialog.
screenshot_after text_dialog "$E2E_ARTEFACTS/font_dialog.png" \
    "$((fw / 2))x$((fh / 2))+$fx+$((fy + fh / 2))"
e2e_drive click "$dialog" "$TEXT_OK" || e2e_fail "cannot press OK"
e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the text dialog stays after OK"

# The name starts at card point (96, 96), client point (106, 146), and runs downward
# with its glyphs left of that point: black below the first character, none to the
# right where the horizontal name was. The screen is read until the main window has
# repainted the part the dialog covered.
read -r left top _ <<<"$(e2e_drive client "$main")" || e2e_fail "cannot read the client area"
shot="$E2E_ARTEFACTS/main_window_vertical_name.png"
vertical_name_shown() {
    e2e_screenshot main_window_vertical_name >/dev/null
    down="$(black_pixels "$shot" $((left + 70)) $((top + 190)) 38 100)"
    across="$(black_pixels "$shot" $((left + 120)) $((top + 150)) 150 28)"
    [ "$down" -gt 150 ] && [ "$across" -lt 20 ]
}
e2e_until 15 vertical_name_shown ||
    e2e_fail "no name running downward ($down black pixels below its start, $across to its right)"
e2e_log "black pixels: $down below the name's start, $across to its right"

exit_program
e2e_expect_eq "saved name" "$NAME" "$(e2e_saved 'str_data[2].s64')"
e2e_expect_eq "saved use flag" 1 "$(e2e_saved 'str_data[2].on')"
e2e_expect_eq "saved face" "$gothic" "$(e2e_saved 'lf[2].lfFaceName')"
e2e_expect_eq "saved escapement" -900 "$(e2e_saved 'lf[2].lfEscapement')"
e2e_expect_eq "saved orientation" -900 "$(e2e_saved 'lf[2].lfOrientation')"

# Part 2: fonts usable on both printer and screen, with the CUPS PDF printer as the
# program's default printer.
e2e_setting font_plprn 1
start_program
open_text_dialog
open_font_dialog printer_faces
e2e_screenshot font_dialog_printer
# The printer's own fonts join the list; the Japanese faces stay.
for face in "Helvetica" "Times" "Courier"; do
    grep -qxF "$face" "$E2E_ARTEFACTS/printer_faces.txt" || e2e_fail "no printer font $face"
    grep -qxF "$face" "$E2E_ARTEFACTS/screen_faces.txt" && e2e_fail "$face is a screen font here"
done
grep -qxF "ＭＳ ゴシック" "$E2E_ARTEFACTS/printer_faces.txt" ||
    e2e_fail "no Japanese face with the printer filter"
e2e_drive click "$fonts" 2 || e2e_fail "cannot cancel the font dialog"
e2e_drive gone "$fonts" --timeout 10000 || e2e_fail "the font dialog stays"
e2e_drive click "$dialog" "$TEXT_CANCEL" || e2e_fail "cannot press キャンセル"
e2e_drive gone "$dialog" --timeout 10000 || e2e_fail "the text dialog stays after キャンセル"
exit_program

e2e_pass
