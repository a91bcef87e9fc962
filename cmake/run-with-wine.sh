#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a Windows program under Wine the same way whatever the caller's environment. The
# toolchain file names it as the build's emulator, so the tests, their discovery at build time
# and the window tests all start Wine through here.
# Usage: run-with-wine.sh PREFIX PROGRAM [ARGUMENTS...]
#   PREFIX is the build's own Wine prefix; a test that needs a prefix of its own (one made on a
#   display) names it in QUILLON_WINE_PREFIX instead.
set -euo pipefail
prefix=${QUILLON_WINE_PREFIX:-$1}
shift

# Wine maps Windows file names to Unix ones through the locale's character set: with no UTF-8
# locale (LANG unset, or C), a name beyond ASCII cannot be made at all. Debian's C library has
# C.UTF-8 built in.
export LC_ALL=C.UTF-8
unset LANGUAGE
# Never a prefix left in $HOME by an earlier run or by another program, nor the caller's own.
export WINEPREFIX=$prefix
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"

# Wine's background services keep the output of the program that started them open for as long
# as they run, which would hold a test, or the build step that lists a program's tests, until
# they end. So the server and the services are started here with no output to hold, one caller
# at a time, and the server is kept a while after its last program for the next to find.
exec 9>"$WINEPREFIX/.quillon-start.lock"
flock 9
if wineserver --persistent=30 </dev/null >/dev/null 2>&1; then
    wineboot --init </dev/null >/dev/null 2>&1
fi
flock --unlock 9
exec 9>&-
exec wine "$@"
