#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command on a virtual display of its own, with a window manager.
# Usage: OnDisplay.sh command [arguments...]
set -euo pipefail

if [[ ${1:-} != --on-display ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "$@"
fi
shift

openbox >/dev/null 2>&1 &
windowManager=$!
trap 'kill "$windowManager" 2>/dev/null' EXIT
"$@"
