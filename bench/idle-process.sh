#!/bin/sh
# The idle application as a user runs it: `corvane-display --simulate` under a private Xvfb,
# left alone. Prints its real wake-ups a second (the times any of its threads slept and was
# woken) over ten seconds and its resident memory.
#   bench/idle-process.sh build/perf/src/corvane-display [--simulate]
set -eu
[ $# -ge 1 ] || { echo "usage: $0 CORVANE_DISPLAY [ARGS...]" >&2; exit 2; }
program=$1
shift
measure() {
    "$program" "$@" &
    pid=$!
    sleep 3
    wakeups() { cat /proc/"$pid"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
    before=$(wakeups)
    sleep 10
    after=$(wakeups)
    rss=$(awk '/^VmRSS/ { print $2 }' /proc/"$pid"/status)
    threads=$(ls /proc/"$pid"/task | wc -l)
    kill "$pid"
    wait "$pid" || true
    echo "wakeups_per_s=$(echo "($after - $before) / 10" | bc -l | cut -c1-5) rss_MiB=$((rss / 1024)) threads=$threads"
}
if [ -z "${CORVANE_IN_XVFB:-}" ]; then
    CORVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$program" "$@"
fi
measure "$@"
