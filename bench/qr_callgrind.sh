#!/bin/sh
# Instructions per encode of our QR encoder and of libqrencode, under callgrind, for
# every payload class of qr_bench: (run with N encodes - run with none) / N, so that
# the payload set-up is left out.
# Usage: bench/qr_callgrind.sh BUILD_DIR [N]   (BUILD_DIR configured Release, no sanitizers)
set -eu
bench="$1/bench/qr_bench"
n="${2:-200}"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
instructions() {
    valgrind --tool=callgrind --callgrind-out-file="$out/cg" "$bench" "$1" "$2" "$3" \
        2>&1 | sed -n 's/.*I *refs: *//p' | tr -d ,
}
printf '%-14s %14s %14s %7s\n' payload ours libqrencode ratio
for class in "short URL" "address book" "8-bit v10" "Kanji v10" "8-bit v25" "Kanji v25" \
             "8-bit v40" "Kanji v40"; do
    base=$(instructions "$class" ours 0)
    ours=$(( ($(instructions "$class" ours "$n") - base) / n ))
    theirs=$(( ($(instructions "$class" libqrencode "$n") - base) / n ))
    printf '%-14s %14d %14d %6s\n' "$class" "$ours" "$theirs" \
        "$(awk "BEGIN { printf \"%.2fx\", $theirs / $ours }")"
done
