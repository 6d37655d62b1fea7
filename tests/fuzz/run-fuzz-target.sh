#!/usr/bin/env bash
# run-fuzz-target.sh TARGET SECONDS CORPUS REGRESSIONS [SEEDS...]
# Runs the target on every regression input, then fuzzes it for SECONDS from the seeds,
# growing CORPUS (kept between runs). Fails on any crash, leak, timeout or broken property.
set -euo pipefail
target=$1 seconds=$2 corpus=$3 regressions=$4
shift 4
mkdir -p "$corpus"
cd "$(dirname "$corpus")"  # where crash and timeout inputs are written
if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    "$target" -rss_limit_mb=4096 "$regressions"/*
fi
seeds=()
for seed in "$@"; do [ -d "$seed" ] && seeds+=("$seed"); done
# A fixed seed makes a run repeatable: the same mutations in the same order on every machine.
exec "$target" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
    "$corpus" "${seeds[@]}"
