#!/usr/bin/env bash
# The desktop entry, the AppStream metadata and the Debian package pass
# Debian's own checks without errors; the package names what the program
# loads at run time beside the libraries it links.
set -euo pipefail
BUILD="$(dirname "$1")"; DIST="$(cd "$(dirname "$0")/../../dist/linux" && pwd)"
WORK="$(mktemp -d)"; trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
desktop-file-validate "$DIST/io.github.pellbrook.Pellbrook.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$DIST/io.github.pellbrook.Pellbrook.metainfo.xml" || fail "appstreamcli validate"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
[ "$("$1" --version)" = "pellbrook $version" ] || fail "--version says \"$("$1" --version)\", not $version"
(cd "$BUILD" && cpack -G DEB -B "$WORK" >/dev/null) || fail "cpack"
deb=("$WORK"/pellbrook_"$version"_*.deb)
depends=$(dpkg-deb -f "${deb[0]}" Depends) || fail "no pellbrook_${version}_<arch>.deb"
for p in libqt6sql6-sqlite qml6-module-qtquick qml6-module-qtqml-workerscript qml6-module-qtquick-window \
         qt6-translations-l10n fonts-wqy-microhei timgm6mb-soundfont libqt6widgets6 libfluidsynth3; do
  [[ ", $depends," == *", $p"[\ ,]* ]] || fail "Depends lacks $p: $depends"
done
dpkg-deb -c "${deb[0]}" > "$WORK/contents"
grep -q "usr/share/pellbrook/data/VORDANBANK01.db" "$WORK/contents" || fail "no demo bank in the package"
lintian --fail-on error --tag-display-limit 0 "${deb[0]}" 2>/dev/null || fail "lintian"   # warnings are printed
echo "package: 1 passed, 0 failed ($(stat -c %s "${deb[0]}") bytes)"
