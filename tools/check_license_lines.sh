#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every source, CMake and script file names its licence on its first line, or on the second
# after a shebang line. Prints each file that does not and fails if there is one.
# Usage: tools/check_license_lines.sh [source folder]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
tag='SPDX-License-Identifier: MIT'
missing=0
while IFS= read -r -d '' file; do
    case $file in
    *.c | *.cpp | *.h | *.hpp | *.rc | *.h.in | *.cpp.in | *.rc.in | */CMakeLists.txt | *.cmake | *.sh | *.py) ;;
    *) head -c 2 "$file" | grep -q '^#!' || continue ;;
    esac
    lines=1
    head -c 2 "$file" | grep -q '^#!' && lines=2
    if ! head -n "$lines" "$file" | tail -n 1 | grep -qF "$tag"; then
        echo "no '$tag' at the top of $file"
        missing=1
    fi
done < <(find . \( -path './build*' -o -path ./.git \) -prune -o -type f -print0)
exit "$missing"
