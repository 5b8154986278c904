#!/usr/bin/env bash
# Screenshots for the README and the manual: the real program under Wine on a private X
# server, in a Wine prefix of its own with the system's visual styles, started in a copy of
# the shipped start folder with the shipped sample design and driven by window messages.
# Writes docs/screenshots/main_window.png, taken at 144 DPI (150 % scaling), and one
# picture of each dialog the manual explains, taken at 96 DPI; fixed names, each file recording its DPI, and a picture that did not change
# keeps its bytes. Builds the program
# and the driver when they are missing or out of date. Takes about a minute and a half.
#     bash scripts/screenshots.sh
# The manual takes the pictures when it is typeset again (python3 art/make_art.py, or
# /usr/bin/python3 art/manual/make_manual.py data/Vivivuz_manual.pdf alone).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

OUT="$VIVI_ROOT/docs/screenshots"
EXE="$VIVI_BUILD/win/Vivivuz.exe"
DRIVER="$VIVI_BUILD/win/tests/e2e/vivdrive.exe"
DPI=144

step "program and driver"
if [ ! -f "$VIVI_BUILD/win/build.ninja" ]; then
    cmake -S "$VIVI_ROOT" -B "$VIVI_BUILD/win" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$VIVI_ROOT/cmake/mingw-w64.cmake" >/dev/null || fail "configure"
fi
cmake --build "$VIVI_BUILD/win" -j "$(nproc)" --target Vivivuz vivdrive || fail "build"

# The DPI is set in a prefix of this script's own: every other run keeps its prefix as it is.
export WINEPREFIX="$WINEPREFIX-shots"
step "Wine prefix $WINEPREFIX"
prepare_wine_prefix
ensure_printer
# Wine draws the caption buttons with the Marlett symbol font, which only Wine's own font
# package has. It goes into this prefix alone, so that every other run keeps the fonts
# the project's setup installs.
marlett="$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
if [ ! -f "$marlett" ]; then
    fonts="$(mktemp -d)"
    (cd "$fonts" && apt-get download fonts-wine >/dev/null 2>&1) || fail "apt-get download fonts-wine"
    dpkg-deb -x "$fonts"/fonts-wine_*.deb "$fonts/x" || fail "unpack fonts-wine"
    mkdir -p "$(dirname "$marlett")"
    cp "$fonts/x/usr/share/wine/fonts/marlett.ttf" "$marlett" || fail "no marlett.ttf in fonts-wine"
    rm -rf "$fonts"
fi

