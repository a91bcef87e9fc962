#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets Quillon up on Debian 12: installs the packages it needs, builds it, then either starts
# the window program (run) or runs every test twice, the second time built with sanitizers, and
# checks the Debian package (test).
set -euo pipefail

mode=${1:-}
if [[ $mode != run && $mode != test ]]; then
    echo "usage: $0 run|test" >&2
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
