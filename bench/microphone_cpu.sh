#!/usr/bin/env bash
# Reports the CPU the main program uses with the microphone display on and
# with it off, on the private sound server's microphone. Figures only.
#   xvfb-run -a bench/microphone_cpu.sh [seconds]   (without a display: the offscreen platform)
set -euo pipefail
cd "$(dirname "$0")/.."
measured=${1:-30}
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen

source tests/sound-server.sh
work=$(mktemp -d)
trap 'sound_server_stop; rm -rf "$work"' EXIT
sound_server_start >/dev/null

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Percent of one core over the measured seconds, after three seconds of start-up.
cpu_percent() {
    mkdir -p "$work/temp" "$work/appdata"
    printf 'AutoUpdate=n\r\nSoundbit=128\r\nLanguage=EN\r\nSendData=n\r\nMicrophone=1\r\nMicrophoneON=%s\r\n' "$1" \
        >"$work/appdata/tonara.ini"
    TEMP="$work/temp" APPDATA="$work/appdata" build/bin/tonara &
    local pid=$!
    sleep 3
    local before after
    before=$(ticks "$pid")
    sleep "$measured"
    after=$(ticks "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$measured" \
        'BEGIN { printf "%.2f", t * 100 / hz / s }'
}

on=$(cpu_percent y)
off=$(cpu_percent n)
echo "tonara, ${measured} s, ${QT_QPA_PLATFORM:-xcb}: microphone display on ${on} %, off ${off} % of one core"
awk -v on="$on" -v off="$off" 'BEGIN { printf "the display itself: %.2f %% of one core\n", on - off }'
