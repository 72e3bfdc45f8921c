#!/usr/bin/env bash
# Builds the benchmarks of the Release build in build/ and runs every one, then prints the table
# of their gates: each measured figure against its baseline (or a limit), the limit, and whether
# it passed. Each program's full output is kept in build/bench-logs/. Extra arguments go to every
# program (e.g. --benchmark_repetitions=5). Exits 1 when a gate fails or a figure is missing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
logs="$build/bench-logs"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target benchmarks
mkdir -p "$logs"

status=0
table=$(printf 'program\tfigure\tvalue\tlimit\tverdict\n')
for program in "$build"/bench/bench_*; do
    [ -x "$program" ] || continue
    name="$(basename "$program")"
    printf 'running %s\n' "$name" >&2
    if ! "$program" "$@" >"$logs/$name.txt" 2>&1; then
        status=1
    fi
    # The console's colour codes may stand before the first gate line.
    gates=$(sed 's/\x1b\[[0-9;]*m//g' "$logs/$name.txt" | grep -P '^gate\t' | cut -f2- || true)
    if [ -z "$gates" ]; then
        gates=$(printf '(no gate line)\t-\t-\tFAILED, see %s' "$logs/$name.txt")
        status=1
    fi
    table+=$'\n'$(sed "s|^|$name\t|" <<<"$gates")
done
column -t -s $'\t' <<<"$table"
exit "$status"
