#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets Quillon up on Debian 12: installs the packages it needs, builds it, then either starts
# the window program (run) or runs every test twice, the second time built with sanitizers, and
# checks the Debian package (test). The Windows build of quillon-cli is cross-compiled with
# MinGW-w64, tested under Wine and packed as a ZIP (windows; test does it too).
set -euo pipefail

mode=${1:-}
if [[ $mode != run && $mode != test && $mode != windows ]]; then
    echo "usage: $0 run|test|windows" >&2
    exit 2
fi
cd "$(dirname "$0")/.."

packages=(
    cmake g++ make pkg-config
    qt6-base-dev libgl-dev fonts-liberation
    libcli11-dev nlohmann-json3-dev
)
if [[ $mode == test ]]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang-format desktop-file-utils appstream
        dpkg-dev file xvfb xauth)
fi
if [[ $mode == windows ]]; then
    packages=(cmake make libcli11-dev nlohmann-json3-dev)
fi
if [[ $mode == windows || $mode == test ]]; then
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 googletest)
fi

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

jobs=2
build() { # folder, then CMake options
    local folder=$1
    shift
    cmake -S . -B "$folder" "$@"
    cmake --build "$folder" -j "$jobs"
}

windows() {
    echo "== quillon-cli for Windows, tested under Wine"
    # Wine runs console programs without a display; its first start makes its prefix (in $HOME),
    # with no .NET or browser engine. Its background services keep the output of the program that
    # started them open for as long as they run, which would stall that build step or test: they
    # are started here with no output to hold, and kept running until the tests are done.
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "${WINEPREFIX:-$HOME/.wine}"
    # A server that already runs (it refuses to start a second one) is used as it is.
    if wineserver --persistent </dev/null >/dev/null 2>&1; then
        trap 'wineserver --kill' EXIT
    fi
    wineboot --init </dev/null >/dev/null 2>&1 || {
        echo "Wine could not start (try: wineboot --init)" >&2
        exit 1
    }
    build build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DQUILLON_BUILD_UI=OFF -DQUILLON_BUILD_CLI=ON \
        -DQUILLON_BUILD_TESTS=ON -DQUILLON_BUILD_BENCH=OFF
    (cd build-windows && cpack)
    ctest --test-dir build-windows -j "$jobs" --output-on-failure --no-tests=error
}

if [[ $mode == windows ]]; then
    windows
    exit
fi

if [[ $mode == run ]]; then
    build build -DCMAKE_BUILD_TYPE=Release -DQUILLON_BUILD_UI=ON -DQUILLON_BUILD_CLI=ON \
        -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF
    echo "Starting Quillon; try it on samples/quillon-sample.bin (or: build/cli/quillon-cli show samples/quillon-sample.bin)"
    exec ./build/app/quillon
fi

all=(-DQUILLON_BUILD_UI=ON -DQUILLON_BUILD_CLI=ON -DQUILLON_BUILD_TESTS=ON)
build build -DCMAKE_BUILD_TYPE=Release "${all[@]}" -DQUILLON_BUILD_BENCH=ON
ctest --test-dir build -j "$jobs" --output-on-failure --no-tests=error
echo "== the Debian package"
bash tools/check_package.sh build
echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
build build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo "${all[@]}" -DQUILLON_SANITIZE=ON \
    -DQUILLON_BUILD_BENCH=OFF
ctest --test-dir build-sanitize -j "$jobs" --output-on-failure --no-tests=error
windows
