# Helpers for end-to-end tests that run the real Vivivuz.exe under Wine and drive it
# with vivdrive. Sourced by each test script, which is run as
#     bash TEST.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
# and starts with:  source lib.sh; e2e_init NAME "$@"
#
# Every wait has a time-out. On exit (pass or fail) the program is killed if it still
# runs, the scratch start folder is removed (kept on failure, for a look), and the X
# server is stopped only when this test started it.

E2E_LIB_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
E2E_REPO="$(cd "$E2E_LIB_DIR/../.." && pwd)"
# WINEPREFIX, LANG=ja_JP.UTF-8, WINEDEBUG and ensure_display.
source "$E2E_REPO/scripts/common.sh"

E2E_NAME=""
E2E_EXE=""            # Vivivuz.exe
E2E_DRIVER=""         # vivdrive.exe
E2E_ARTEFACTS=""      # this test's artefacts folder
E2E_START=""          # scratch start folder
E2E_WINE_PID=""       # the Unix process running the program (its exit code is the program's)
E2E_PID=""            # the program's Windows process id, for vivdrive --pid
E2E_EXIT_CODE=""
E2E_FAILED=1          # cleared by e2e_pass
E2E_OWN_XVFB=""

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*"; }

# Stops the test: prints why, keeps a screenshot and the program's windows.
e2e_fail() {
    printf '[%s] FAIL: %s\n' "$E2E_NAME" "$*" >&2
    if [ -n "$E2E_PID" ] && e2e_running; then
        echo "windows of the program:" >&2
        e2e_drive windows --pid "$E2E_PID" --all >&2 || true
    fi
    e2e_screenshot failure || true
    exit 1
}

