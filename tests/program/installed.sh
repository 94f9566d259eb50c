#!/usr/bin/env bash
# The installed program, in a read-only prefix, started by its desktop entry's Exec line by users with
# empty homes: the menu shows, each user's bank is made in their own data folder and counts a judged
# answer, pictures and pages come from the share folder, uninstalling leaves the banks.  (Without root,
# the caller plays both users.)
source "$(dirname "$0")/common.inc"
BUILD="$(dirname "$PROGRAM")"; PREFIX="$WORK/prefix"; SHARE="$WORK/prefix/share/pellbrook"
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
chmod 755 "$WORK"; chmod -R a+rX,a-w "$PREFIX"
# Pages open through xdg-open; this one notes what it was asked to open.
mkdir -p "$WORK/bin" && printf '#!/bin/sh\necho "$1" >> "$HOME/opened"\n' > "$WORK/bin/xdg-open"
chmod 755 "$WORK/bin/xdg-open"
U1=pellbrook-user1; U2=pellbrook-user2
for u in $U1 $U2; do
  mkdir -p "$WORK/$u"
  if [ "$(id -u)" -eq 0 ]; then
    id "$u" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$u"
    chown "$u:" "$WORK/$u"
  fi
done
bank_of() { echo "$WORK/$1/.local/share/Pellbrook/data/VORDANBANK01.db"; }
EXEC=$(sed -n 's/^Exec=//p' "$PREFIX/share/applications/io.github.pellbrook.Pellbrook.desktop")
start_as() {   # start_as USER: prints the pid of the menu entry's command
  local as=()
  [ "$(id -u)" -eq 0 ] && as=(setpriv --reuid="$1" --regid="$1" --clear-groups)
  "${as[@]}" env -i HOME="$WORK/$1" USER="$1" PATH="$WORK/bin:$PREFIX/bin:/usr/bin:/bin" \
    DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb $EXEC >"$WORK/$1.err" 2>&1 &
  echo $!
}
window_of() {   # window_of PID TITLE [seconds]; xdotool's --name misses some Chinese titles
  for _ in $(seq 0 $((${3:-20} * 10))); do
    for id in $(xdotool search --pid "$1" 2>/dev/null); do
      [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$2" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
gone() { for _ in $(seq 100); do window_of "$1" "$2" 0 >/dev/null || return 0; sleep 0.1; done; return 1; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
quit_menu() {   # quit_menu PID: 退出 on the menu, then OK on the plan check
  xdotool windowraise "$(window_of "$1" Velmora)"; sleep 0.3; click 920 62
  local w; w=$(window_of "$1" "提示" 10) || fail "no plan check on quitting"
  xdotool windowfocus --sync "$w" 2>/dev/null || true; xdotool key Return
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  fail "the program did not end"
}

start_display 1024x768
xprop -root -spy >/dev/null 2>&1 & PIDS+=("$!")
P1=$(start_as $U1); PIDS+=("$P1")
window_of "$P1" Velmora 30 >/dev/null || fail "no menu: $(cat "$WORK/$U1.err")"
[ -n "${PELLBROOK_SCREENSHOTS:-}" ] && sleep 1 && import -window root "$PELLBROOK_SCREENSHOTS/installed-menu.png"
[ -s "$(bank_of $U1)" ] || fail "no bank in $U1's data folder"
# A new question of the first section, answered and judged.
for _ in 1 2 3 4 5; do click 188 200; window_of "$P1" "科目名称" 4 >/dev/null && break; done   # the menu may still be loading
window_of "$P1" "科目名称" 0 >/dev/null || fail "no chapter window"
click 150 249; click 875 205
window_of "$P1" "练习新题" >/dev/null || fail "no practice window (pictures missing?): $(cat "$WORK/$U1.err")"
click 433 654; click 144 710; click 962 710
gone "$P1" "练习新题" || fail "the practice window stayed open"
click 875 652; gone "$P1" "科目名称" || fail "the chapter window stayed open"
# 使用帮助 opens the page from the share folder; tunes are beside it.
click 810 643
for _ in $(seq 50); do [ -s "$WORK/$U1/opened" ] && break; sleep 0.1; done
[[ "$(cat "$WORK/$U1/opened" 2>/dev/null)" == *"$SHARE/htm/help.htm" ]] || fail "help page not opened from $SHARE"
[ -s "$SHARE/sound/乐曲01.mid" ] || fail "no tunes in $SHARE/sound"
# The second user, while the first still runs, gets a bank of their own.
P2=$(start_as $U2); PIDS+=("$P2")
window_of "$P2" Velmora 30 >/dev/null || fail "no menu for $U2: $(cat "$WORK/$U2.err")"
quit_menu "$P2"; quit_menu "$P1"
[ "$(sqlite3 "$(bank_of $U1)" "select sum(A2) from tab_rz")" = "1" ] || fail "$U1's answer was not counted"
[ "$(sqlite3 "$(bank_of $U2)" "select count(*) from tab_rz")" = "0" ] || fail "$U2's bank is not their own"
# Uninstalling removes every installed file and no user's bank.
chmod -R u+w "$PREFIX"
xargs -d '\n' rm -f < "$BUILD/install_manifest.txt"
[ -z "$(find "$PREFIX" -type f)" ] || fail "files left after uninstalling"
for u in $U1 $U2; do [ -s "$(bank_of $u)" ] || fail "uninstalling took $u's bank"; done
echo "installed: 1 passed, 0 failed"
