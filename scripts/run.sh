#!/usr/bin/env bash
# The project's run command: installs what is missing, configures and builds, then opens the
# release-setup dialog on the working copy of the bundled example setup (created on the first
# run, pointing at the bundled sample hub). Arguments go to release-setup, for example
# --panel ocr, --setup FILE, or the scripted options --set NAME=VALUE --validate --apply
# --screenshot FILE.png (see --help). Without a display it writes screenshots instead.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${ZAN_BUILD_DIR:-$here/build}"

bash "$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target release-setup --parallel "$(nproc)"
exec "$build/apps/release-setup/release-setup" "$@"
