#!/usr/bin/env bash
# Builds the fuzz targets (clang) and runs them one after another for as long as asked,
# each from its checked-in seeds plus what earlier runs found (kept in the build folder).
#   scripts/fuzz.sh [-runs=N | -max_total_time=SECONDS] [-max_len=BYTES] [target ...]
# Options starting with "-" go to every target (libFuzzer's own); names pick targets
# (settings_file, template_file, list_file, qr_encoder, address, numbers, layout_print;
# default all). A crashing
# input is kept in build/fuzz/tests/fuzz/work/<target>/findings/ and ends the run with
# a non-zero status.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

command -v clang++ >/dev/null || fail "clang++ is needed (scripts/setup.sh installs it)"
options=()
names=()
for arg in "$@"; do
    case "$arg" in
        -*) options+=("$arg") ;;
        *) names+=("$arg") ;;
    esac
done
[ ${#options[@]} -gt 0 ] || options=(-max_total_time=60)
if [ ${#names[@]} -eq 0 ]; then
    for source in "$VIVI_ROOT"/tests/fuzz/fuzz_*.cpp; do
        name="$(basename "$source" .cpp)"
        names+=("${name#fuzz_}")
    done
fi

step "fuzz build"
configure_and_build fuzz
status=0
for name in "${names[@]}"; do
    step "fuzz $name ${options[*]}"
    bash "$VIVI_ROOT/tests/fuzz/run_target.sh" "$VIVI_BUILD/fuzz/tests/fuzz/fuzz_$name" \
        "$VIVI_ROOT/tests/fuzz/corpus/$name" "$VIVI_BUILD/fuzz/tests/fuzz/work/$name" "${options[@]}" \
        || { echo "fuzz $name: FINDING (see $VIVI_BUILD/fuzz/tests/fuzz/work/$name/findings/)"; status=1; }
done
exit $status
