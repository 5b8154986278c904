#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows builds, and runs every test:
# core unit tests (native, sanitizers), Windows tests under Wine, end-to-end tests of the
# real program under Wine and Xvfb with a CUPS printer, of the release (installer and
# zip), and a short run of each fuzz target (clang). Exits non-zero on any failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash "$VIVI_ROOT/scripts/setup.sh" || fail "setup"

step "native build"
configure_and_build native
step "Windows build"
configure_and_build win
step "release (installer and zip, checked by e2e_release)"
bash "$VIVI_ROOT/scripts/release.sh" || fail "release"
kinds=(native win)
if command -v clang++ >/dev/null; then
    step "fuzz build"
    configure_and_build fuzz
    kinds+=(fuzz)
fi

step "printer and display"
ensure_printer
ensure_display
start_wineserver
trap 'stop_wineserver; [ -n "${VIVI_XVFB_PID:-}" ] && kill "$VIVI_XVFB_PID" 2>/dev/null' EXIT

status=0
summary() {
    # ctest's closing line: "NN% tests passed, F tests failed out of T"
    sed -n 's/.*tests passed, \([0-9]*\) tests\? failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -1
}
total_failed=0
total_run=0
for kind in "${kinds[@]}"; do
    step "tests: $kind"
    log="$VIVI_BUILD/$kind/test-output.log"
    ctest --test-dir "$VIVI_BUILD/$kind" --output-on-failure --timeout 1200 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" = 0 ] || status=1
    read -r failed run < <(summary "$log") || true
    total_failed=$((total_failed + ${failed:-0}))
    total_run=$((total_run + ${run:-0}))
done

echo
echo "$((total_run - total_failed)) passed, $total_failed failed"
exit $status
