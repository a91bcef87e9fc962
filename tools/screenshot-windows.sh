#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the screenshot of quillon.exe under Wine in docs/: the sample ROM loaded, on Xvfb with a
# window manager. The sample is copied to C:\ROMs in the Wine prefix first, so that no path of
# the machine taking it shows. Needs wine, xvfb, openbox, xdotool and imagemagick.
# Usage: tools/screenshot-windows.sh [path of quillon.exe]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build-windows/win32/quillon.exe}")
if [[ -z ${QUILLON_SCREENSHOT_DISPLAY:-} ]]; then
    export QUILLON_SCREENSHOT_DISPLAY=1
    exec bash "$root/tests/window/OnDisplay.sh" bash "$0" "$program"
fi

prefix=$root/build-windows/wine-screenshot
roms=$prefix/drive_c/ROMs
mkdir -p "$roms"
cp "$root/samples/quillon-sample.bin" "$roms/"
bash "$root/cmake/run-with-wine.sh" "$prefix" "$program" 'C:\ROMs\quillon-sample.bin' >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(xdotool search --sync --onlyvisible --name '^Quillon$' | head -n 1)
sleep 2
import -frame -window "$window" "$root/docs/window-wine.png"
echo "wrote docs/window-wine.png"
