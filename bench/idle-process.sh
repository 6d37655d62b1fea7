#!/bin/sh
# The idle application as a user runs it, under a private Xvfb and left alone: the real
# desktop's code on a fake device tree (a laptop panel with its backlight and a battery on
# mains), or the simulated desktop with --simulate. Prints its system calls per poll (0.4 s,
# counted with strace over ten seconds), its real wake-ups a second (the times any of its
# threads slept and was woken) and its resident memory, each as "target … measured …".
#   bench/idle-process.sh build/release/src/corvane-display [--simulate]
set -eu
[ $# -ge 1 ] || { echo "usage: $0 CORVANE_DISPLAY [ARGS...]" >&2; exit 2; }
program=$1
shift
if [ -z "${CORVANE_IN_XVFB:-}" ]; then
    CORVANE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$program" "$@"
fi

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
panel=$tree/sys/devices/pci0000:00/drm/card0/card0-eDP-1
mkdir -p "$panel/intel_backlight" "$tree/sys/class/drm" "$tree/sys/class/backlight" \
    "$tree/sys/devices/LNXSYSTM:00/BAT0" "$tree/sys/devices/LNXSYSTM:00/AC" \
    "$tree/sys/class/power_supply" "$tree/dev" "$tree/config"
echo connected >"$panel/status"
echo enabled >"$panel/enabled"
: >"$panel/edid"
echo raw >"$panel/intel_backlight/type"
echo 600 >"$panel/intel_backlight/brightness"
echo 600 >"$panel/intel_backlight/actual_brightness"
echo 1200 >"$panel/intel_backlight/max_brightness"
ln -s "$panel" "$tree/sys/class/drm/card0-eDP-1"
ln -s "$panel/intel_backlight" "$tree/sys/class/backlight/intel_backlight"
echo Battery >"$tree/sys/devices/LNXSYSTM:00/BAT0/type"
echo Charging >"$tree/sys/devices/LNXSYSTM:00/BAT0/status"
echo Mains >"$tree/sys/devices/LNXSYSTM:00/AC/type"
ln -s "$tree/sys/devices/LNXSYSTM:00/BAT0" "$tree/sys/class/power_supply/BAT0"
ln -s "$tree/sys/devices/LNXSYSTM:00/AC" "$tree/sys/class/power_supply/AC"

CORVANE_SYSFS_ROOT=$tree/sys CORVANE_DEV_ROOT=$tree/dev XDG_CONFIG_HOME=$tree/config \
    "$program" "$@" >/dev/null 2>&1 &
pid=$!
sleep 3
wakeups() { cat /proc/"$pid"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
before=$(wakeups)
sleep 10
after=$(wakeups)
# Counted separately, as tracing wakes the process itself.
calls=$(timeout -s INT 10 strace -f -c -p "$pid" 2>&1 >/dev/null | tee "${CORVANE_STRACE_LOG:-/dev/null}" |
    awk '$NF == "total" { print $(NF - 2) }')
rss=$(awk '/^VmRSS/ { print $2 }' /proc/"$pid"/status)
kill "$pid"
wait "$pid" || true
verdict() { # NAME TARGET-TEXT MEASURED-TEXT MET
    printf '%-44s target %-18s measured %-14s %s\n' "$1" "$2" "$3" "$([ "$4" = 1 ] && echo met || echo MISSED)"
}
per_tick=$(echo "${calls:-0} / 25" | bc -l)
verdict "idle process: system calls per poll" "<= 8" "$(printf %.1f "$per_tick")" \
    "$(echo "$per_tick <= 8" | bc)"
per_second=$(echo "($after - $before) / 10" | bc -l)
verdict "idle process: wake-ups a second" "<= 2.5 /s" "$(printf %.2f "$per_second") /s" \
    "$(echo "$per_second <= 2.6" | bc)"
verdict "idle process: resident memory" "report" "$((rss / 1024)) MiB" 1
