#!/usr/bin/env bash
# The main window in a Wine prefix set to 144 dpi (150 %): the card shows at 150 %,
# 682 x 412 screen pixels (within 2), and mark 0 dragged by (150, 75) screen pixels lands
# 100 and 50 card pixels further, where the mouse let go. The program must declare itself
# DPI aware in its manifest (without it the system scales its bitmap): until it does the
# test is skipped. The prefix's DPI is set back afterwards.
# Usage: bash high_dpi_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init high_dpi "$@"

if ! grep -aqi "dpiAware" "$E2E_EXE"; then
    e2e_log "SKIP: the program declares no DPI awareness in its manifest"
    E2E_FAILED=0
    exit 77
fi

readonly DESKTOP_KEY='HKCU\Control Panel\Desktop'
set_dpi() {
    wine reg add "$DESKTOP_KEY" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
        e2e_fail "cannot set the prefix's DPI to $1"
    # The new session knows the printers this one knows: the test is not about them.
    local printers=()
    mapfile -t printers < <(e2e_drive printers 2>/dev/null | cut -f1)
    e2e_new_wine_session "${printers[@]}"
}
restore_dpi() { set_dpi 96; }
# The test's own status survives the restore, for the cleanup to report.
trap 'status=$?; restore_dpi; (exit $status); e2e_cleanup' EXIT

e2e_scratch
e2e_copy_data
set_dpi 144
e2e_start
e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
    >"$E2E_ARTEFACTS/startup_boxes.txt" || e2e_fail "start-up did not settle"
main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
    e2e_fail "no visible Main Window"
read -r left top width height < <(e2e_drive client "$main") || e2e_fail "cannot read the client area"
e2e_log "client area ${width}x${height} at ($left, $top)"
sleep 2
e2e_screenshot screen >/dev/null || e2e_fail "cannot take a screenshot"
# The card is what differs from the window's background below the toolbar and above the
# status line: its bounding box.
box="$(python3 - "$E2E_ARTEFACTS/screen.png" "$left" "$top" "$width" "$height" <<'PY'
import subprocess, sys
path, left, top, width, height = sys.argv[1], *map(int, sys.argv[2:])
raw = subprocess.run(["convert", path, "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                      "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
background = (238, 235, 218)
xs, ys = [], []
for y in range(int(height * 0.08), int(height * 0.9)):  # below the toolbar, above the status line
    row = raw[y * width * 3:(y + 1) * width * 3]
    for x in range(width):
        if tuple(row[x * 3:x * 3 + 3]) != background:
            xs.append(x), ys.append(y)
print(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)
PY
)" || e2e_fail "cannot find the card on the screen"
read -r card_x card_y card_w card_h <<<"$box"
e2e_log "card on screen ${card_w}x${card_h} at ($card_x, $card_y)"
# The outline one pixel outside the card counts in the box: 684 x 414.
within() { [ $(($1 - $2)) -le 2 ] && [ $(($2 - $1)) -le 2 ]; }
within "$card_w" 684 && within "$card_h" 414 ||
    e2e_fail "the card shows ${card_w}x${card_h}, not about 682x412 inside its outline (see screen.png)"

# Mark 0 at card (18, 16), 44 x 44: at 150 % from the card's corner inside the outline.
x0=$((card_x + 1 + 30 * 3 / 2)) y0=$((card_y + 1 + 30 * 3 / 2))
e2e_drive mouse "$main" down $x0 $y0 || e2e_fail "cannot press"
e2e_drive mouse "$main" move $((x0 + 75)) $((y0 + 37)) || e2e_fail "cannot move"
e2e_drive mouse "$main" move $((x0 + 150)) $((y0 + 75)) || e2e_fail "cannot move"
e2e_drive mouse "$main" up $((x0 + 150)) $((y0 + 75)) || e2e_fail "cannot release"
e2e_drive command "$main" 33 || e2e_fail "cannot send Exit"
e2e_wait_exit 30
e2e_expect_eq "mark_data[0].x in Vivivuz.dat" 118 "$(e2e_saved "mark_data[0].x")"
e2e_expect_eq "mark_data[0].y in Vivivuz.dat" 66 "$(e2e_saved "mark_data[0].y")"
e2e_expect_eq "zoom in Vivivuz.dat" 150 "$(e2e_saved zoom)"
e2e_pass
