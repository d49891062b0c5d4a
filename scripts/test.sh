#!/usr/bin/env bash
# Installs what is needed, builds every preset and runs every test: the native unit
# tests under the sanitizers, a short fuzzing run, then the Windows program end to end under Wine,
# on one monitor and then on two.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

# The benchmark is built, not run: its figures need a quiet machine (see the README).
cmake --preset bench
cmake --build --preset bench

cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz

cmake --preset mingw
cmake --build --preset mingw
cmake --build --preset mingw --target package
scripts/with-wine-display.sh ctest --preset e2e
scripts/with-two-monitors.sh ctest --preset e2e-two-monitors
