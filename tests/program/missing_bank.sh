#!/usr/bin/env bash
# Without a bank the program says "无法连接数据库！" (caption "错误") and ends
# when the message is closed; no bank file is created.
source "$(dirname "$0")/common.inc"
start_display 1024x768
PELLBROOK_TRACE_PROMPTS=1 "$APP/pellbrook" 2>"$WORK/err" &
P=$!; PIDS+=("$P")
win=$(wait_window "错误" 30) || fail "no message box titled 错误"
grep -q "prompt: \[错误\] 无法连接数据库！" "$WORK/err" || fail "wrong message: $(cat "$WORK/err")"
xdotool windowactivate --sync "$win" key Return 2>/dev/null || xdotool key Return
for _ in $(seq 100); do kill -0 "$P" 2>/dev/null || break; sleep 0.1; done
kill -0 "$P" 2>/dev/null && fail "program still running after the message"
[ ! -e "$APP/data/VORDANBANK01.db" ] || fail "a bank file was created"
echo "missing_bank: 1 passed, 0 failed"
