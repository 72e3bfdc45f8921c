#!/usr/bin/env bash
# A long fuzzing campaign (not run by CI): runs every target (or those named) for RUNS
# executions under AddressSanitizer and UndefinedBehaviorSanitizer, starting from fresh seeds and
# the saved inputs, keeps the new inputs that reach new code in fuzz/corpus/<target>/ (merged,
# minimised), and goes on to the next target after a finding. Each finding's input is left in
# build-fuzz/campaign/<target>/. Ends with one line per target:
#
#   TARGET  EXECUTIONS  COVERAGE (edges)  FINDINGS
#
#   tools/fuzz/campaign.sh [RUNS [TARGET...]]      (default: 10,000,000 runs, every target)
#
# CAMPAIGN_SECONDS=N also ends each target after N seconds, for a campaign that must fit a time.
# CAMPAIGN_TIMEOUT=N (default 10) is the time one input may take before it counts as a finding;
# raise it on a machine busy with other work, where a stalled run is not a slow input.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/fuzz_common.sh"
runs="${1:-10000000}"
seconds="${CAMPAIGN_SECONDS:-0}" # 0: no time limit
timeout="${CAMPAIGN_TIMEOUT:-10}"
shift || true
mapfile -t targets < <(fuzz_targets "$@")
fuzz_build "${targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fuzz_seed "$work/seeds" "${targets[@]}"

summary=()
for target in "${targets[@]}"; do
    findings="$build/campaign/$target"
    rm -rf "$findings"
    mkdir -p "$findings" "$work/new/$target"
    log="$work/$target.log"
    echo "== $target: $runs runs"
    # A finding ends the run early; the line below still reports how far it got.
    "$build/fuzz/fuzz_$target" -runs="$runs" -max_total_time="$seconds" -timeout="$timeout" \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$work/new/$target" "$root/fuzz/corpus/$target" \
        >"$log" 2>&1 || true
    executed="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    coverage="$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)"
    found="$(find "$findings" -type f | wc -l)"
    fuzz_merge "$target" "$work/new/$target" >/dev/null 2>&1
    summary+=("$(printf '%-24s %12s %10s %4s' "$target" "${executed:-0}" "${coverage:-?}" "$found")")
    echo "${summary[-1]}"
done

printf '\n%-24s %12s %10s %4s\n' target executions coverage findings
printf '%s\n' "${summary[@]}"
