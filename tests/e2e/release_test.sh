#!/usr/bin/env bash
# The release as a Windows user meets it, in a Wine prefix of its own (a fresh user):
# the installer run silently puts the program, the start folder, the shortcuts and the
# uninstaller in place; the program started as the desktop shortcut starts it shows the
# sample design; a second install keeps the user's files and replaces the shipped ones;
# the silent uninstall removes the program and keeps the user's files (all of them go
# only when asked); the zip unpacked into a folder starts the same way, showing the same
# card.
# Usage: bash release_test.sh VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR RELEASE_DIR
# (RELEASE_DIR holds what scripts/release.sh builds.)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
[ $# -eq 4 ] || { echo "usage: $0 VIVIVUZ_EXE VIVDRIVE_EXE ARTEFACTS_DIR RELEASE_DIR" >&2; exit 2; }
release_dir="$4"
e2e_init release "${@:1:3}"

version="$(cmake -P "$E2E_REPO/cmake/version.cmake")" || e2e_fail "cannot read the version"
setup="$release_dir/Vivivuz-$version-setup.exe"
zip_file="$release_dir/Vivivuz-$version.zip"
for f in "$setup" "$zip_file"; do
    [ -f "$f" ] || e2e_fail "no $f: build the release first (scripts/release.sh)"
done

# The scratch prefix and its home: shortcuts, user folders and the Wine server stay in
# here, apart from the shared prefix and the real home.
SCRATCH="$(mktemp -d "${TMPDIR:-/tmp}/vivivuz-release.XXXXXX")"
export WINEPREFIX="$SCRATCH/prefix" HOME="$SCRATCH/home"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe="
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_DESKTOP_DIR
mkdir -p "$HOME"
release_cleanup() {
    local status=$?
    if [ -n "$E2E_WINE_PID" ] && e2e_running; then
        kill "$E2E_WINE_PID" 2>/dev/null || true
        wait "$E2E_WINE_PID" 2>/dev/null || true
    fi
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$SCRATCH"
    (exit "$status")
    e2e_cleanup
}
trap release_cleanup EXIT

e2e_log "new Wine prefix $WINEPREFIX"
wineboot -i >/dev/null 2>&1 || e2e_fail "wineboot"
wineserver -p 120 >/dev/null 2>&1 || true

sample_qr="$(iconv -f UTF-16 -t UTF-8 "$E2E_REPO/data/Vivivuz.dat" | tr -d '\r' |
    sed -n 's/^qrcode_data\[0\]\.s=//p')"
