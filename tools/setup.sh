#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets Quillon up on Debian 12: installs the packages it needs, builds it, then
#   run   starts the window program on a copy of the sample ROM;
#   test  runs every test twice, the second time built with sanitizers, and checks the Debian
#         package.
# Each mode is a package list below and a function mode_NAME at the end.
set -euo pipefail

usage() {
    echo "usage: $0 run|test" >&2
    exit 2
}
mode=${1:-}
[[ $mode == run || $mode == test ]] || usage
cd "$(dirname "$0")/.."

# What every mode needs, including what the README's later commands use after either mode:
# the benchmark library, and dpkg-dev, file and help2man for cpack's Debian package.
packages=(
    cmake g++ make pkg-config
    qt6-base-dev libgl-dev fonts-liberation
    libcli11-dev nlohmann-json3-dev
    libbenchmark-dev dpkg-dev file help2man
)
case $mode in
test)
    packages+=(libgtest-dev libgmock-dev clang-format desktop-file-utils appstream lintian xvfb xauth)
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

jobs=2
build() { # folder, then CMake options
    local folder=$1
    shift
    cmake -S . -B "$folder" "$@"
    cmake --build "$folder" -j "$jobs"
}
all=(-DQUILLON_BUILD_UI=ON -DQUILLON_BUILD_CLI=ON)

mode_run() {
    build build -DCMAKE_BUILD_TYPE=Release "${all[@]}" -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF
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
    build build -DCMAKE_BUILD_TYPE=Release "${all[@]}" -DQUILLON_BUILD_TESTS=ON -DQUILLON_BUILD_BENCH=ON
    ctest --test-dir build -j "$jobs" --output-on-failure --no-tests=error
    echo "== the Debian package"
    bash tools/check_package.sh build
    echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    # Nothing is packaged from this build, so it makes no manual pages.
    build build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo "${all[@]}" -DQUILLON_BUILD_TESTS=ON \
        -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF -DQUILLON_BUILD_MAN=OFF
    ctest --test-dir build-sanitize -j "$jobs" --output-on-failure --no-tests=error
}

"mode_$mode"
