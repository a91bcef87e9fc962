#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets Quillon up on Debian 12: installs the packages it needs, builds it, then
#   run   starts the window program on a copy of the sample ROM;
#   test  runs every test twice, the second time built with sanitizers, and checks the Debian
#         package; runs each fuzz target for a few seconds; then does what windows does;
#   windows  cross-builds quillon.exe and quillon-cli for Windows with MinGW-w64, runs their
#         tests under Wine (the window's on a virtual display) and packs their ZIP.
# Each mode is a package list below and a function mode_NAME at the end.
set -euo pipefail

usage() {
    echo "usage: $0 run|test|windows" >&2
    exit 2
}
mode=${1:-}
[[ $mode == run || $mode == test || $mode == windows ]] || usage
cd "$(dirname "$0")/.."

# What the run and test modes need, including what the README's later commands use after either
# mode: the benchmark library, and dpkg-dev, file and help2man for cpack's Debian package.
packages=(
    cmake g++ make pkg-config python3
    qt6-base-dev libgl-dev fonts-liberation
    libcli11-dev nlohmann-json3-dev libarchive-dev zlib1g-dev
    libbenchmark-dev dpkg-dev file help2man
)
# The Windows build reads ZIP and gzip through MinGW's zlib. The window under Wine is tried as a
# person uses it: a virtual display with a window manager, mouse and keyboard, the clipboard and
# screenshots.
windowsPackages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 googletest
    xvfb xauth openbox xdotool xclip imagemagick)
case $mode in
test)
    # libfec computes disc sector parities independently of the core, for the tests to compare;
    # clang-14 and its runtime libraries build the fuzz targets with libFuzzer.
    packages+=(libgtest-dev libgmock-dev libfec-dev clang-14 libclang-rt-14-dev
        clang-format clang-tidy desktop-file-utils
        appstream lintian xvfb xauth "${windowsPackages[@]}")
    ;;
windows)
    # The cross build takes the header-only libraries from Debian, and nothing of Qt.
    packages=(cmake make python3 libcli11-dev nlohmann-json3-dev "${windowsPackages[@]}")
    ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=()
    ((EUID == 0)) || sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# What each mode builds and runs is a workflow of CMakePresets.json; with the packages in place,
# `cmake --workflow --preset NAME` does the same by hand.
workflow() { cmake --workflow --preset "$1"; }

mode_run() {
    workflow app
    # A copy, so that saving leaves the repository's sample as it is.
    local folder
    folder=$(mktemp -d)
    cp samples/quillon-sample.bin "$folder/"
    if [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
        echo "No graphical session here; from one, start: build/app/quillon $folder/quillon-sample.bin" >&2
        exit 1
    fi
    echo "Starting Quillon on $folder/quillon-sample.bin"
    ./build/app/quillon "$folder/quillon-sample.bin"
}

mode_test() {
    workflow default
    echo "== the Debian package"
    bash tools/check_package.sh build
    echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    workflow sanitize
    echo "== each fuzz target for a few seconds, from its seeds"
    workflow fuzz
    mode_windows
}

mode_windows() {
    echo "== quillon.exe and quillon-cli for Windows, tested under Wine"
    # Wine starts through cmake/run-with-wine.sh, in a prefix, a locale and with settings of the
    # build's own, so nothing of the caller's environment or of an earlier run's prefix counts.
    workflow windows
}

"mode_$mode"
