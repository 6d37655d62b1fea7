#!/usr/bin/env bash
# Builds the benchmarks on a Release build and runs them all. Every benchmark ends with a line
# "NAME target … measured … met|MISSED".
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth strace time bc
configure_release build/release
build "shell_bench corvane-display corvane-sim" build/release

status=0
echo "== application shell (off screen)"
build/release/bench/shell_bench --benchmark_min_time=0.2 || status=1
echo "== idle application process, real desktop code on a fake device tree"
idle=$(sh bench/idle-process.sh build/release/src/corvane-display)
echo "$idle"
grep -q MISSED <<<"$idle" && status=1
echo "== simulated desktop, memory"
memory=$(sh bench/sim-memory.sh build/release/tools/corvane-sim/corvane-sim)
echo "$memory"
grep -q MISSED <<<"$memory" && status=1
exit $status
