#!/usr/bin/env bash
# Builds the release a Windows user installs, in build/release/ ($VIVI_BUILD/release):
#   Vivivuz-<version>-setup.exe  the installer (per user, no administrator rights, Japanese)
#   Vivivuz-<version>.zip        the program with the shipped start folder, to unzip and run
# The version is the one the title bar and the About box show (src/res/version.h).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

for tool in makensis zip x86_64-w64-mingw32-strip; do
    command -v "$tool" >/dev/null || { bash "$VIVI_ROOT/scripts/setup.sh" || fail "setup"; break; }
done
for tool in makensis zip x86_64-w64-mingw32-strip; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
version="$(cmake -P "$VIVI_ROOT/cmake/version.cmake")" || fail "reading the version"
[ -n "$version" ] || fail "no version"
out="$VIVI_BUILD/release"

step "Windows build of Vivivuz $version"
cmake -S "$VIVI_ROOT" -B "$VIVI_BUILD/win" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$VIVI_ROOT/cmake/mingw-w64.cmake" >/dev/null || fail "configure Windows build"
cmake --build "$VIVI_BUILD/win" -j "$(nproc)" --target Vivivuz || fail "build the program"

step "release files in $out"
work="$out/work"
rm -rf "$out"
mkdir -p "$work" || fail "cannot make $out"
# The shipped program carries no debugging information.
x86_64-w64-mingw32-strip -o "$work/Vivivuz.exe" "$VIVI_BUILD/win/Vivivuz.exe" || fail "strip"

# What the uninstaller removes of the start folder: each shipped file, then each shipped
# folder that is left empty, deepest first. The saved design is the user's.
{
    (cd "$VIVI_ROOT/data" && find . -type f ! -name Vivivuz.dat | LC_ALL=C sort) |
        while IFS= read -r f; do
            printf 'Delete "$INSTDIR\\%s"\n' "$(printf '%s' "${f#./}" | tr / '\\')"
        done
    (cd "$VIVI_ROOT/data" && find . -mindepth 1 -type d | LC_ALL=C sort -r) |
        while IFS= read -r d; do
            printf 'RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "${d#./}" | tr / '\\')"
        done
} >"$work/shipped.nsh"

setup="$out/Vivivuz-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DPROGRAM="$work/Vivivuz.exe" \
    -DDATA="$VIVI_ROOT/data" -DSHIPPED="$work/shipped.nsh" -DOUTFILE="$setup" \
    "$VIVI_ROOT/scripts/installer.nsi" || fail "makensis"

# The zip: one folder that is a start folder, the program beside its data.
folder="$work/Vivivuz-$version"
mkdir -p "$folder" && cp -a "$VIVI_ROOT/data/." "$folder/" && cp "$work/Vivivuz.exe" "$folder/" ||
    fail "assembling the zip folder"
zip_file="$out/Vivivuz-$version.zip"
(cd "$work" && zip -qr -X "$zip_file" "Vivivuz-$version") || fail "zip"

rm -rf "$work"
ls -l "$setup" "$zip_file"
