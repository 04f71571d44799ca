#!/usr/bin/env bash
# The project's test command: installs what is missing, configures, builds and runs every
# test offscreen. Extra arguments go to ctest (for example: -L unit, -L gui, -R settings).
#
# ZAN_SANITIZE=1 builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (benchmarks left out) and runs the same tests there; any report fails its test.
# ZAN_BUILD_DIR chooses another build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${ZAN_SANITIZE:-0}" = 1 ]; then
  build="${ZAN_BUILD_DIR:-$here/build-asan}"
  options+=(-DZAN_SANITIZE=ON -DZAN_BUILD_BENCH=OFF)
  export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
  export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/scripts/lsan.supp:print_suppressions=0}"
  export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
else
  build="${ZAN_BUILD_DIR:-$here/build}"
fi

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" "${options[@]}"
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" "$@"
