#!/usr/bin/env bash
# Both builds must search exactly the same tree: equal fixed-depth node totals.
set -euo pipefail
x64=$("$1" 7 < /dev/null | awk '/^Bench:/ {print $2}')
w32=$("$2" 7 < /dev/null | awk '/^Bench:/ {print $2}')
echo "x64 $x64, w32 $w32"
[ -n "$x64" ] && [ "$x64" = "$w32" ]
