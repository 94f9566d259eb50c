#!/usr/bin/env bash
# Installs the Debian packages the program, its tests and benchmarks need.
# Packages already present are skipped, so a second run downloads nothing.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite libsqlite3-dev qt6-charts-dev
  qt6-declarative-dev qml6-module-qtquick qml6-module-qtqml-workerscript qml6-module-qtquick-window
  libfluidsynth-dev timgm6mb-soundfont fonts-wqy-microhei
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  poppler-utils unzip qt6-translations-l10n
  desktop-file-utils appstream lintian dpkg-dev sqlite3
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
