#!/usr/bin/env bash
# Smoke run of the desktop program on a virtual display: it starts, opens a saved document, computes
# the type curves, and quits through its own close (answering the unsaved-results question itself).
set -euo pipefail
program="$1"
maker="$2"
work="$3"
rm -rf "$work"
mkdir -p "$work/config"
"$maker" "$work/saved.tvx"
export XDG_CONFIG_HOME="$work/config"
output="$(xvfb-run -a -s '-screen 0 1280x900x24' "$program" --run-commands 32771 --screenshot "$work/after.png" \
  "$work/saved.tvx")"
echo "$output"
grep -q "saved.tvx - Tolvex" <<<"$output"
test -s "$work/after.png"
