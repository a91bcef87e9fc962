#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes screenshots of the real window under Xvfb, as a person would see it: empty, and with the
# sample ROM loaded through the file dialog. Needs xvfb, xdotool and imagemagick.
# Usage: tools/screenshot.sh [path of the quillon program]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/app/quillon}")
if [[ -z ${QUILLON_SCREENSHOT_DISPLAY:-} ]]; then
    exec env QUILLON_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 640x480x24" "$0" "$program"
fi

"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
window=$(xdotool search --sync --name '^Quillon$' | head -n 1)
sleep 1
import -window "$window" "$root/docs/window-empty.png"

# Browse... sits at (328, 16) inside the frame at (8, 8), 57 x 17 pixels.
xdotool mousemove --window "$window" 364 32 click 1
dialog=$(xdotool search --sync --name '^Select a ROM file$' | head -n 1)
sleep 1
import -window "$dialog" "$root/docs/file-dialog.png"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 5 "$root/samples/quillon-sample.bin"
xdotool key Return
sleep 1
import -window "$window" "$root/docs/window-loaded.png"
echo "wrote docs/window-empty.png, docs/file-dialog.png and docs/window-loaded.png"
