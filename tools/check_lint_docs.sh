#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's table of lint rules lists each rule the program has, with the same level, reason
# and source, and no other. Prints each row that differs and fails if there is one.
# Usage: tools/check_lint_docs.sh quillon-cli README.md
set -euo pipefail
program=$1
readme=$2
# The program lists its rules as "  id  level  reason", then "  rests on: source".
expected=$("$program" lint --help | awk '
    /^Rules/ { rules = 1; next }
    rules && /rests on:/ { sub(/^ *rests on: /, ""); print row " | " $0 " |"; next }
    rules && NF { id = $1; level = $2; $1 = ""; $2 = ""; sub(/^ +/, ""); row = "| `" id "` | " level " | " $0 }')
listed=$(grep -E '^\| `[a-z0-9-]+` \| (error|warning|note) \|' "$readme")
if [[ $expected != "$listed" ]]; then
    diff <(echo "$expected") <(echo "$listed") || true
    echo "the README's lint rules differ from the program's (< program, > README)" >&2
    exit 1
fi
