#!/usr/bin/env bash
# The desktop entry, the AppStream metadata and the Debian package pass the
# checks of Debian's own tools without errors, and the package names what
# the program loads at run time beside the libraries it links.
set -euo pipefail
BUILD="$(dirname "$1")"
SRC="$(cd "$(dirname "$0")/../.." && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
ID=io.github.pellbrook.Pellbrook

desktop-file-validate "$SRC/dist/linux/$ID.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$SRC/dist/linux/$ID.metainfo.xml" || fail "appstreamcli validate"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
[ "$("$1" --version)" = "pellbrook $version" ] || fail "--version says \"$("$1" --version)\", the project is $version"
(cd "$BUILD" && cpack -G DEB -B "$WORK" >/dev/null) || fail "cpack"
deb=("$WORK"/pellbrook_"$version"_*.deb)
[ -f "${deb[0]}" ] || fail "no pellbrook_${version}_<arch>.deb"
depends=$(dpkg-deb -f "${deb[0]}" Depends)
for p in libqt6sql6-sqlite qml6-module-qtquick qml6-module-qtqml-workerscript qml6-module-qtquick-window \
         qt6-translations-l10n fonts-wqy-microhei timgm6mb-soundfont libqt6widgets6 libfluidsynth3; do
  [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done
dpkg-deb -c "${deb[0]}" > "$WORK/contents"
grep -q "usr/share/pellbrook/data/VORDANBANK01.db" "$WORK/contents" || fail "no demo bank in the package"
# Errors fail; warnings are printed for the record.
lintian --fail-on error --tag-display-limit 0 "${deb[0]}" 2>/dev/null || fail "lintian"
echo "package: 1 passed, 0 failed ($(stat -c %s "${deb[0]}") bytes)"
