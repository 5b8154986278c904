#!/usr/bin/env bash
# Saving onto a full disk: a small file system (tmpfs, mounted as root) holding a saved
# design, filled up; the file-command tests then save onto it and check that the failure
# is reported and the saved file keeps its bytes.
# Usage: full_disk_test.sh WIN_TESTS_EXE SAVED_DESIGN
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
tests_exe="$1" saved="$2"

if [ "$(id -u)" != 0 ] && ! sudo -n true 2>/dev/null; then
    echo "SKIPPED: mounting a small file system needs root"
    exit 77
fi
disk="$(mktemp -d)"
cleanup() { as_root umount "$disk" 2>/dev/null; rmdir "$disk"; }
trap cleanup EXIT
as_root mount -t tmpfs -o size=256k,mode=1777 vivivuz-full "$disk" || fail "mount tmpfs"
cp "$saved" "$disk/card.ini" || fail "copy the saved design"
dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null
[ "$(df --output=avail -B1 "$disk" | tail -1)" -lt 4096 ] || fail "the disk did not fill up"

VIVIVUZ_FULL_DISK="Z:${disk//\//\\}" wine "$tests_exe" --gtest_filter='FileCommands.SaveOnAFullDisk*' \
    --gtest_also_run_disabled_tests 2>&1 | tee "$disk.log"
status=${PIPESTATUS[0]}
grep -q "SKIPPED" "$disk.log" && { rm -f "$disk.log"; fail "the full-disk test did not run"; }
rm -f "$disk.log"
cmp -s "$saved" "$disk/card.ini" || fail "the saved design changed"
exit "$status"
