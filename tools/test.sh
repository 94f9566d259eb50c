#!/usr/bin/env bash
# Installs what is needed, builds and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
# CTest also runs the benchmarks' smoke run (the bench.* tests: every
# benchmark once on a small bank, failing on an error or a missing figure).
ctest --output-on-failure -j2 --timeout 600
