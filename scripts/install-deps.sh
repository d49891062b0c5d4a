#!/usr/bin/env bash
# Installs everything Lumetta's builds and tests need on Debian 12 (run as root).
set -euo pipefail
packages=(
    cmake make g++ pkg-config python3           # native build and the icon generator
    libgtest-dev libgmock-dev libbenchmark-dev   # unit tests and benchmarks
    libpng-dev                                   # PNG pictures of the software canvas
    clang-16 libclang-rt-16-dev llvm             # fuzzing: libFuzzer and sanitizer runtimes, symbolizer
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64  # lumetta.exe (cross build, windres, objdump)
    wine64 fonts-wine                            # running it: Wine and the fonts Windows has
    xvfb xauth x11-utils imagemagick             # a virtual display, screenshots
    xserver-xorg-core xserver-xorg-video-dummy   # two virtual monitors side by side
    x11-xserver-utils libx11-dev libxrandr-dev   # their modes (xrandr) and EDIDs (lumetta_set_edid)
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
