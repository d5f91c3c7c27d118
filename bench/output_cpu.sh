#!/usr/bin/env bash
# What a continuous 1000 Hz tone costs, in percent of one core: the player's
# own process and the sound server's processes, beside sox and paplay
# playing the same tone, at a private server (SOUND_SERVER: pulseaudio or
# pipewire). Figures only.
#   bench/output_cpu.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
source tests/sound-server.sh
work=$(mktemp -d)
trap 'sound_server_stop; rm -rf "$work"' EXIT
sound_server_start >/dev/null

# Nanoseconds on a CPU, every thread of the process together.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
server_pids() {
    case "$SOUND_SERVER" in
        pipewire) pgrep -u "$(id -u)" -x pipewire; pgrep -u "$(id -u)" -x pipewire-pulse ;;
        *) echo "$SOUND_SERVER_PID" ;;
    esac | grep -Fx -f <(for p in "${_sound_server_pids[@]}"; do echo "$p"; done)
}
server_ns() { local s=0; for p in $(server_pids); do s=$((s + $(cpu_ns "$p"))); done; echo "$s"; }

# Runs the command for the seconds; prints its CPU and the server's beyond its idle share.
measure() { # name command...
    local name=$1
    shift
    local idleBefore idleAfter
    idleBefore=$(server_ns)
    sleep 2
    idleAfter=$(server_ns)
    local idlePerSecond=$(((idleAfter - idleBefore) / 2))
    "$@" &
    local pid=$!
    sleep 1 # started and streaming
    local before serverBefore after serverAfter
    before=$(cpu_ns "$pid")
    serverBefore=$(server_ns)
    sleep $((seconds - 2))
    after=$(cpu_ns "$pid")
    serverAfter=$(server_ns)
    wait "$pid" 2>/dev/null || true
    awk -v n="$name" -v own=$((after - before)) -v srv=$((serverAfter - serverBefore)) -v idle="$idlePerSecond" \
        -v s=$((seconds - 2)) 'BEGIN { printf "%-10s %6.2f %% ours   %6.2f %% the server'"'"'s for our stream\n", n, own / s / 1e7, (srv - idle * s) / s / 1e7 }'
}

sox -q -n -r "$SOUND_RATE" -c 2 -b 16 "$work/tone.wav" synth "$seconds" sine 1000 vol 0.9155
echo "At a $SOUND_RATE Hz $SOUND_SERVER server, over $((seconds - 2)) s of a 1000 Hz tone:"
measure tonara build/bin/continuous_tone "$seconds"
measure sox sox -q -n -t pulseaudio default synth "$seconds" sine 1000 vol 0.9155
measure paplay paplay "$work/tone.wav"
