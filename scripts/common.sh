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
