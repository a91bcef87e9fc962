#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window program as a person uses it, on a display with a window manager (see OnDisplay.sh):
# it starts at its size, loads a ROM through the file dialog, saves it unchanged to the byte,
# refuses an invalid checksum, cuts a paste to the field, ignores Enter in the editors and ends
# when closed. The same for the Qt window and, under Wine, for quillon.exe; the points it clicks
# are the middles of the controls, from the table the build reads out of the window's form.
# Usage: WindowTest.sh [--wine] quillon|quillon.exe FormTable.txt
#   --wine runs quillon.exe in the Wine prefix QUILLON_WINE_PREFIX names.
set -euo pipefail

wine=()
if [[ $1 == --wine ]]; then
    wine=(bash "$(dirname "$0")/../../cmake/run-with-wine.sh" "$QUILLON_WINE_PREFIX")
    shift
fi
program=$1
table=$2

scratch=$(mktemp -d)
quillon=
finish() {
    [[ -n $quillon ]] && kill "$quillon" 2>/dev/null
    rm -rf "$scratch"
}
trap finish EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Waits up to 30 seconds for a window with exactly this title; prints its id.
waitForWindow() {
    local id
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
        [[ -n $id ]] && echo "$id" && return
        sleep 0.2
    done
    fail "no window \"$1\""
}
waitForNoWindow() {
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    fail "the window \"$1\" stays"
}
# Clicks the middle of a control of the main window, named as the form names it.
click() {
    local name left top width height
    read -r name left top width height < <(grep "^$1 " "$table") || fail "no control $1 in $table"
    xdotool mousemove --window "$window" $((left + width / 2)) $((top + height / 2)) click 1
    sleep 0.5
}
# Empties a single-line editor.
clearEditor() {
    click "$1"
    xdotool key --delay 20 End $(printf 'BackSpace %.0s' $(seq 20))
}
# Saves and waits until the file has been written: it has changed, then stays as it is.
save() {
    local before=$(stat -c %.9Y "$rom") now
    click cmdSave
    for _ in $(seq 100); do
        now=$(stat -c %.9Y "$rom")
        if [[ $now != "$before" ]]; then
            sleep 0.5
            [[ $(stat -c %.9Y "$rom") == "$now" ]] && return
        fi
        sleep 0.1
    done
    fail "Save Changes wrote nothing"
}

# A ROM whose six fields hold the bytes 1 to 145 between them, CR and LF included, with a
# stored checksum of 1234.
rom=$scratch/game.bin
{
    head -c 256 /dev/zero
    for value in $(seq 1 32); do printf "\\$(printf %03o "$value")"; done
    for value in $(seq 33 80); do printf "\\$(printf %03o "$value")"; done
    for value in $(seq 81 128); do printf "\\$(printf %03o "$value")"; done
    for value in $(seq 129 142); do printf "\\$(printf %03o "$value")"; done
    printf '\022\064'
    head -c 96 /dev/zero
    printf '\217\220\221'
    head -c 525 /dev/zero
} >"$rom"
[[ $(stat -c %s "$rom") == 1024 ]] || fail "the test ROM is $(stat -c %s "$rom") bytes"
cp "$rom" "$scratch/original.bin"

"${wine[@]}" "$program" >"$scratch/program.log" 2>&1 &
quillon=$!
window=$(waitForWindow Quillon)
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
[[ $geometry == 408x256 ]] || fail "the client area is $geometry, not 408x256"

click cmdBrowse
dialog=$(waitForWindow "Select a ROM file")
xdotool windowfocus --sync "$dialog"
xdotool type --delay 50 "$( ((${#wine[@]})) && "${wine[@]}" winepath.exe -w "$rom" | tr -d '\r' || echo "$rom")"
xdotool key Return
waitForNoWindow "Select a ROM file"
sleep 0.5

# Enter and Escape in a name editor and in a single-line one change nothing.
click txtHeaderInfo_2
xdotool key Return Escape
click txtHeaderInfo_4
xdotool key Return Escape
save
cmp -s "$rom" "$scratch/original.bin" || fail "an unchanged save changed the file"

clearEditor txtHeaderChecksum
xdotool type --delay 50 XYZ
click cmdSave
waitForWindow "Invalid Checksum" >/dev/null
xdotool key Return
waitForNoWindow "Invalid Checksum"
cmp -s "$rom" "$scratch/original.bin" || fail "a refused checksum changed the file"

# Seven characters copied from the checksum editor, which has no limit, and pasted into the
# three-character country code: the paste is cut to ABC, and the full editor then refuses a
# typed character. The file gets "ABC", where an uncut paste would give "XAB".
clearEditor txtHeaderChecksum
xdotool type --delay 50 ABCDEFG
xdotool key shift+Home ctrl+c
clearEditor txtHeaderInfo_5 # Country Code
xdotool key ctrl+v Home
xdotool type --delay 50 X
clearEditor txtHeaderChecksum
xdotool type --delay 50 1234
save
printf 'ABC' | dd of="$scratch/original.bin" bs=1 seek=$((0x1F0)) conv=notrunc status=none
cmp -s "$rom" "$scratch/original.bin" ||
    fail "the country code was saved as \"$(tail -c +$((0x1F1)) "$rom" | head -c 3)\", not ABC"

xdotool key alt+F4
for _ in $(seq 50); do
    kill -0 "$quillon" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$quillon" 2>/dev/null && fail "closing the window does not end the program"
wait "$quillon" || true
quillon=
echo "$(basename "$program") passed"
