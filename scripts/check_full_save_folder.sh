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
    [[ -n "$image" ]] && rm -f "$image"
}
trap cleanup EXIT

if ! mount -t tmpfs -o size=3m tmpfs "$folder" 2>/dev/null; then
    image="$(mktemp)"
    truncate -s 3M "$image"
    mkfs.ext2 -q "$image"
    mount -o loop "$image" "$folder"
fi
df -h "$folder"
VARNOLT_FULL_FOLDER="$folder" "$tests" --gtest_filter='FullSaveFolderTest.*'
