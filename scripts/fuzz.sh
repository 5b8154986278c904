#!/usr/bin/env bash
# Builds the fuzz targets (clang) and runs them one after another for as long as asked,
# each from its checked-in seeds plus what earlier runs found (kept in the build folder).
#   scripts/fuzz.sh [-runs=N | -max_total_time=SECONDS] [-max_len=BYTES] [target ...]
# Options starting with "-" go to every target (libFuzzer's own); names pick targets
# (settings_file, template_file, list_file, list_editor, qr_encoder, address, numbers,
# layout_print, picture_header, printer_files; default all). A crashing input is kept in
# build/fuzz/tests/fuzz/work/<target>/findings/ and ends the run with a non-zero status.
# After each run the inputs that reach new code are merged, minimised, into the checked-in
# corpus (tests/fuzz/corpus/<target>/), and the table in tests/fuzz/README.md gets the
# run's executions added to the target's total, its corpus size and the date.
# A second run of a target may go on beside the first, on the other core, in a work
# folder of its own: VIVI_FUZZ_STREAM=2 scripts/fuzz.sh ... (start it once the first has
# finished building).
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

# Adds a run of target $1 with $2 executions to the table of tests/fuzz/README.md: its
# total, the files of its checked-in corpus and today's date (a new target gets a row).
# Runs of different targets may go on side by side: the table is updated under a lock.
record_run() {
    local readme="$VIVI_ROOT/tests/fuzz/README.md" name="$1" runs="$2" files today lock
    mkdir -p "$VIVI_BUILD"
    exec {lock}>"$VIVI_BUILD/fuzz-table.lock"
    flock "$lock"
    files="$(find "$VIVI_ROOT/tests/fuzz/corpus/$name" -type f | wc -l)"
    today="$(date -u +%Y-%m-%d)"
    awk -F'|' -v name="$name" -v runs="$runs" -v files="$files" -v today="$today" '
        $2 == " " name " " { printf "| %s | %d | %d | %s |\n", name, $3 + runs, files, today; found = 1; next }
        /^<!-- end of the fuzz table -->/ && !found { printf "| %s | %d | %d | %s |\n", name, runs, files, today }
        { print }' "$readme" >"$readme.new" && mv "$readme.new" "$readme"
    exec {lock}>&-
}

step "fuzz build"
configure_and_build fuzz
status=0
for name in "${names[@]}"; do
    step "fuzz $name ${options[*]}"
    target="$VIVI_BUILD/fuzz/tests/fuzz/fuzz_$name"
    seeds="$VIVI_ROOT/tests/fuzz/corpus/$name"
    work="$VIVI_BUILD/fuzz/tests/fuzz/work/$name${VIVI_FUZZ_STREAM:+-$VIVI_FUZZ_STREAM}"
    log="$work/last-run.log"
    mkdir -p "$work"
    # The run's progress goes to the log (tail -f it); its statistics are shown after.
    bash "$VIVI_ROOT/tests/fuzz/run_target.sh" "$target" "$seeds" "$work" "${options[@]}" >"$log" 2>&1 \
        || { echo "fuzz $name: FINDING (see $work/findings/ and $log)"; status=1; }
    grep -E "^stat::|ERROR" "$log" || true
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    # What the run found that reaches new code joins the checked-in seeds, minimised.
    ASAN_OPTIONS=quarantine_size_mb=8 "$target" -merge=1 "$seeds" "$work/corpus" >"$work/merge.log" 2>&1 \
        || echo "fuzz $name: the corpus could not be merged (see $work/merge.log)"
    record_run "$name" "${runs:-0}"
done
exit $status
