#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package and tries it as installed, without touching the system: apt must be
# able to satisfy its dependencies, and the programs unpacked into a scratch root must run on the
# packaged sample and validate their desktop files.
# Usage: tools/check_package.sh [build folder]
set -euo pipefail
build=$(realpath "${1:-build}")
rm -f "$build"/quillon_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/quillon_*.deb)

apt-get install --simulate --no-install-recommends "$deb" >/dev/null
echo "apt can install $(basename "$deb") with its dependencies: $(dpkg-deb -f "$deb" Depends)"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/quillon-cli" --version
"$root/usr/bin/quillon-cli" check "$root/usr/share/quillon/samples/quillon-sample.bin"
desktop-file-validate "$root/usr/share/applications/org.quillon.Quillon.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.quillon.Quillon.metainfo.xml"
for size in 16 32 48 64 128 256; do
    test -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.quillon.Quillon.png"
done
test -x "$root/usr/bin/quillon"
echo "package checked"
