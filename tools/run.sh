#!/usr/bin/env bash
# Installs what is needed, builds, generates the demo bank when it is
# missing (an existing bank keeps the user's study) and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh
exec ./build/pellbrook "$@"
