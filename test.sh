#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with a private sound server.
set -uo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh || exit 1

source tests/sound-server.sh
trap sound_server_stop EXIT
export QT_QPA_PLATFORM=offscreen

# Everything against a 48 kHz server, then what is recorded at the sink
# once more against a 96 kHz one.
export SOUND_RATE=48000
sound_server_start || { echo "the private sound server did not start"; exit 1; }
ctest --test-dir build --output-on-failure "$@" || exit 1
sound_server_stop
export SOUND_RATE=96000
sound_server_start || { echo "the 96 kHz sound server did not start"; exit 1; }
echo "Again at a 96 kHz sink:"
ctest --test-dir build --output-on-failure -L audio "$@"
