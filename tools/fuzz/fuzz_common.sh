# Shared by the fuzzing scripts: builds the libFuzzer programs with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and lists the targets. Sourced, not run.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build-fuzz"

# Every target named by a fuzz/fuzz_<name>.cpp, or the names given.
fuzz_targets() {
    if [ $# -gt 0 ]; then
        printf '%s\n' "$@"
        return
    fi
    for source in "$root"/fuzz/fuzz_*.cpp; do
        name="$(basename "$source" .cpp)"
        echo "${name#fuzz_}"
    done
}

# Builds make_fuzz_seeds and the fuzz programs of the targets given.
fuzz_build() {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DVARNOLT_SANITIZE=address,undefined -DVARNOLT_BUILD_FUZZ=ON \
        -DVARNOLT_BUILD_TESTS=OFF -DVARNOLT_BUILD_UI=OFF -DVARNOLT_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build" --target make_fuzz_seeds "${@/#/fuzz_}"
}

# Writes fresh seeds into DIR and copies each target's seeds into its saved corpus.
fuzz_seed() {
    local seeds="$1"
    shift
    "$build/fuzz/make_fuzz_seeds" "$seeds"
    for target in "$@"; do
        mkdir -p "$root/fuzz/corpus/$target"
        if [ -d "$seeds/$target" ]; then
            cp "$seeds/$target"/* "$root/fuzz/corpus/$target"/
        fi
    done
}

# Keeps in the saved corpus of TARGET only what reaches new code (edges only, not hit counts,
# so the corpus stays small), taking the inputs found in NEW.
fuzz_merge() {
    local target="$1" new="$2"
    "$build/fuzz/fuzz_$target" -merge=1 -use_counters=0 "$root/fuzz/corpus/$target" "$new"
}
