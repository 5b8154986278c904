#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in the user's start folder
# (by default ~/Vivivuz, made from the shipped data/ on first run; later runs add missing
# shipped files but never overwrite the user's). With no display, starts Xvfb, saves a
# screenshot of the main window, prints where it is, and ends the program.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

START_FOLDER="${VIVIVUZ_HOME:-$HOME/Vivivuz}"

bash "$VIVI_ROOT/scripts/setup.sh" || fail "setup"
step "Windows build"
cmake -S "$VIVI_ROOT" -B "$VIVI_BUILD/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$VIVI_ROOT/cmake/mingw-w64.cmake" >/dev/null || fail "configure Windows build"
cmake --build "$VIVI_BUILD/win" -j "$(nproc)" --target Vivivuz vivdrive || fail "build the program"
EXE="$VIVI_BUILD/win/Vivivuz.exe"
DRIVER="$VIVI_BUILD/win/tests/e2e/vivdrive.exe"
[ -f "$EXE" ] || fail "no $EXE"

step "start folder $START_FOLDER"
mkdir -p "$START_FOLDER" || fail "cannot make $START_FOLDER"
cp -rn "$VIVI_ROOT/data/." "$START_FOLDER/" || fail "copying the shipped start folder"
cp "$EXE" "$START_FOLDER/Vivivuz.exe" || fail "copying the program"

step "printer"
ensure_printer

cd "$START_FOLDER" || fail "cd $START_FOLDER"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    step "starting Vivivuz on $DISPLAY"
    exec wine "$START_FOLDER/Vivivuz.exe"
fi

step "no display: starting Xvfb"
ensure_display
start_wineserver
wine "$START_FOLDER/Vivivuz.exe" >/dev/null 2>&1 &
program=$!
pid="$(wine "$DRIVER" process --image Vivivuz.exe --cwd "$START_FOLDER" --timeout 30000)" ||
    fail "the program did not start"
# Whatever the program reports at start-up is answered with its default button.
wine "$DRIVER" answer --pid "$pid" --main "Main Window" --timeout 60000 || fail "start-up did not settle"
main="$(wine "$DRIVER" wait --pid "$pid" --class "Main Window" --timeout 10000)" ||
    fail "the main window did not appear"
sleep 1
shot="$START_FOLDER/screenshot.png"
id=$(xwininfo -root -tree | grep '"Vivivuz Ver1.03"' | head -1 | awk '{print $1}')
import -window "${id:-root}" "$shot" 2>/dev/null || import -window root "$shot" || fail "screenshot"
echo "screenshot of the main window: $shot"
# The exit command: the design is saved as at any end of the program.
wine "$DRIVER" command "$main" 33 || fail "exit command"
wait "$program"
code=$?
[ -n "${VIVI_XVFB_PID:-}" ] && kill "$VIVI_XVFB_PID" 2>/dev/null
exit $code
