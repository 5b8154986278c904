#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its figures as ratios against a reference
# measured in the same run. Not part of the test command: timings want a quiet machine.
#   bash scripts/bench.sh            the Windows benchmarks under Wine (paint, tools, print)
#   bash scripts/bench.sh qr         also the QR encoder against libqrencode (native)
#   bash scripts/bench.sh settings   only the settings reader on the shipped design (native)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# The native benchmarks: a release build without the sanitizers.
native_bench() {
    local dir="$VIVI_BUILD/bench-native"
    cmake -S "$VIVI_ROOT" -B "$dir" -G Ninja -DVIVIVUZ_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null \
        || fail "configure native release build"
    cmake --build "$dir" --target "$1" || fail "build $1"
    (cd "$VIVI_ROOT" && "$dir/bench/$1") || fail "$1"
}

if [ "${1:-}" = settings ]; then
    step "settings reader (native release)"
    native_bench settings_bench
    exit 0
fi

bash "$VIVI_ROOT/scripts/setup.sh" || fail "setup"
step "Windows build (release)"
configure_and_build win -DCMAKE_BUILD_TYPE=Release
start_wineserver
trap stop_wineserver EXIT
cd "$VIVI_ROOT" || fail "project root"
step "card preview paint"
wine "$VIVI_BUILD/win/bench/paint_bench.exe" 200 data || fail "paint_bench"
step "picture tools"
wine "$VIVI_BUILD/win/bench/tools_bench.exe" 100 data || fail "tools_bench"
step "printed sheet"
wine "$VIVI_BUILD/win/bench/print_bench.exe" 5 data || fail "print_bench"
step "pictures: a 24-megapixel photo, a folder of 3000 pictures"
wine "$VIVI_BUILD/win/bench/picture_bench.exe" 5 || fail "picture_bench"
step "print data: a busy card as a 600 dpi PDF with bleed"
wine "$VIVI_BUILD/win/bench/print_data_bench.exe" 5 || fail "print_data_bench"
if [ "${1:-}" = qr ]; then
    step "settings reader (native release)"
    native_bench settings_bench
    step "QR encoder (native release)"
    native_bench qr_bench
fi
