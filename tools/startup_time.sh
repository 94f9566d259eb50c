#!/usr/bin/env bash
# Measures start-up to the first painted menu on the demo bank under Xvfb:
# the program, started with PELLBROOK_STARTUP_PROBE, prints the wall-clock
# time of its first menu paint and ends.  Prints the median of five starts
# as "startup ms: X".
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${1:-build/pellbrook}
[ -f build/data/VORDANBANK01.db ] || { echo "build first (bash tools/build.sh)"; exit 1; }
disp_file=$(mktemp)
exec 3>"$disp_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid 2>/dev/null; rm -f "$disp_file"' EXIT
for _ in $(seq 50); do [ -s "$disp_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$disp_file")" QT_QPA_PLATFORM=xcb USER="pellbrook-startup-$$"
times=()
for i in 1 2 3 4 5; do
  t0=$(date +%s%3N)
  out=$(PELLBROOK_STARTUP_PROBE=1 timeout 30 "$BIN" 2>/dev/null | grep first-paint-epoch-ms || true)
  [ -n "$out" ] || { echo "no first paint reported"; exit 1; }
  t1=${out##* }
  times+=($((t1 - t0)))
done
echo "runs ms: ${times[*]}"
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
echo "startup ms: $median"
