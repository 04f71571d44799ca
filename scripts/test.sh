#!/usr/bin/env bash
# The project's test command: installs what is missing, configures, builds and runs every
# test offscreen. Extra arguments go to ctest (for example: -L unit, -L gui, -R settings).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${ZAN_BUILD_DIR:-$here/build}"

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" "$@"
