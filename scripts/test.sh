#!/usr/bin/env bash
# Sets everything up, builds Varnolt and runs every test: the Release build with the Qt tests
# on the offscreen platform, the Debian package made from that build with its checks, then the
# core tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and the threaded tests
# under ThreadSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

step() { printf '\n== %s\n' "$*"; }

step "Release build and all tests"
"$root/scripts/build.sh"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

step "Debian package and its checks"
"$root/scripts/check_package.sh"

step "Automatic saving into a small filesystem that fills up"
"$root/scripts/check_full_save_folder.sh"

sanitized_build() {
    local dir="$1" sanitizers="$2"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DVARNOLT_SANITIZE="$sanitizers" \
        -DVARNOLT_BUILD_UI=OFF -DVARNOLT_BUILD_BENCH=OFF >/dev/null
    cmake --build "$dir"
}

step "Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitized_build "$root/build-asan" address,undefined
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs" -L '^(core|sim)'

step "Threaded tests under ThreadSanitizer"
sanitized_build "$root/build-tsan" thread
TSAN_OPTIONS=halt_on_error=1 \
    ctest --test-dir "$root/build-tsan" --output-on-failure -j "$jobs" -L '^(core_link|core_capture|core_interop|sim)$'
