#!/usr/bin/env bash
# Installs what the project needs on a Debian machine, once: packages, the Japanese
# locale and the Wine prefix with its Japanese font mapping. Safe to run again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PACKAGES=(
    cmake ninja-build g++ libgtest-dev googletest
    mingw-w64 g++-mingw-w64-x86-64-posix
    wine wine64 xvfb xauth x11-utils
    locales fonts-ipafont
    poppler-utils qpdf imagemagick libimage-exiftool-perl zbar-tools zxing-cpp-tools qrencode libqrencode-dev
    cups printer-driver-cups-pdf
    valgrind python3 python3-cairo
    nsis zip unzip
    clang libclang-rt-dev
)

step "packages"
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq || fail "apt-get update"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}" || fail "apt-get install ${missing[*]}"
else
    echo "all present"
fi

step "Japanese locale"
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null || fail "locale-gen"
fi
locale -a | grep -qi '^ja_JP\.utf-\?8$' || fail "ja_JP.UTF-8 locale missing"
echo "ja_JP.UTF-8 ready"

step "Wine prefix $WINEPREFIX"
prepare_wine_prefix
echo "Wine prefix ready"
