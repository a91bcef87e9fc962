#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes screenshots of the real window under Xvfb and openbox, as a person would see it: empty,
# the file dialog, and with the sample ROM loaded through the dialog. The sample is copied into
# an ordinary user's folder first, so that no path of the machine taking them shows.
# Needs xvfb, openbox, xdotool and imagemagick.
# Usage: tools/screenshot.sh [path of the quillon program [its build's FormTable.txt]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/app/quillon}")
# Where the build put the controls, as it read them from the window's form.
table=$(realpath "${2:-$(dirname "$program")/../form/FormTable.txt}")
if [[ -z ${QUILLON_SCREENSHOT_DISPLAY:-} ]]; then
    exec env QUILLON_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 640x480x24" "$0" "$program" "$table"
fi

home=/home/user
roms=$home/roms
if [[ -e $roms/quillon-sample.bin ]]; then
    echo "$roms/quillon-sample.bin exists already; move it away first" >&2
    exit 1
fi
created= # the first folder made here, removed again at the end
for folder in "$home" "$roms"; do
    [[ -e $folder ]] || { created=${created:-$folder}; }
done
mkdir -p "$roms"
cp "$root/samples/quillon-sample.bin" "$roms/"
openbox &
wm=$!
sleep 1 # openbox up before the window, so that it frames it
(cd "$roms" && exec env HOME="$home" "$program") &
pid=$!
cleanup() {
    kill "$pid" "$wm" 2>/dev/null || true
    rm -f "$roms/quillon-sample.bin"
    [[ -z $created ]] || rm -r "$created"
}
trap cleanup EXIT
window=$(xdotool search --sync --onlyvisible --name '^Quillon$' | head -n 1)
sleep 1
import -window "$window" "$root/docs/window-empty.png"

read -r _ left top width height < <(grep '^cmdBrowse ' "$table")
xdotool mousemove --window "$window" $((left + width / 2)) $((top + height / 2)) click 1
dialog=$(xdotool search --sync --onlyvisible --name '^Select a ROM file$' | head -n 1)
sleep 1
import -window "$dialog" "$root/docs/file-dialog.png"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 5 quillon-sample.bin
xdotool key Return
sleep 1
import -window "$window" "$root/docs/window-loaded.png"
echo "wrote docs/window-empty.png, docs/file-dialog.png and docs/window-loaded.png"
