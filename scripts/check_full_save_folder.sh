#!/usr/bin/env bash
# Runs a fast measurement against the virtual analyzer that saves automatically into a folder on
# a 3 MB filesystem, which fills up after two files: reception must go on and every record that
# could not be saved must be told. Needs root for the mount (tmpfs, or a loop-mounted ext2 image
# where tmpfs is refused) and the Release build's tests_core_link.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tests="${1:-$root/build/tests/tests_core_link}"
folder="$(mktemp -d)"
image=""
cleanup() {
    umount "$folder" 2>/dev/null || true
    rmdir "$folder"
    if [[ -n "$image" ]]; then rm -f "$image"; fi
}
trap cleanup EXIT

mount_small_filesystem() {
    mount -t tmpfs -o size=3m tmpfs "$folder" 2>/dev/null && return 0
    image="$(mktemp)"
    truncate -s 3M "$image"
    mkfs.ext2 -q "$image" 2>/dev/null && mount -o loop "$image" "$folder" 2>/dev/null
}
if ! mount_small_filesystem; then
    echo "skipped: no small filesystem could be mounted here (needs root)"
    exit 0
fi
df -h "$folder"
VARNOLT_FULL_FOLDER="$folder" "$tests" --gtest_filter='FullSaveFolderTest.*'
