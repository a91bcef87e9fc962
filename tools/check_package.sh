#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package and tries it as installed, without touching the system: apt must be
# able to satisfy its dependencies, lintian must find no error and no warning, the programs
# unpacked into a scratch root must run on the packaged sample, and the desktop files, manual
# pages, copyright and changelog must be what Debian expects.
# Usage: tools/check_package.sh [build folder]
set -euo pipefail
build=$(realpath "${1:-build}")
source=$(cd "$(dirname "$0")/.." && pwd)
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
"$root/usr/bin/quillon-cli" lint --strict "$root/usr/share/quillon/samples/quillon-sample.bin"
desktop-file-validate "$root/usr/share/applications/org.quillon.Quillon.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.quillon.Quillon.metainfo.xml"
for size in 16 32 48 64 128 256; do
    test -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/org.quillon.Quillon.png"
done
test -x "$root/usr/bin/quillon"

version=$(dpkg-deb -f "$deb" Version)
doc=$root/usr/share/doc/quillon
# Every program has a page that renders without a complaint, names it and carries this version.
for program in "$root"/usr/bin/*; do
    name=$(basename "$program")
    page=$root/usr/share/man/man1/$name.1.gz
    text=$(MANWIDTH=80 man --warnings -l "$page" 2>"$root/man-warnings")
    if [[ -s $root/man-warnings ]]; then
        cat "$root/man-warnings" >&2
        exit 1
    fi
    grep -Eq "^ *$name +- " <<<"$text" || { echo "$name.1 does not name $name" >&2; exit 1; }
    grep -q "$version" <<<"$text" || { echo "$name.1 is not of version $version" >&2; exit 1; }
done
echo "manual pages: $(cd "$root/usr/share/man/man1" && echo *)"

# The copyright file is machine-readable and its licence text is LICENSE's, word for word.
head -n 1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
sed -n '/^ Permission/,$p' "$doc/copyright" | sed 's/^ //; s/^\.$//' >"$root/license-text"
awk '/^Permission/ { text = 1 } text' "$source/LICENSE" | diff - "$root/license-text"
echo "copyright: machine-readable, with the licence text of LICENSE"

# The newest changelog entry is this version: whoever raises the version writes the entry.
zcat "$doc/changelog.gz" >"$root/changelog"
logged=$(dpkg-parsechangelog -l "$root/changelog" -S Version)
if [[ $logged != "$version" ]]; then
    echo "the newest changelog entry is $logged, the package $version" >&2
    exit 1
fi
released=$(date -u -d "$(dpkg-parsechangelog -l "$root/changelog" -S Date)" +%F)
metainfo=$root/usr/share/metainfo/org.quillon.Quillon.metainfo.xml
if ! grep -q "<release version=\"$version\" date=\"$released\"" "$metainfo"; then
    echo "the metainfo does not list release $version of $released as the changelog does" >&2
    exit 1
fi
echo "changelog: newest entry $logged of $released, as in the metainfo"

# Root runs lintian with a warning of its own on stderr; the tags go to stdout.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2)
echo "lintian: no error, no warning"
echo "package checked"
