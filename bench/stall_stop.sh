#!/usr/bin/env bash
# How long a tone sounds on after it is stopped while the sound server, or
# the program, was held up (SIGSTOP) for some seconds; beside paplay, which
# is ended during the same hold-up. Run with a sound server:
#   source tests/sound-server.sh; sound_server_start; bench/stall_stop.sh build; sound_server_stop
# Prints, for each case, the tone heard after the hold-up ended, in ms.
set -u
build=${1:-build}
hold=${HOLD_SECONDS:-5}
rate=${SOUND_RATE:-48000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -q -n -r "$rate" -c 2 -b 16 "$work/sine.wav" synth 30 sine 1000 vol 0.9

server_pids() {
    if [ "${SOUND_SERVER:-pulseaudio}" = pipewire ]; then pgrep -u "$(id -u)" -x 'pipewire|pipewire-pulse' | tr '\n' ' '
    else echo "$SOUND_SERVER_PID"; fi
}

# The tone heard after the hold-up ended, in ms: the last loud stretch
# beyond a silence of half a second (a held player's stream runs dry; a held
# server's sink, let go, plays its missed time as silence first); 0 when
# nothing sounded after the hold-up.
after_resume_ms() { # recording
    python3 - "$1" "$rate" <<'PY'
import array, sys
samples = array.array('h', open(sys.argv[1], 'rb').read())[0::2]
rate = int(sys.argv[2])
loud = [i for i in range(len(samples)) if abs(samples[i]) > 10000]
if not loud: print("no tone"); sys.exit()
runs, start = [], loud[0]
for a, b in zip(loud, loud[1:]):
    if b - a > rate // 2: runs.append((start, a)); start = b
runs.append((start, loud[-1]))
print("%.0f" % ((runs[-1][1] - runs[-1][0]) * 1000 / rate) if len(runs) > 1 else 0)
PY
}

record() { parec -d "${SOUND_SINK:-tonara_out}.monitor" --raw --format=s16le --rate="$rate" --channels=2 --latency-msec=12 >"$1" & echo $!; }

# Until the recorder delivers.
await_recording() { for _ in $(seq 1 100); do [ -s "$1" ] && return; sleep 0.05; done; }

# $1: what is held (server|program), $2: ours|paplay
run_case() {
    local rec="$work/$1-$2.raw" recorder player held
    recorder=$(record "$rec")
    await_recording "$rec"
    if [ "$2" = ours ]; then
        # Stopped one second into the hold-up, or as soon as it is over;
        # the program stays on with its output open.
        "$build/bin/continuous_tone" 3 1000 "$((hold + 2))" & player=$!
    else
        paplay "$work/sine.wav" & player=$!
    fi
    sleep 2
    if [ "$1" = server ]; then held=$(server_pids); else held=$player; fi
    kill -STOP $held
    if [ "$2" = paplay ] && [ "$1" = server ]; then sleep 1; kill -TERM $player; fi
    sleep "$hold"
    kill -CONT $held
    if [ "$2" = paplay ] && [ "$1" = program ]; then kill -TERM $player; fi
    [ "$2" = ours ] && [ "$1" = server ] && sleep 1 && kill $player
    wait $player 2>/dev/null
    sleep 1
    kill $recorder
    wait $recorder 2>/dev/null
    echo "$1 held ${hold} s, $2: $(after_resume_ms "$rec") ms of tone after it"
}

for held in server program; do
    run_case $held ours
    run_case $held paplay
done
