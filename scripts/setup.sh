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
    valgrind python3
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
stamp="$WINEPREFIX/.vivivuz-fonts-1"
if [ ! -f "$stamp" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || fail "wineboot"
    wineserver -w
    # Design files name the Windows Japanese faces; map each to the installed face of its
    # kind (Mincho to Mincho, Gothic to Gothic), and the dialog font to a Japanese Gothic.
    reg="$(mktemp --suffix=.reg)"
    python3 - "$reg" <<'PY' || fail "font mapping file"
import sys
lines = ["Windows Registry Editor Version 5.00", ""]
repl = {
    "ＭＳ 明朝": "IPAMincho", "ＭＳ Ｐ明朝": "IPAPMincho", "ＭＳ明朝": "IPAMincho",
    "ＭＳ ゴシック": "IPAGothic", "ＭＳゴシック": "IPAGothic", "ＭＳ Ｐゴシック": "IPAPGothic",
    "ＭＳＰゴシック": "IPAPGothic", "ＭＳＰ明朝": "IPAPMincho",
    "MS Mincho": "IPAMincho", "MS PMincho": "IPAPMincho",
    "MS Gothic": "IPAGothic", "MS PGothic": "IPAPGothic", "MS UI Gothic": "IPAPGothic",
}
lines.append(r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]")
for k, v in repl.items():
    lines.append(f'"{k}"="{v}"')
lines.append("")
lines.append(r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]")
for k in ("MS Shell Dlg", "MS Shell Dlg 2"):
    lines.append(f'"{k}"="IPAPGothic"')
lines.append("")
open(sys.argv[1], "w", encoding="utf-16").write("\r\n".join(lines) + "\r\n")
PY
    wine regedit /S "$reg" >/dev/null 2>&1 || fail "regedit font mapping"
    wineserver -w
    rm -f "$reg"
    touch "$stamp"
fi
echo "Wine prefix ready"
