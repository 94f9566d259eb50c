#!/usr/bin/env bash
# Two starts at the same moment: one goes on to the menu, the other hands
# over and ends, every time.
source "$(dirname "$0")/common.inc"
make_bank
start_display 1024x768
# A client that stays connected, so the X server does not reset between
# rounds when the last program of a round ends.
xprop -root -spy >/dev/null 2>&1 & PIDS+=("$!")
rounds=5
for r in $(seq $rounds); do
  "$APP/pellbrook" 2>"$WORK/a$r.err" & A=$!
  "$APP/pellbrook" 2>"$WORK/b$r.err" & B=$!
  PIDS+=("$A" "$B")
  wait_window Velmora 30 >/dev/null || fail "round $r: no menu: $(cat "$WORK/a$r.err" "$WORK/b$r.err")"
  for _ in $(seq 100); do
    alive=0
    for p in $A $B; do kill -0 "$p" 2>/dev/null && alive=$((alive + 1)); done
    [ $alive -le 1 ] && break
    sleep 0.1
  done
  [ $alive -eq 1 ] || fail "round $r: $alive programs running"
  sleep 1
  alive=0
  for p in $A $B; do kill -0 "$p" 2>/dev/null && alive=$((alive + 1)); done
  [ $alive -eq 1 ] || fail "round $r: $alive programs running a second later"
  kill $A $B 2>/dev/null || true
  wait $A $B 2>/dev/null || true
done
echo "two_starts: $rounds passed, 0 failed"