[ -n "$sample_qr" ] || e2e_fail "the shipped design has no first QR code"
sha() { sha256sum "$1" 2>/dev/null | cut -d' ' -f1; }
# A Unix path for a Windows one; what winepath prints on a failure is no path.
win_to_unix() {
    local path
    path="$(winepath -u "$1" 2>/dev/null | tr -d '\r')"
    [[ "$path" == /* ]] || { echo "winepath could not convert $1: $path" >&2; return 1; }
    printf '%s\n' "$path"
}
# One wine cmd for the three user folders, as the installer sees them.
mapfile -t folders < <(wine cmd /c 'echo %LOCALAPPDATA%& echo %APPDATA%& echo %USERPROFILE%' 2>/dev/null |
    tr -d '\r')
[ ${#folders[@]} -ge 3 ] || e2e_fail "cannot read the user folders"
install_win="${folders[0]}\\Programs\\Vivivuz"
install="$(win_to_unix "$install_win")" || e2e_fail "cannot find the install folder"
start_menu_link="$(win_to_unix "${folders[1]}\\Microsoft\\Windows\\Start Menu\\Programs\\Vivivuz\\Vivivuz.lnk")"
desktop_link="$(win_to_unix "${folders[2]}\\Desktop\\Vivivuz.lnk")"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vivivuz'

# Starts the program PROGRAM in the folder START (Unix paths), answers
# what it reports at start-up (saved in ARTEFACTS/NAME_boxes.txt), checks the title,
# keeps the card as NAME.png and ends the program with the exit command.
run_program() {
    local name="$1" main
    E2E_EXE="$2"
    E2E_START="$3"
    [ -f "$E2E_EXE" ] || e2e_fail "$name: no program $E2E_EXE"
    e2e_start
    e2e_drive answer --pid "$E2E_PID" --main "Main Window" --timeout 60000 \
        >"$E2E_ARTEFACTS/${name}_boxes.txt" || e2e_fail "$name: start-up did not settle"
    main="$(e2e_drive wait --pid "$E2E_PID" --class "Main Window" --timeout 10000)" ||
        e2e_fail "$name: no visible Main Window"
    e2e_expect_eq "$name: title" "Vivivuz Ver$version" "$(e2e_drive title "$main")"
    # The sample design reads from the start folder: its pictures are found, so nothing
    # is reported.
    [ ! -s "$E2E_ARTEFACTS/${name}_boxes.txt" ] ||
        e2e_fail "$name: reported at start-up: $(cat "$E2E_ARTEFACTS/${name}_boxes.txt")"
    e2e_card_shot "$main" "$name"
    # The sample design's QR code, read off the card.
    e2e_expect_eq "$name: the sample design's QR code" "$sample_qr" \
        "$(zbarimg --quiet --raw --nodbus "$E2E_ARTEFACTS/$name.png" 2>/dev/null)"
    e2e_drive command "$main" 33 || e2e_fail "$name: cannot send the exit command"
    e2e_wait_exit 30
    e2e_expect_eq "$name: exit code" 0 "$E2E_EXIT_CODE"
    E2E_START=""
}

# 1. Silent install.
wine "$setup" /S || e2e_fail "the installer failed"
for f in Vivivuz.exe Uninstall.exe Vivivuz.dat Vivivuz_manual.pdf pp.gdt ms.gdt base mark phot kao temp; do
    [ -e "$install/$f" ] || e2e_fail "not installed: $install/$f"
done
[ -f "$start_menu_link" ] || e2e_fail "no Start-menu shortcut"
[ -f "$desktop_link" ] || e2e_fail "no desktop shortcut"
wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | tr -d '\r' >"$E2E_ARTEFACTS/uninstall_key.txt"
grep -qF "\"$install_win\\Uninstall.exe\"" "$E2E_ARTEFACTS/uninstall_key.txt" ||
    e2e_fail "no uninstaller registered: $(cat "$E2E_ARTEFACTS/uninstall_key.txt")"

# 2. The desktop shortcut: its target is the installed program, its working folder the
# start folder; the program started that way shows the sample design.
mapfile -t link < <(python3 - "$desktop_link" <<'PY'
import struct, sys
# A shell link: header, item list, link info (with the target's local path), then the
# counted strings, the working folder among them.
d = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", d, 0x14)[0]
pos = 0x4C
if flags & 0x1:
    pos += 2 + struct.unpack_from("<H", d, pos)[0]
target = ""
if flags & 0x2:
    size, header, info_flags, _, base = struct.unpack_from("<IIIII", d, pos)
    if info_flags & 0x1:
        if header >= 0x24:
            at = end = pos + struct.unpack_from("<I", d, pos + 0x1C)[0]
            while d[end:end + 2] != b"\0\0":
                end += 2
            target = d[at:end].decode("utf-16le")
        else:
            target = d[pos + base:d.index(b"\0", pos + base)].decode("cp932")
    pos += size
strings = {}
for bit in (0x4, 0x8, 0x10, 0x20, 0x40):
    if flags & bit:
        n = struct.unpack_from("<H", d, pos)[0]
        pos += 2
        if flags & 0x80:
            strings[bit] = d[pos:pos + 2 * n].decode("utf-16le")
            pos += 2 * n
        else:
            strings[bit] = d[pos:pos + n].decode("cp932")
            pos += n
print(target)
print(strings.get(0x10, ""))
PY
)
e2e_expect_eq "shortcut target" "${install_win,,}\\vivivuz.exe" "${link[0],,}"
e2e_expect_eq "shortcut working folder" "${install_win,,}" "${link[1],,}"
run_program installed "$(win_to_unix "${link[0]}")" "$(win_to_unix "${link[1]}")"

# 3. The user's files, and a shipped picture as an older version left it.
python3 - "$install/Vivivuz.dat" <<'PY' || e2e_fail "cannot change Vivivuz.dat"
import sys
with open(sys.argv[1], "ab") as f:
    f.write("str_data[2].s64=山田　花子\r\n".encode("utf-16-le"))
PY
printf 'user list\r\n' >"$install/listview.ini"
cp "$install/base/base-01.bmp" "$install/base/自分の写真.bmp"
printf 'user template' >"$install/temp/自分の名刺.tep"
printf 'an older picture' >"$install/mark/mark-01.bmp"
user_files=(Vivivuz.dat Vivivuz.prt listview.ini "base/自分の写真.bmp" "temp/自分の名刺.tep")
declare -A before
for f in "${user_files[@]}"; do
    [ -f "$install/$f" ] || e2e_fail "no user file $f before the second install"
    before[$f]="$(sha "$install/$f")"
done
expect_user_files() {
    local f
    for f in "${user_files[@]}"; do
        e2e_expect_eq "$1: $f" "${before[$f]}" "$(sha "$install/$f")"
    done
}

# 4. Installing again keeps them and replaces the shipped picture.
wine "$setup" /S || e2e_fail "the second install failed"
expect_user_files "second install"
e2e_expect_eq "shipped picture after the second install" "$(sha "$E2E_REPO/data/mark/mark-01.bmp")" \
    "$(sha "$install/mark/mark-01.bmp")"

# 5. Silent uninstall: it runs on from a copy of itself, so wait for its work to end.
wine "$install/Uninstall.exe" /S || e2e_fail "the uninstaller failed"
uninstalled() {
    [ ! -e "$install/Vivivuz.exe" ] && [ ! -e "$install/Uninstall.exe" ] &&
        [ ! -e "$desktop_link" ] && ! wine reg query "$uninstall_key" >/dev/null 2>&1
}
e2e_until 30 uninstalled || e2e_fail "the uninstall left the program, its shortcut or its registration"
[ ! -e "$start_menu_link" ] || e2e_fail "the Start-menu shortcut stays"
for f in Vivivuz_manual.pdf pp.gdt mark/mark-01.bmp kao; do
    [ ! -e "$install/$f" ] || e2e_fail "the uninstall left the shipped $f"
done
expect_user_files "uninstall"
find "$install" | sort >"$E2E_ARTEFACTS/left_after_uninstall.txt"

# 6. Asked to, the uninstall removes the user's files as well.
wine "$setup" /S || e2e_fail "the third install failed"
wine "$install/Uninstall.exe" /S /REMOVEUSERFILES || e2e_fail "the uninstaller failed"
all_gone() { [ ! -e "$install" ]; }
e2e_until 30 all_gone || e2e_fail "the uninstall asked to remove everything left $(find "$install" | head)"

# 7. The zip, unpacked into a folder of its own, starts there the same way.
unzip -q "$zip_file" -d "$SCRATCH/unzipped" || e2e_fail "cannot unzip $zip_file"
folder="$SCRATCH/unzipped/Vivivuz-$version"
[ -f "$folder/Vivivuz.dat" ] || e2e_fail "the zip has no start folder Vivivuz-$version"
run_program zip "$folder/Vivivuz.exe" "$folder"
e2e_same_picture "$E2E_ARTEFACTS/installed.png" "$E2E_ARTEFACTS/zip.png" ||
    e2e_fail "the zip's card differs from the installed program's (installed.png, zip.png)"

e2e_pass
