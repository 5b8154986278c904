#!/usr/bin/env bash
# Runs one fuzz target over its checked-in seeds without writing into them: what the
# fuzzer finds goes to the work folder, a crashing input to <work>/findings/.
# Usage: run_target.sh TARGET SEED_FOLDER WORK_FOLDER [libFuzzer options...]
set -euo pipefail
target="$1" seeds="$2" work="$3"
shift 3
mkdir -p "$work/corpus" "$work/findings"
# A small quarantine still catches the use of memory freed in the last runs; the default
# 256 MB hands every large allocation fresh pages, which cost most of a run's time.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=8"
exec "$target" -artifact_prefix="$work/findings/" -print_final_stats=1 "$@" "$work/corpus" "$seeds"
