#!/usr/bin/env bash
# What the desktop shows as a window's title is exactly the window's
# caption: the message box of a missing bank is "错误", the refusal of a
# display that is not at 96 dpi is "提示", the main window is "Velmora".
source "$(dirname "$0")/common.inc"
start_display 1024x768
# A client that stays connected, so the X server does not reset (and
# refuse connections for a moment) whenever one program run ends.
xprop -root -spy >/dev/null 2>&1 & PIDS+=("$!")

net_name() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }

check_message() {   # check_message CAPTION [env...]
  local caption="$1"; shift
  env "$@" "$APP/pellbrook" 2>"$WORK/err" &
  local p=$!; PIDS+=("$p")
  local win
  win=$(wait_window "${caption}.*" 30) || fail "no window for $caption"
  local shown; shown=$(net_name "$win")
  [ "$shown" = "$caption" ] || fail "desktop title \"$shown\", expected \"$caption\""
  xdotool windowactivate --sync "$win" key Return 2>/dev/null || xdotool key Return
  for _ in $(seq 100); do kill -0 "$p" 2>/dev/null || break; sleep 0.1; done
  kill "$p" 2>/dev/null || true
}

check_message "错误"
make_bank
check_message "提示" QT_FONT_DPI=120

"$APP/pellbrook" 2>"$WORK/main.err" &
P=$!; PIDS+=("$P")
win=$(wait_window Velmora 30) || fail "no window titled Velmora"
shown=$(net_name "$win")
[ "$shown" = "Velmora" ] || fail "main window shows \"$shown\""
echo "captions: 3 passed, 0 failed"
