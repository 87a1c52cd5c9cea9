#!/usr/bin/env bash
# Runs the engine in analysis mode under real xboard (headless) for a while and
# checks from xboard's debug log that the analysis deepened without restarting.
# Usage: xboard_analysis.sh ENGINE [SECONDS]
set -euo pipefail
engine=$(readlink -f "$1")
seconds=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
PATH=$PATH:/usr/games timeout "$seconds" xvfb-run -a xboard -xexit -saveSettingsOnExit false \
  -fcp "$engine" -fd "$work" -mode Analysis -debug -nameOfDebugFile "$work/xboard.debug" >/dev/null 2>&1 || true
# Post lines from the engine: "<first : depth score time nodes move".
awk '$2 == "<first" && $4 ~ /^[0-9]+$/ && NF >= 8 { print $4 }' xboard.debug > depths
grep -q '>first : analyze' xboard.debug || { echo "xboard never started the analysis"; exit 1; }
deepest=$(sort -n depths | tail -n 1)
restarts=$(awk 'NR > 1 && $1 < previous { n++ } { previous = $1 } END { print n + 0 }' depths)
echo "analysis under xboard: deepest iteration $deepest after ${seconds}s, restarts $restarts"
[ "${deepest:-0}" -ge 8 ] && [ "$restarts" -eq 0 ]
