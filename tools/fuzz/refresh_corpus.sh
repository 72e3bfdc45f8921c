#!/usr/bin/env bash
# Refreshes the saved fuzz inputs in fuzz/corpus/<target>/, which the ordinary tests replay.
# Builds the libFuzzer programs with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/, writes fresh seeds with make_fuzz_seeds (the program's own writers and the virtual
# analyzer), fuzzes each target from its seeds and saved inputs for SECONDS, and merges into the
# corpus only the inputs that reach new code. A crash stops the script; its input is left in
# build-fuzz/artifacts/.
#
#   tools/fuzz/refresh_corpus.sh [SECONDS [TARGET...]]      (default: 60 s, every target)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
seconds="${1:-60}"
shift || true
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVARNOLT_SANITIZE=address,undefined -DVARNOLT_BUILD_FUZZ=ON \
    -DVARNOLT_BUILD_TESTS=OFF -DVARNOLT_BUILD_UI=OFF -DVARNOLT_BUILD_BENCH=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        name="$(basename "$source" .cpp)"
        targets+=("${name#fuzz_}")
    done
fi
cmake --build "$build" --target make_fuzz_seeds "${targets[@]/#/fuzz_}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/fuzz/make_fuzz_seeds" "$work/seeds"
mkdir -p "$build/artifacts"

for target in "${targets[@]}"; do
    corpus="$root/fuzz/corpus/$target"
    mkdir -p "$corpus" "$work/new/$target"
    if [ -d "$work/seeds/$target" ]; then
        cp "$work/seeds/$target"/* "$corpus"/
    fi
    echo "== fuzzing $target for $seconds s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$work/new/$target" "$corpus"
    # Edges only, not hit counts: the corpus keeps what reaches new code, and stays small.
    "$build/fuzz/fuzz_$target" -merge=1 -use_counters=0 "$corpus" "$work/new/$target"
    echo "== $target: $(find "$corpus" -type f | wc -l) saved inputs, $(du -sh "$corpus" | cut -f1)"
done
