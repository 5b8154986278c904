# Shared by the run and test commands: paths, the Wine environment and small helpers.
# Sourced, not run.
VIVI_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VIVI_BUILD="${VIVI_BUILD:-$VIVI_ROOT/build}"
export WINEPREFIX="${VIVIVUZ_WINEPREFIX:-$HOME/.local/share/vivivuz/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8

step() { printf '\n== %s\n' "$*"; }
fail() { printf 'FAILED: %s\n' "$*" >&2; exit 1; }

# Runs a command as root: directly when we are root, else through sudo.
as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Starts a private X server when none is reachable; sets DISPLAY. Xvfb picks a free
# display number itself, so parallel runs do not collide.
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local out i
    out="$(mktemp)"
    Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$out" 2>/dev/null &
    VIVI_XVFB_PID=$!
    for i in $(seq 1 100); do
        [ -s "$out" ] && break
        sleep 0.1
    done
    [ -s "$out" ] || { rm -f "$out"; fail "could not start Xvfb"; }
    export DISPLAY=":$(head -n1 "$out")"
    rm -f "$out"
    for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb on $DISPLAY does not answer"
}

# A CUPS queue that prints to PDF files, made the default printer. Needs root.
ensure_printer() {
    if ! pgrep -x cupsd >/dev/null 2>&1; then
        as_root /usr/sbin/cupsd || fail "cupsd"
        local i
        for i in $(seq 1 50); do
            LANG=C lpstat -r 2>/dev/null | grep -q "is running" && break
            sleep 0.1
        done
    fi
    if ! LANG=C lpstat -p CardPDF >/dev/null 2>&1; then
        as_root lpadmin -p CardPDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
            || fail "lpadmin CardPDF"
    fi
    as_root lpadmin -d CardPDF || fail "lpadmin -d CardPDF"
}

# Keeps the Wine prefix's server alive between the many short Wine processes of a run.
# Wine's background services start with the first program of a session and inherit its
# output; starting them here, detached, keeps them from holding a test runner's pipes open.
# They also put the session's desktop on the display they find, where every later window
# of the session shows: so a display comes first.
start_wineserver() {
    ensure_display
    wineserver -p 600 >/dev/null 2>&1 || true
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}
stop_wineserver() {
    wineserver -k >/dev/null 2>&1 || true
}

# Makes the Wine prefix $WINEPREFIX once: Japanese font mapping for the design's faces and
# the dialog font. Safe to call again.
prepare_wine_prefix() {
    local stamp reg
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
    stamp="$WINEPREFIX/.vivivuz-unmanaged-tests-1"
    if [ ! -f "$stamp" ]; then
        unmanaged_windows win_tests.exe
        wineserver -w
        touch "$stamp"
    fi
}

# Xvfb has no window manager, and Wine waits up to 2 s for one each time a window it
# lets a window manager manage is hidden: every dialog closed would cost that. Windows of
# the given program (win_tests.exe), or with no name of every program in the prefix (a
# prefix only tests use), are left unmanaged: Wine frames and places them itself.
unmanaged_windows() {
    local key='HKCU\Software\Wine\X11 Driver'
    [ -n "${1:-}" ] && key="HKCU\\Software\\Wine\\AppDefaults\\$1\\X11 Driver"
    wine reg add "$key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
        fail "unmanaged windows in $WINEPREFIX"
}

# Sets the screen DPI of the prefix $WINEPREFIX (Wine reads it when a program starts).
set_wine_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1 || fail "set $1 DPI in $WINEPREFIX"
}

configure_and_build() {
    local kind="$1"; shift
    local dir="$VIVI_BUILD/$kind"
    case "$kind" in
        native) cmake -S "$VIVI_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null \
                    || fail "configure native build" ;;
        fuzz) cmake -S "$VIVI_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVIVIVUZ_FUZZ=ON "$@" >/dev/null \
                    || fail "configure fuzz build" ;;
        win) cmake -S "$VIVI_ROOT" -B "$dir" -G Ninja \
                    -DCMAKE_TOOLCHAIN_FILE="$VIVI_ROOT/cmake/mingw-w64.cmake" "$@" >/dev/null \
                    || fail "configure Windows build" ;;
    esac
    cmake --build "$dir" -j "$(nproc)" || fail "build $kind"
}
