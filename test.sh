#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with a private sound server.
set -uo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh || exit 1

source tests/sound-server.sh
trap sound_server_stop EXIT
sound_server_start || { echo "the private sound server did not start"; exit 1; }

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure "$@"
