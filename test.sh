#!/usr/bin/env bash
# Installs what is missing, builds, runs every test with a private sound
# server at 48 kHz, what is recorded at the sink again at 96 kHz, then gives
# each fuzz target a short run (tests/fuzz/run.sh).
#   ./test.sh [ctest options]   the suite in build/
#   ./test.sh --sanitize        the suite built with ASan and UBSan in build-sanitize/ (before a release)
set -uo pipefail
cd "$(dirname "$0")"

sanitize=0
args=()
for a in "$@"; do
    if [ "$a" = --sanitize ]; then sanitize=1; else args+=("$a"); fi
done

./scripts/setup.sh || exit 1
folder=build
if [ $sanitize = 1 ]; then
    folder=build-sanitize
    if [ ! -f $folder/build.ninja ]; then
        launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
        cmake -S . -B $folder -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
            -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" || exit 1
    fi
    cmake --build $folder --parallel "$(nproc)" || exit 1
    # Qt and the system libraries keep allocations until exit on purpose: leaks are not looked for.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
fi

source tests/sound-server.sh
trap sound_server_stop EXIT
export QT_QPA_PLATFORM=offscreen

# What reaches the sink depends on the machine keeping the sound server fed
# in real time: a virtual machine whose host holds it up for longer than the
# server's buffer drops sound whatever a program does. A program of tests
# that record at the sink is therefore run up to three times; a steady fault
# in the sound fails every run, and each failed run is in the log. Other
# tests get one run.
sink_runs=(--repeat until-pass:3)

export SOUND_RATE=48000
sound_server_start || { echo "the private sound server did not start"; exit 1; }
ctest --test-dir $folder --output-on-failure -LE sink "${args[@]}" || exit 1
ctest --test-dir $folder --output-on-failure -L sink "${sink_runs[@]}" "${args[@]}" || exit 1
sound_server_stop

export SOUND_RATE=96000
sound_server_start || { echo "the 96 kHz sound server did not start"; exit 1; }
echo "Again at a 96 kHz sink:"
ctest --test-dir $folder --output-on-failure -L audio "${sink_runs[@]}" "${args[@]}" || exit 1  # audio tests all record at the sink
sound_server_stop

if [ $sanitize = 0 ] && [ ${#args[@]} -eq 0 ]; then
    tests/fuzz/run.sh || exit 1
fi
