#!/usr/bin/env bash
# Refreshes the saved fuzz inputs in fuzz/corpus/<target>/, which the ordinary tests replay.
# Writes fresh seeds with make_fuzz_seeds (the program's own writers and the virtual analyzer),
# fuzzes each target from its seeds and saved inputs for SECONDS, and merges into the corpus only
# the inputs that reach new code. A crash stops the script; its input is left in
# build-fuzz/artifacts/.
#
#   tools/fuzz/refresh_corpus.sh [SECONDS [TARGET...]]      (default: 60 s, every target)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/fuzz_common.sh"
seconds="${1:-60}"
shift || true
mapfile -t targets < <(fuzz_targets "$@")
fuzz_build "${targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fuzz_seed "$work/seeds" "${targets[@]}"
mkdir -p "$build/artifacts"

for target in "${targets[@]}"; do
    corpus="$root/fuzz/corpus/$target"
    mkdir -p "$work/new/$target"
    echo "== fuzzing $target for $seconds s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" "$work/new/$target" "$corpus"
    fuzz_merge "$target" "$work/new/$target"
    echo "== $target: $(find "$corpus" -type f | wc -l) saved inputs, $(du -sh "$corpus" | cut -f1)"
done
