#!/usr/bin/env bash
# The installed program: installed into a prefix nobody may write, started
# through its desktop entry's Exec line by users with empty home folders.
# The menu shows, each user's bank is made in their own data folder from
# the demo bank, a judged answer is counted there, pictures and help pages
# come from the installed share folder, and uninstalling leaves the banks.
source "$(dirname "$0")/common.inc"
BUILD="$(dirname "$PROGRAM")"
PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null
SHARE="$PREFIX/share/pellbrook"
chmod 755 "$WORK"
chmod -R a+rX,a-w "$PREFIX"

# Pages open through xdg-open; this one notes what it was asked to open.
FAKEBIN="$WORK/fakebin"
mkdir -p "$FAKEBIN"
printf '#!/bin/sh\necho "$1" >> "$HOME/opened"\n' > "$FAKEBIN/xdg-open"
chmod 755 "$FAKEBIN/xdg-open"

# Two unprivileged users; a run without root plays both as itself, each
# with a home and a user name of its own.
USERS=(pellbrook-user1 pellbrook-user2)
if [ "$(id -u)" -eq 0 ]; then
  for u in "${USERS[@]}"; do
    id "$u" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$u"
  done
fi
declare -A HOMES
for u in "${USERS[@]}"; do
  HOMES[$u]="$WORK/home-$u"
  mkdir -p "${HOMES[$u]}"
  [ "$(id -u)" -eq 0 ] && chown "$u:" "${HOMES[$u]}"
done
bank_of() { echo "${HOMES[$1]}/.local/share/Pellbrook/data/VORDANBANK01.db"; }

EXEC=$(sed -n 's/^Exec=//p' "$PREFIX/share/applications/io.github.pellbrook.Pellbrook.desktop")
[ "$EXEC" = "pellbrook" ] || fail "desktop entry runs \"$EXEC\""
start_as() {   # start_as USER -> starts the menu entry's command, prints the pid
  local u="$1" as=()
  [ "$(id -u)" -eq 0 ] && as=(setpriv --reuid="$u" --regid="$u" --clear-groups)
  "${as[@]}" env -i HOME="${HOMES[$u]}" USER="$u" PATH="$FAKEBIN:$PREFIX/bin:/usr/bin:/bin" \
    DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb $EXEC >"$WORK/$u.err" 2>&1 &
  echo $!
}
window_of() {   # window_of PID TITLE [seconds]
  for _ in $(seq 0 $((${3:-20} * 10))); do
    # Titles are compared here: xdotool's own name patterns miss some
    # Chinese titles.
    for id in $(xdotool search --pid "$1" 2>/dev/null); do
      [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$2" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
gone() {   # gone PID TITLE: the window has closed
  for _ in $(seq 100); do window_of "$1" "$2" 0 >/dev/null || return 0; sleep 0.1; done
  return 1
}
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
quit_menu() {   # quit_menu PID: 退出 on the menu, then OK on the plan check
  local w; w=$(window_of "$1" Velmora) || fail "no menu to quit"
  xdotool windowraise "$w"; sleep 0.3; click 920 62
  w=$(window_of "$1" "提示" 10) || fail "no plan check on quitting"
  xdotool windowfocus --sync "$w" 2>/dev/null || true; xdotool key Return
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  fail "the program did not end"
}
rows() { sqlite3 "$1" "$2"; }

start_display 1024x768
xprop -root -spy >/dev/null 2>&1 & PIDS+=("$!")
U1=${USERS[0]}; U2=${USERS[1]}
P1=$(start_as "$U1"); PIDS+=("$P1")
win=$(window_of "$P1" Velmora 30) || fail "no menu for $U1: $(cat "$WORK/$U1.err")"
sleep 1
xdotool getwindowgeometry "$win" | grep -q "Geometry: 1024x768" || fail "the menu is not full screen"
[ -n "${PELLBROOK_SCREENSHOTS:-}" ] && import -window root "$PELLBROOK_SCREENSHOTS/installed-menu.png"
[ -s "$(bank_of "$U1")" ] || fail "no bank in $U1's data folder"
[ ! -e "$SHARE/data/pellbrook.lock" ] || fail "the lock was made in the share folder"

# A new question of the first section, answered and judged.
click 188 200   # the first practice entry
window_of "$P1" "科目名称" >/dev/null || fail "no chapter window"
click 150 249; click 875 205
window_of "$P1" "练习新题" >/dev/null || fail "no practice window (pictures missing?): $(cat "$WORK/$U1.err")"
click 433 654; click 144 710; click 962 710
gone "$P1" "练习新题" || fail "the practice window stayed open"
click 875 652
gone "$P1" "科目名称" || fail "the chapter window stayed open"
# The help page opens from the installed share folder.
click 810 643
for _ in $(seq 50); do [ -s "${HOMES[$U1]}/opened" ] && break; sleep 0.1; done
opened=$(cat "${HOMES[$U1]}/opened" 2>/dev/null || true)
[[ "$opened" == *"$SHARE/htm/help.htm" ]] || fail "help opened \"$opened\""
# Tunes are AppDir + sound/, the folder the pictures and pages came from.
[ -s "$SHARE/sound/乐曲01.mid" ] || fail "no tunes in $SHARE/sound"

# The second user, while the first still runs, gets a bank of their own.
P2=$(start_as "$U2"); PIDS+=("$P2")
window_of "$P2" Velmora 30 >/dev/null || fail "no menu for $U2: $(cat "$WORK/$U2.err")"
[ -s "$(bank_of "$U2")" ] || fail "no bank in $U2's data folder"
quit_menu "$P2"
quit_menu "$P1"
[ "$(rows "$(bank_of "$U1")" "select sum(A2) from tab_rz")" = "1" ] || fail "$U1's answer was not counted"
[ "$(rows "$(bank_of "$U1")" "select count(*) from tab_answ where E1 <> ''")" = "1" ] || fail "$U1's question state"
[ "$(rows "$(bank_of "$U2")" "select count(*) from tab_rz")" = "0" ] || fail "$U2's bank holds $U1's study"

# Uninstalling removes every installed file and no user's bank.
chmod -R u+w "$PREFIX"
xargs -d '\n' rm -f < "$BUILD/install_manifest.txt"
left=$(find "$PREFIX" -type f | wc -l)
[ "$left" -eq 0 ] || fail "$left files left after uninstalling"
for u in "${USERS[@]}"; do [ -s "$(bank_of "$u")" ] || fail "uninstalling took $u's bank"; done
echo "installed: 1 passed, 0 failed"
