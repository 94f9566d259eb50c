#!/usr/bin/env bash
# The bank survives a kill -9 at any moment of a backup or a restore made
# from the command line: afterwards it passes the integrity check and is
# either the old bank or the restored one whole, and no half-written copy
# is ever listed or left under a final name.
source "$(dirname "$0")/common.inc"
RUNS="${CRASH_RUNS:-30}"
mkdir -p "$APP/data"
"$MAKEBANK" --questions 20000 --out "$APP/data/VORDANBANK01.db" >/dev/null
BANK="$APP/data/VORDANBANK01.db"
export USER="pellbrook-test-$$"
# No display is needed for the bank commands.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
check() { sqlite3 -readonly "$1" "PRAGMA integrity_check" 2>&1; }
marker() { sqlite3 -readonly "$1" "select coalesce(sum(A2),0) from tab_rz"; }

# Two banks to go back and forth between, told apart by their study log.
"$APP/pellbrook" --backup "$WORK/a.db" >/dev/null || fail "first backup"
cp "$WORK/a.db" "$WORK/b.db"
sqlite3 "$WORK/b.db" "insert into tab_rz (A1, A2) values ('2000-01-01', 12345)"
A=$(marker "$WORK/a.db"); B=$(marker "$WORK/b.db")
[ "$A" != "$B" ] || fail "the two banks look alike"

# How long one restore takes, so that kills land inside it.
t0=$(date +%s%N); "$APP/pellbrook" --restore "$WORK/a.db" >/dev/null || fail "restore"; t1=$(date +%s%N)
span=$(( (t1 - t0) / 1000000 + 1 ))
echo "one restore (with its backup first): ${span} ms"

kill_during() {   # kill_during ARGS... : starts the program, kills it at a random moment
  "$APP/pellbrook" "$@" >/dev/null 2>&1 &
  local p=$!
  sleep "$(awk -v r=$RANDOM -v s=$span 'BEGIN{printf "%.3f", r/32768*s/1000}')"
  kill -9 "$p" 2>/dev/null || true
  wait "$p" 2>/dev/null || true
}

killed_copies=0
for i in $(seq "$RUNS"); do
  kill_during --backup "$WORK/copy$i.db"
  [ "$(check "$BANK")" = "ok" ] || fail "bank damaged after a killed backup ($i)"
  if [ -e "$WORK/copy$i.db" ]; then
    [ "$(check "$WORK/copy$i.db")" = "ok" ] || fail "a half-written copy under its final name ($i)"
  else
    killed_copies=$((killed_copies + 1))
  fi
done

restored=0; old=0
for i in $(seq "$RUNS"); do
  before=$(marker "$BANK")
  if [ "$before" = "$A" ]; then want="$WORK/b.db"; other=$B; else want="$WORK/a.db"; other=$A; fi
  kill_during --restore "$want"
  [ "$(check "$BANK")" = "ok" ] || fail "bank damaged after a killed restore ($i)"
  now=$(marker "$BANK")
  if [ "$now" = "$before" ]; then old=$((old + 1)); elif [ "$now" = "$other" ]; then restored=$((restored + 1)); else fail "bank neither old nor restored ($i): $now"; fi
done

# Every listed copy is whole.
"$APP/pellbrook" --list-backups > "$WORK/list" || fail "--list-backups"
listed=0
while read -r _ _ _ _ _ path; do
  [ -n "${path:-}" ] && [ -e "$path" ] || continue
  [ "$(check "$path")" = "ok" ] || fail "listed copy damaged: $path"
  listed=$((listed + 1))
done < "$WORK/list"
grep -q '\.part' "$WORK/list" && fail "a .part file listed"
echo "backup kills: $RUNS ($killed_copies cut short); restore kills: $RUNS (old $old, restored $restored); listed copies checked: $listed"
echo "backup_crash: 1 passed, 0 failed"
