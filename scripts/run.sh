#!/usr/bin/env bash
# Builds the application and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build build/release ""
echo "Built: $(cd build/release && ls src/*.a | tr '\n' ' ')"
echo "The desktop application is not built yet; the libraries above hold the core and the simulated desktop."
