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
configure_and_build win -DVIVIVUZ_TESTS=OFF
EXE="$VIVI_BUILD/win/Vivivuz.exe"
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
wine "$START_FOLDER/Vivivuz.exe" &
program=$!
shot="$START_FOLDER/screenshot.png"
found=""
for i in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Vivivuz Ver1.03"'; then found=1; break; fi
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
done
[ -n "$found" ] || { kill "$program" 2>/dev/null; fail "the main window did not appear"; }
sleep 2
id=$(xwininfo -root -tree | grep '"Vivivuz Ver1.03"' | head -1 | awk '{print $1}')
import -window "$id" "$shot" 2>/dev/null || import -window root "$shot" || fail "screenshot"
echo "screenshot of the main window: $shot"
# End the program as its exit command does, so that the design is saved.
if command -v xdotool >/dev/null 2>&1; then
    xdotool windowclose "$id" 2>/dev/null || true
fi
wineserver -k >/dev/null 2>&1 || true
wait "$program" 2>/dev/null
[ -n "${VIVI_XVFB_PID:-}" ] && kill "$VIVI_XVFB_PID" 2>/dev/null
exit 0