mkdir -p "$OUT"
start="$(mktemp -d "${TMPDIR:-/tmp}/vivivuz-shots.XXXXXX")"
program=""
xvfb=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    wineserver -k >/dev/null 2>&1
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$start"
    rm -f "$OUT"/*.new.png "$OUT"/*.prev.png "$OUT"/*.out.png
}
trap cleanup EXIT

# A display of our own, large enough for the biggest dialog at 150 %.
Xvfb -displayfd 1 -screen 0 1600x1200x24 -nolisten tcp >"$start/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$start/display" ] && break; sleep 0.1; done
[ -s "$start/display" ] || fail "could not start Xvfb"
export DISPLAY=":$(head -n1 "$start/display")"
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"

# session DPI: a new Wine session at that DPI, with the theme, a caret that does not blink
# (so a picture does not change between two looks at it) and, as there is no window
# manager, the windows' frames and captions drawn by Wine itself, so that a window's
# picture shows them. The session reads them all when it starts.
theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
session() {
    wineserver -k >/dev/null 2>&1
    wineserver -w
    set_wine_dpi "$1"
    wine reg add "$theme" /v ThemeActive /t REG_SZ /d 1 /f >/dev/null 2>&1 &&
        wine reg add "$theme" /v DllName /t REG_SZ /d 'C:\windows\resources\themes\light\light.msstyles' /f \
            >/dev/null 2>&1 &&
        wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f >/dev/null 2>&1 &&
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 ||
        fail "visual styles, caret and frames in $WINEPREFIX"
    wineserver -k >/dev/null 2>&1
    wineserver -w
    start_wineserver
    session_dpi="$1"
}

drive() { wine "$DRIVER" "$@"; }

# shot NAME XID: the X window as OUT/NAME.png, once two pictures a moment apart agree (the
# window has finished painting). The file records the session's DPI (pHYs), by which the
# manual sizes it on paper, and no time stamp or other metadata: it depends only on its
# pixels and DPI, and a picture that did not change keeps its bytes.
shot() {
    local i
    for i in $(seq 1 30); do
        sleep 0.5
        import -window "$2" "$OUT/$1.new.png" 2>/dev/null || continue
        if [ -f "$OUT/$1.prev.png" ] &&
            [ "$(compare -metric AE "$OUT/$1.new.png" "$OUT/$1.prev.png" null: 2>&1)" = 0 ]; then
            convert "$OUT/$1.new.png" -strip -units PixelsPerInch -density "$session_dpi" \
                -define png:include-chunk=none,pHYs "$OUT/$1.out.png" || fail "cannot write $OUT/$1.png"
            if cmp -s "$OUT/$1.out.png" "$OUT/$1.png"; then
                rm -f "$OUT/$1.out.png"
                echo "$OUT/$1.png (unchanged)"
            else
                mv "$OUT/$1.out.png" "$OUT/$1.png"
                echo "$OUT/$1.png"
            fi
            rm -f "$OUT/$1.new.png" "$OUT/$1.prev.png"
            return 0
        fi
        mv "$OUT/$1.new.png" "$OUT/$1.prev.png"
    done
    fail "the window of $1 does not settle"
}

# xwindow TITLE: the X window of the program's top-level window of that title (Wine gives
# each top-level window an X window named by its title).
xwindow() {
    local title="$1" id i
    for i in $(seq 1 40); do
        id="$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | head -1 | awk '{print $1}')"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.25
    done
    return 1
}

# settle: answers what the program asks after a dialog (none is expected) and waits
# until it is quiet again.
settle() {
    drive answer --pid "$pid" --main "Main Window" --quiet 500 --timeout 10000 >/dev/null ||
        fail "the program did not settle after $1"
}

# dialog COMMAND TITLE NAME CLOSE: opens a dialog of the main window by its command, takes
# its picture and closes it, changing nothing: CLOSE is the text of the button that does,
# or a command id to send when no button does (Esc's IDCANCEL).
dialog() {
    local box
    drive command "$main" "$1" || fail "command $1"
    box="$(drive wait --pid "$pid" --title "$2" --timeout 20000)" || fail "no dialog \"$2\""
    shotx "$3" "$2"
    case "$4" in
        [0-9]*) drive command "$box" "$4" ;;
        *) drive click "$box" "$4" ;;
    esac || fail "cannot close \"$2\" with $4"
    drive gone "$box" --timeout 10000 || fail "\"$2\" stays open"
    settle "\"$2\""
}

# shotx NAME TITLE: the top-level window of that title.
shotx() {
    local id
    id="$(xwindow "$2")" || fail "no X window \"$2\" for $1"
    shot "$1" "$id"
}

# start_program: the program in the scratch start folder, settled; sets pid and main.
start_program() {
    (cd "$start" && exec wine "$start/Vivivuz.exe") >>"$start/wine.log" 2>&1 &
    program=$!
    pid="$(drive process --image Vivivuz.exe --cwd "$start" --timeout 30000)" || fail "the program did not start"
    drive answer --pid "$pid" --main "Main Window" --timeout 60000 >/dev/null || fail "start-up did not settle"
    main="$(drive wait --pid "$pid" --class "Main Window" --timeout 10000)" || fail "no main window"
}

# stop_program: the exit command; the program must end by itself.
stop_program() {
    drive command "$main" 33 || fail "exit command"
    wait "$program" || fail "the program ended with code $?"
    program=""
}

cp -a "$VIVI_ROOT/data/." "$start/"
cp "$EXE" "$start/"

# The main window, for the README and the manual, on a screen at 150 %. The program ends
# before the dialogs, so the design it saves is the shipped one (it was not changed).
step "the main window at $DPI DPI into $OUT"
session "$DPI"
start_program
shotx main_window "$(drive title "$main")"
stop_program

# The dialogs at 96 DPI, where every one of them shows its pictures as it should: at 150 %
# the previews of the mark, text, QR code and layout dialogs keep their 96 DPI places.
step "the dialogs at 96 DPI into $OUT"
session 96
start_program
dialog 43 "テンプレート" template_dialog "キャンセル"
dialog 31 "ベース画面の設定" base_dialog "キャンセル"
dialog 36 "マーク画面の設定" mark_dialog "キャンセル"
dialog 42 "文字の設定" text_dialog "キャンセル"
dialog 46 "二次元コード作成" qr_dialog 2
dialog 47 "顔の設定" face_dialog "ｷｬﾝｾﾙ"
dialog 48 "リスト編集" list_editor "閉じる"
dialog 45 "環境設定" environment_dialog "キャンセル"
dialog 50 "印刷用データの保存" print_data_dialog "キャンセル"

# Printing: the system's print-setup dialog first, the PDF printer chosen, then the
# layout dialog.
drive command "$main" 39 || fail "print command"
setup="$(drive wait --pid "$pid" --class '#32770' --owner "$main" --timeout 20000)" || fail "no print-setup dialog"
drive select "$setup" 1136 CardPDF || fail "the printer CardPDF is not offered"
drive click "$setup" 1 || fail "print-setup OK"
drive gone "$setup" --timeout 10000 || fail "the print-setup dialog stays"
layout="$(drive wait --pid "$pid" --title "印刷の位置設定" --timeout 20000)" || fail "no layout dialog"
# The sheet's picture follows the values a moment after they are entered.
sleep 2
shotx sheet_layout "印刷の位置設定"
drive click "$layout" "キャンセル" || fail "cancel the layout dialog"
drive gone "$layout" --timeout 10000 || fail "the layout dialog stays"
settle "the layout dialog"

stop_program
step "screenshots written"
