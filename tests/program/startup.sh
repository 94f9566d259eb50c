#!/usr/bin/env bash
# The program starts to a full-screen window titled "Velmora"; a second
# start brings the first forward and ends while the first keeps running.
source "$(dirname "$0")/common.inc"
make_bank
start_display 1024x768
"$APP/pellbrook" 2>"$WORK/first.err" &
FIRST=$!; PIDS+=("$FIRST")
win=$(wait_window Velmora 30) || fail "no window titled Velmora"
sleep 1
geo=$(xdotool getwindowgeometry "$win")
echo "$geo" | grep -q "Geometry: 1024x768" || fail "window is not full screen: $geo"
timeout 20 "$APP/pellbrook" 2>"$WORK/second.err"; rc=$?
[ $rc -eq 0 ] || fail "second start did not end cleanly (rc $rc)"
kill -0 "$FIRST" 2>/dev/null || fail "first instance ended"
echo "startup: 1 passed, 0 failed"
