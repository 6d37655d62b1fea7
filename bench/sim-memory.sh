#!/bin/sh
# corvane-sim's peak memory on a 100,000-line scenario of slider drags, key presses and
# card buttons on four displays (one of them with a 1,024-entry gamma table), as
# "target … measured …".
#   bench/sim-memory.sh build/release/tools/corvane-sim/corvane-sim
set -eu
[ $# -eq 1 ] || { echo "usage: $0 CORVANE_SIM" >&2; exit 2; }
scenario=$(mktemp)
trap 'rm -f "$scenario"' EXIT
{
    echo 'add boost "Panel" backlight=0.8'
    echo 'add ddc "Dell" current=70 max=100 main'
    echo 'add gamma "LG"'
    echo 'add gamma "BenQ" length=1024'
    echo 'start'
    awk 'BEGIN {
        for (i = 0; i < 99995; i++) {
            k = i % 10
            if (k < 4) printf "slide %d %d\n", 3 + i % 2, (i * 7) % 100
            else if (k < 6) print (i % 2 ? "key up" : "key down")
            else if (k == 6) printf "slide 2 %d\n", (i * 3) % 100
            else if (k == 7) print "advance 0.5"
            else if (k == 8) print "plus 1"
            else print "minus 3"
        }
    }'
} >"$scenario"
kib=$(/usr/bin/time -f %M "$1" "$scenario" 2>&1 >/dev/null | tail -n 1)
met=MISSED
[ "$kib" -lt $((20 * 1024)) ] && met=met
printf '%-44s target %-18s measured %-14s %s\n' "corvane-sim, 100,000 lines: peak memory" "< 20 MiB" \
    "$((kib / 1024)) MiB" "$met"
