#!/usr/bin/env bash
# The program runs only on a display of 96 dpi before Qt's own scaling: at
# 120 and 144 dpi it says "推荐您在小字体下使用本软件，请在设置后重新运行！"
# (caption "提示") and ends; at 96 it starts to its menu without a message.
source "$(dirname "$0")/common.inc"
make_bank
start_display 1024x768
# A client that stays connected, so the X server does not reset (and
# refuse connections for a moment) whenever one program run ends.
xprop -root -spy >/dev/null 2>&1 & PIDS+=("$!")
passed=0
for dpi in 120 144; do
  QT_FONT_DPI=$dpi PELLBROOK_TRACE_PROMPTS=1 "$APP/pellbrook" 2>"$WORK/err$dpi" &
  P=$!; PIDS+=("$P")
  win=$(wait_window "提示.*" 30) || fail "no refusal at $dpi dpi: $(cat "$WORK/err$dpi")"
  grep -q "prompt: \[提示\] 推荐您在小字体下使用本软件，请在设置后重新运行！" "$WORK/err$dpi" || fail "wrong message at $dpi dpi"
  xdotool windowactivate --sync "$win" key Return 2>/dev/null || xdotool key Return
  for _ in $(seq 100); do kill -0 "$P" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$P" 2>/dev/null && fail "program still running after the refusal at $dpi dpi"
  passed=$((passed + 1))
done
QT_FONT_DPI=96 PELLBROOK_TRACE_PROMPTS=1 "$APP/pellbrook" 2>"$WORK/err96" &
P=$!; PIDS+=("$P")
wait_window Velmora 30 >/dev/null || fail "no menu at 96 dpi: $(cat "$WORK/err96")"
grep -q "prompt:" "$WORK/err96" && fail "a message at 96 dpi: $(cat "$WORK/err96")"
kill "$P"
passed=$((passed + 1))
echo "small_fonts: $passed passed, 0 failed"
