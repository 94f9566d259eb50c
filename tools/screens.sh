#!/usr/bin/env bash
# Pictures of every window of the program in both layouts (1024 x 768 and
# 800 x 600), offscreen, on a fresh demo bank with a few answers, papers and
# log days: one PNG per window and layout in OUT, and OUT/sheet.png with
# all of them side by side.
#   bash tools/screens.sh OUT [BUILD]
set -euo pipefail
OUT="${1:?usage: tools/screens.sh OUT [BUILD]}"
SRC="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${2:-$SRC/build}"
cmake --build "$BUILD" -j2 --target screens makebank >/dev/null
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/data" "$OUT"
for d in pic sound htm; do cp -r "$SRC/$d" "$WORK/"; done
"$BUILD/makebank" --out "$WORK/data/VORDANBANK01.db" >/dev/null
rm -f "$OUT"/*.png
QT_QPA_PLATFORM=offscreen LANG=zh_CN.UTF-8 "$BUILD/screens" --appdir "$WORK" --out "$OUT" >/dev/null
# The sheet: both layouts of a window next to each other, in name order.
mapfile -t shots < <(cd "$OUT" && ls *_1024.png *_800.png | sort)
(cd "$OUT" && montage -label '%t' -font "$(fc-match -f '%{file}' 'WenQuanYi Micro Hei')" -pointsize 14 \
  -geometry 480x360+6+6 -tile 6x -background '#d8d8d8' "${shots[@]}" sheet.png)
echo "$(ls "$OUT" | grep -c '_.*\.png$') pictures and $OUT/sheet.png"