# e2e_init NAME VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR
e2e_init() {
    E2E_NAME="$1"
    [ $# -eq 4 ] || { echo "usage: $0 VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR" >&2; exit 2; }
    [ -f "$2" ] || { echo "no program: $2" >&2; exit 2; }
    [ -f "$3" ] || { echo "no driver: $3" >&2; exit 2; }
    E2E_EXE="$(realpath "$2")"
    E2E_DRIVER="$(realpath "$3")"
    E2E_ARTEFACTS="$(realpath -m "$4")/$E2E_NAME"
    rm -rf "$E2E_ARTEFACTS"
    mkdir -p "$E2E_ARTEFACTS"
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    VIVI_XVFB_PID=""
    ensure_display
    E2E_OWN_XVFB="$VIVI_XVFB_PID"
    e2e_log "display $DISPLAY, prefix $WINEPREFIX, artefacts $E2E_ARTEFACTS"
}

e2e_cleanup() {
    local status=$?
    if [ -n "$E2E_WINE_PID" ] && e2e_running; then
        e2e_log "killing the program (pid $E2E_WINE_PID)"
        kill "$E2E_WINE_PID" 2>/dev/null || true
        wait "$E2E_WINE_PID" 2>/dev/null || true
    fi
    if [ -n "$E2E_START" ] && [ -d "$E2E_START" ]; then
        if [ "$E2E_FAILED" = 0 ]; then
            rm -rf "$E2E_START"
        else
            e2e_log "scratch start folder kept: $E2E_START"
        fi
    fi
    if [ -n "$E2E_OWN_XVFB" ]; then
        kill "$E2E_OWN_XVFB" 2>/dev/null || true
    fi
    exit "$status"
}

# Makes an empty scratch start folder (E2E_START).
e2e_scratch() {
    E2E_START="$(mktemp -d "${TMPDIR:-/tmp}/vivivuz-e2e.XXXXXX")"
}

# e2e_copy_data [ITEM...]: copies the shipped start folder (data/ of the repository), or
# only the named files and folders of it, into the scratch start folder.
e2e_copy_data() {
    local data="$E2E_REPO/data"
    [ -d "$data" ] || return 0
    if [ $# -eq 0 ]; then
        cp -a "$data/." "$E2E_START/"
        return 0
    fi
    local item
    for item in "$@"; do
        [ -e "$data/$item" ] || e2e_fail "data/$item is not in the repository"
        cp -a "$data/$item" "$E2E_START/"
    done
}

# Runs vivdrive with the given command; its output on stdout, its exit code returned.
e2e_drive() {
    wine "$E2E_DRIVER" "$@"
}

# True while the program's Unix process runs (a zombie counts as ended).
e2e_running() {
    local stat
    stat="$(cat "/proc/$E2E_WINE_PID/stat" 2>/dev/null)" || return 1
    stat="${stat##*) }"
    [ "${stat%% *}" != Z ]
}

# Starts the program in the scratch start folder, in the background, and finds its
# Windows process id (E2E_PID). Its output goes to the artefacts folder.
e2e_start() {
    (cd "$E2E_START" && exec wine "$E2E_EXE") >"$E2E_ARTEFACTS/wine.log" 2>&1 &
    E2E_WINE_PID=$!
    e2e_log "started $E2E_EXE in $E2E_START (pid $E2E_WINE_PID)"
    E2E_PID="$(e2e_drive process --image "$(basename "$E2E_EXE")" --cwd "$E2E_START" \
        --timeout 30000)" || { cat "$E2E_ARTEFACTS/wine.log" >&2; e2e_fail "the program did not start"; }
}

# e2e_screenshot NAME: the whole X display as ARTEFACTS/NAME.png.
e2e_screenshot() {
    import -window root "$E2E_ARTEFACTS/$1.png" && e2e_log "screenshot $E2E_ARTEFACTS/$1.png"
}

# e2e_wait_exit SECONDS: waits for the program to end; its exit code in E2E_EXIT_CODE.
e2e_wait_exit() {
    local end=$((SECONDS + ${1:-30}))
    while e2e_running; do
        [ $SECONDS -lt $end ] || e2e_fail "the program did not end within ${1:-30} s"
        sleep 0.1
    done
    E2E_EXIT_CODE=0
    wait "$E2E_WINE_PID" || E2E_EXIT_CODE=$?
    E2E_WINE_PID=""
}

# e2e_until SECONDS COMMAND...: runs COMMAND until it succeeds; false after SECONDS.
e2e_until() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.2
    done
}

# e2e_expect_eq WHAT EXPECTED ACTUAL
e2e_expect_eq() {
    [ "$2" = "$3" ] && return 0
    e2e_fail "$1 differs (< expected, > actual):
$(diff <(printf '%s\n' "$2") <(printf '%s\n' "$3"))"
}

e2e_pass() {
    E2E_FAILED=0
    e2e_log "PASS"
}

# e2e_setting KEY VALUE: sets one key of the scratch start folder's auto-saved design.
e2e_setting() {
    local file="$E2E_START/Vivivuz.dat"
    iconv -f UTF-16 -t UTF-8 "$file" |
        awk -v key="$1" -v value="$2" \
            'index($0, key "=") == 1 { print key "=" value "\r"; next } { print }' |
        iconv -f UTF-8 -t UTF-16 >"$file.new" && mv "$file.new" "$file" ||
        e2e_fail "cannot set $1 in Vivivuz.dat"
}

# e2e_saved KEY: the value of KEY in the auto-saved design.
e2e_saved() {
    iconv -f UTF-16 -t UTF-8 "$E2E_START/Vivivuz.dat" | tr -d '\r' |
        awk -v key="$1" 'index($0, key "=") == 1 { print substr($0, length(key) + 2) }'
}

# e2e_same_picture A B: the two pictures have the same pixels.
e2e_same_picture() {
    [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}

# e2e_card_shot MAIN NAME: the card area of the main window (client (10, 50), the shipped
# card's 455 x 275) as ARTEFACTS/NAME.png, once two screenshots a second apart agree: the
# window repaints a moment after a dialog over it goes.
e2e_card_shot() {
    local left top i
    read -r left top _ < <(e2e_drive client "$1") || e2e_fail "cannot read the client area"
    for i in $(seq 1 15); do
        sleep 1
        e2e_screenshot "$2-screen" >/dev/null || e2e_fail "cannot take a screenshot"
        convert "$E2E_ARTEFACTS/$2-screen.png" -crop "455x275+$((left + 10))+$((top + 50))" +repage \
            "$E2E_ARTEFACTS/$2.png" || e2e_fail "cannot crop the card"
        if [ $i -gt 1 ] && e2e_same_picture "$E2E_ARTEFACTS/$2.png" "$E2E_ARTEFACTS/$2-previous.png"; then
            rm -f "$E2E_ARTEFACTS/$2-previous.png"
            return 0
        fi
        cp "$E2E_ARTEFACTS/$2.png" "$E2E_ARTEFACTS/$2-previous.png"
    done
    e2e_fail "the card does not settle on the screen (see $2.png)"
}

# e2e_settle BOXES: answers the message boxes of the program's start-up (kept in
# ARTEFACTS/BOXES and logged) and finds its main window (E2E_MAIN).
e2e_settle() {
    e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
        >"$E2E_ARTEFACTS/$1" || e2e_fail "start-up did not settle"
    local caption text button
    while IFS=$'\t' read -r caption text button; do
        e2e_log "start-up box \"$caption\": $text [$button]"
    done <"$E2E_ARTEFACTS/$1"
    E2E_MAIN="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
        e2e_fail "no visible Main Window"
}

# e2e_exit_program [MAIN]: the exit command (to E2E_MAIN unless given); the program must
# end with exit code 0.
e2e_exit_program() {
    e2e_drive command "${1:-$E2E_MAIN}" 33 || e2e_fail "cannot send the exit command"
    e2e_wait_exit 30
    e2e_expect_eq "exit code" 0 "$E2E_EXIT_CODE"
}

# e2e_new_wine_session [PRINTER...]: ends the Wine session and starts another, which reads
# the printers afresh; waits until Wine knows exactly the named printers (none: no printer).
e2e_new_wine_session() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    # Wine's services start with the session's first program; start them detached so
    # that they hold no pipe of this script open.
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1
    local seen="" wanted=("$@")
    known_printers() {
        local name
        seen="$(e2e_drive printers 2>/dev/null | cut -f1)"
        [ ${#wanted[@]} -gt 0 ] || [ -z "$seen" ] || return 1
        for name in "${wanted[@]}"; do grep -qxF "$name" <<<"$seen" || return 1; done
    }
    e2e_until 20 known_printers || e2e_fail "Wine knows the printers \"$seen\", not \"$*\""
}

# e2e_open_layout PRINTER: the print command, PRINTER chosen in the print-setup dialog,
# OK; sets E2E_LAYOUT to the layout dialog that follows.
e2e_open_layout() {
    local setup
    e2e_drive command "$E2E_MAIN" 39 || e2e_fail "cannot send the print command"
    setup="$(e2e_drive wait --pid "$E2E_PID" --class '#32770' --owner "$E2E_MAIN" --timeout 15000)" ||
        e2e_fail "no print-setup dialog"
    e2e_drive select "$setup" 1136 "$1" || e2e_fail "$1 is not offered"
    e2e_drive click "$setup" 1 || e2e_fail "cannot press OK in the print-setup dialog"
    e2e_drive gone "$setup" --timeout 10000 || e2e_fail "the print-setup dialog stays"
    E2E_LAYOUT="$(e2e_drive wait --pid "$E2E_PID" --title "印刷の位置設定" --timeout 15000)" ||
        e2e_fail "no layout dialog"
}

# Where cups-pdf writes: its Out folder for the user who prints (us), and the folder
# for anonymous jobs.
e2e_pdf_folders() {
    local out
    out="$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)"
    out="${out:-\${HOME\}/PDF}"
    printf '%s\n' "${out//\$\{HOME\}/$HOME}"
    printf '%s\n' "$(sed -n 's/^AnonDirName[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null |
        tail -1 | grep . || echo /var/spool/cups-pdf/ANONYMOUS)"
}

# e2e_new_documents MARKER: the program's documents (named "Vivivuz...") written after the
# marker file.
e2e_new_documents() {
    local folder
    for folder in $(e2e_pdf_folders); do
        [ -d "$folder" ] && find "$folder" -maxdepth 1 -name 'Vivivuz*.pdf' -newer "$1"
    done
}

# e2e_wait_for_document MARKER SECONDS: prints the path once one document is complete.
e2e_wait_for_document() {
    local end=$((SECONDS + $2)) found size=-1 previous=-2
    while [ $SECONDS -lt $end ]; do
        found="$(e2e_new_documents "$1" | head -1)"
        if [ -n "$found" ]; then
            size="$(stat -c %s "$found")"
            [ "$size" = "$previous" ] && pdfinfo "$found" >/dev/null 2>&1 && {
                echo "$found"
                return 0
            }
            previous="$size"
        fi
        sleep 1
    done
    return 1
}
