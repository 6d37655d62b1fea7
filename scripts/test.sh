#!/usr/bin/env bash
# Builds and runs every test: the README's Release build (with the benchmarks, warnings as
# errors), an AddressSanitizer + UndefinedBehaviorSanitizer build, the DDC, model and display
# tests under ThreadSanitizer, and each fuzz target for a short fixed time.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool x11-xserver-utils x11-utils dbus dbus-session-bus-common python3-dbusmock clang libclang-rt-14-dev appstream

passed=0
failed=0
# run_suite NAME BUILD-DIR [ctest arguments...]
run_suite() {
    local name=$1 dir=$2
    shift 2
    echo "== $name"
    local log
    log=$(mktemp)
    set +e
    ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" "$@" 2>&1 | tee "$log"
    set -e
    local summary
    summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$summary" ]; then
        echo "$name: no test summary" >&2
        failed=$((failed + 1))
        return
    fi
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

configure_release build/release
build "" build/release
run_suite "release build" build/release

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
configure_and_build build/asan "address;undefined"
run_suite "address and undefined-behaviour sanitizers" build/asan

export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
BUILD_TARGETS="ddc_tests model_tests display_tests" configure_and_build build/tsan "thread" \
    -DCORVANE_BUILD_APP=OFF
run_suite "thread sanitizer: DDC, model, display" build/tsan -R '^(ddc|model|display)_tests\.'

# The fuzz targets, 15 s each, on a clang build with AddressSanitizer + UndefinedBehaviorSanitizer.
configure_and_build build/fuzz "address;undefined" -DCMAKE_CXX_COMPILER=clang++ \
    -DCORVANE_FUZZ=ON -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_APP=OFF
run_suite "fuzzing" build/fuzz

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
