#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on a virtual display of its own, with a window manager. Windows programs run in
# the Wine prefix that WINEPREFIX names, made here the first time: one that programs without a
# display started first cannot show windows.
# Usage: OnDisplay.sh command [arguments...]
set -euo pipefail

if [[ ${1:-} != --on-display ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "$@"
fi
shift

openbox >/dev/null 2>&1 &
windowManager=$!
trap 'kill "$windowManager" 2>/dev/null' EXIT
if [[ -n ${WINEPREFIX:-} && ! -f $WINEPREFIX/system.reg ]]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init </dev/null >/dev/null 2>&1
fi
"$@"
