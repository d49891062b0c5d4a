#!/usr/bin/env bash
# Installs what is needed, builds every preset and runs every test: the native unit
# tests under the sanitizers, a short fuzzing run, then the Windows program end to end under Wine,
# on one monitor, on two in three layouts, and on two that report their EDIDs, modes and gamma.
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
# The second monitor right of the primary, left of it (negative x) and below it.
for placement in RightOf LeftOf Below; do
    LUMETTA_SECOND_MONITOR=$placement scripts/with-two-monitors.sh ctest --preset e2e-two-monitors
done
scripts/with-monitor-facts.sh ctest --preset e2e-monitor-facts
