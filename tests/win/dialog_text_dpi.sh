#!/usr/bin/env bash
# The dialog text tests and those of the main window's bars at 120, 144 and 192 DPI (the
# Windows tests run them at 96): each DPI is set in a prefix of this test's own, beside the
# tests' prefix, before the test program starts, since Wine reads the DPI when a program
# starts.
# Usage: dialog_text_dpi.sh WIN_TESTS_EXE
set -uo pipefail
tests_exe="$1"
base="${WINEPREFIX:-${VIVIVUZ_WINEPREFIX:-$HOME/.local/share/vivivuz/wineprefix}}"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
export WINEPREFIX="$base-dpi"
prepare_wine_prefix
ensure_display
trap 'wineserver -k >/dev/null 2>&1; [ -n "${VIVI_XVFB_PID:-}" ] && kill "$VIVI_XVFB_PID" 2>/dev/null' EXIT

status=0
for dpi in 120 144 192; do
    set_wine_dpi "$dpi"
    out="$(wine "$tests_exe" --gtest_filter='DialogTexts.*:MainWindowBars.*' 2>&1)"
    echo "$out"
    grep -q "measured at $dpi DPI" <<<"$out" || { echo "FAILED: the test did not run at $dpi DPI"; status=1; }
    grep -q "\[  PASSED  \] 3 tests" <<<"$out" || status=1
done
exit $status
