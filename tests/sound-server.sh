#!/usr/bin/env bash
# A private PulseAudio daemon for the tests: a null sink as the output and a
# 440 Hz sine as the microphone, in its own XDG_RUNTIME_DIR. The output sink
# runs at SOUND_RATE (48 kHz unless set), the usual rate of a desktop's server.
# The microphone is the monitor of a second null sink that a sine plays into:
# the sine source module would hand its sound over in two-second blocks, no
# microphone does.
#   source tests/sound-server.sh; sound_server_start; ...; sound_server_stop
# SOUND_SERVER_LOG_LEVEL=debug makes the server log its streams' underruns
# in $XDG_RUNTIME_DIR/pulse.log.
SOUND_SINK=tonara_out
SOUND_MIC=tonara_mic.monitor

sound_server_start() {
    export XDG_RUNTIME_DIR
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/tonara-pulse.XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
    export SOUND_RATE="${SOUND_RATE:-48000}"
    unset PULSE_SERVER
    # No memfd blocks: the server logs them as unregistered and falls back anyway.
    pulseaudio -n --daemonize=no ${SOUND_SERVER_LOG_LEVEL:+--log-level=$SOUND_SERVER_LOG_LEVEL} --exit-idle-time=-1 --disallow-exit --enable-memfd=no --log-target=file:"$XDG_RUNTIME_DIR/pulse.log" \
        -L "module-native-protocol-unix" \
        -L "module-null-sink sink_name=$SOUND_SINK rate=$SOUND_RATE channels=2" \
        -L "module-null-sink sink_name=tonara_mic rate=44100 channels=1" \
        -L "module-sine sink=tonara_mic frequency=440" \
        >/dev/null 2>&1 &
    SOUND_SERVER_PID=$!
    export SOUND_SERVER_PID SOUND_SINK SOUND_MIC
    for _ in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    # The server's main thread takes in the clients' sound; at ordinary
    # priority it stalls for tens of milliseconds while the machine is busy
    # and the clients' buffers run dry. Real-time where allowed (the server
    # makes only its output thread real-time itself).
    chrt -r -p 4 "$SOUND_SERVER_PID" >/dev/null 2>&1
    pactl set-default-sink "$SOUND_SINK" && pactl set-default-source "$SOUND_MIC" &&
        pactl set-sink-volume "$SOUND_SINK" 100%
}

sound_server_stop() {
    if [ -n "${SOUND_SERVER_PID:-}" ]; then
        kill "$SOUND_SERVER_PID" 2>/dev/null
        wait "$SOUND_SERVER_PID" 2>/dev/null
        SOUND_SERVER_PID=
    fi
    [ -n "${XDG_RUNTIME_DIR:-}" ] && case "$XDG_RUNTIME_DIR" in /tmp/tonara-pulse.*) rm -rf "$XDG_RUNTIME_DIR" ;; esac
}
