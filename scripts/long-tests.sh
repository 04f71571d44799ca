#!/usr/bin/env bash
# CI's long job: the hub's long runs, which the ordinary test run leaves out because they take
# minutes: two machines sharing a hub, one with a clock ten minutes off (200 jobs each way), and
# a soak of 2,000 jobs with hostile ones mixed in. They need root (mount and network namespaces,
# a submitter of its own) and libfaketime, and print their figures. Builds into build-long/
# (ZAN_BUILD_DIR chooses another folder); extra arguments go to ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${ZAN_BUILD_DIR:-$here/build-long}"
bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAN_LONG_TESTS=ON \
  -DZAN_BUILD_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)" --target test_hub_long zan-hub zan-release
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --verbose -L long "$@"
