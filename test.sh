#!/usr/bin/env bash
# Installs what is missing, builds, runs every test with a private sound
# server, what plays or records at the server at PulseAudio and PipeWire,
# at 48 and 96 kHz, then gives each fuzz target a short run (tests/fuzz/run.sh).
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

# The tests that play or record at a sound server (label "sink") run at
# each of the servers desktops run, PulseAudio and PipeWire, at 48 kHz, and
# again at a 96 kHz PulseAudio; the others once. Every test program runs
# once: a fault in the sound, an underrun among them, fails it.
at_server() { # server rate what
    export SOUND_SERVER=$1 SOUND_RATE=$2
    sound_server_start || { echo "the $1 sound server at $2 Hz did not start"; exit 1; }
    echo "At a $2 Hz $1 server:"
    ctest --test-dir $folder --output-on-failure "${@:3}" "${args[@]}" || exit 1
    # Where the server fell behind (PipeWire missed a cycle of its graph, or a
    # change of ours was taken late or rewound), the measurement was not judged.
    grep -hs "^PipeWire missed a cycle\|^PulseAudio rewound its sink\|^the sound server took" \
        "$folder/Testing/Temporary/LastTest.log" | sed 's/^/  Skipped: /'
    sound_server_stop
}
at_server pulseaudio 48000 -LE sink
at_server pulseaudio 48000 -L sink
at_server pipewire 48000 -L sink
at_server pulseaudio 96000 -L sink

if [ $sanitize = 0 ] && [ ${#args[@]} -eq 0 ]; then
    tests/fuzz/run.sh || exit 1
fi
