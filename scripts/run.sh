#!/usr/bin/env bash
# Builds the application and runs it: on the user's desktop when there is one, otherwise as a
# scripted demonstration on a private X server that saves screenshots into a folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth
configure_release build/release
build corvane-display build/release
app=build/release/src/corvane-display

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$app" "$@"
fi

shots="${CORVANE_DEMO_DIR:-$PWD/build/demo}"
rm -rf "$shots"
echo "No graphical session: running the demonstration on a private X server."
timeout 90 xvfb-run -a -s "-screen 0 1280x800x24" "$app" --demo "$shots"
echo "Screenshots of the popover, the indicator, the tray glyph and the virtual displays: $shots"
