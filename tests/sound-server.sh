#!/usr/bin/env bash
# A private sound server for the tests, in its own XDG_RUNTIME_DIR: a null
# sink as the output and a 440 Hz sine as the microphone. SOUND_SERVER
# chooses which of the servers desktops run: pulseaudio (the default), or
# pipewire (PipeWire with WirePlumber and its PulseAudio server, on a
# session bus of their own), both started headless. The output sink runs at
# SOUND_RATE (48 kHz unless set), the usual rate of a desktop's server. The
# microphone is the monitor of a second null sink that a sine plays into
# (a microphone hands its sound over in small blocks, as this does).
#   source tests/sound-server.sh; sound_server_start; ...; sound_server_stop
# SOUND_SERVER_LOG_LEVEL=debug makes PulseAudio log its streams' underruns
# in $XDG_RUNTIME_DIR/pulse.log.
SOUND_SINK=tonara_out
SOUND_MIC=tonara_mic.monitor

_sound_server_pids=()

_sound_server_wait_for_pactl() {
    for _ in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

_sound_server_start_pulseaudio() {
    # No memfd blocks: the server logs them as unregistered and falls back anyway.
    pulseaudio -n --daemonize=no ${SOUND_SERVER_LOG_LEVEL:+--log-level=$SOUND_SERVER_LOG_LEVEL} --exit-idle-time=-1 --disallow-exit --enable-memfd=no --log-target=file:"$XDG_RUNTIME_DIR/pulse.log" \
        -L "module-native-protocol-unix" \
        -L "module-null-sink sink_name=$SOUND_SINK rate=$SOUND_RATE channels=2" \
        -L "module-null-sink sink_name=tonara_mic rate=44100 channels=1" \
        -L "module-sine sink=tonara_mic frequency=440" \
        >/dev/null 2>&1 &
    SOUND_SERVER_PID=$!
    _sound_server_pids=("$SOUND_SERVER_PID")
    _sound_server_wait_for_pactl || return 1
    # The server's main thread takes in the clients' sound; at ordinary
    # priority it stalls for tens of milliseconds while the machine is busy
    # and the clients' buffers run dry. Real-time where allowed (the server
    # makes only its output thread real-time itself).
    chrt -r -p 4 "$SOUND_SERVER_PID" >/dev/null 2>&1
    return 0
}

_sound_server_start_pipewire() {
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile >/dev/null 2>&1 &
    _sound_server_pids=($!)
    # The graph runs at the sink's rate, as a desktop's does at its card's.
    mkdir -p "$XDG_RUNTIME_DIR/config/pipewire/pipewire.conf.d"
    printf 'context.properties = { default.clock.rate = %s default.clock.allowed-rates = [ %s ] }\n' \
        "$SOUND_RATE" "$SOUND_RATE" >"$XDG_RUNTIME_DIR/config/pipewire/pipewire.conf.d/rate.conf"
    # Its nodes at info level: the log then records each cycle the graph
    # missed, which spoils every stream at the sink (tests/support/MissedCycles.h).
    XDG_CONFIG_HOME="$XDG_RUNTIME_DIR/config" PIPEWIRE_DEBUG="2,pw.node:3" pipewire >"$XDG_RUNTIME_DIR/pipewire.log" 2>&1 &
    _sound_server_pids+=($!)
    for _ in $(seq 1 50); do
        [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break
        sleep 0.1
    done
    wireplumber >"$XDG_RUNTIME_DIR/wireplumber.log" 2>&1 &
    _sound_server_pids+=($!)
    pipewire-pulse >"$XDG_RUNTIME_DIR/pipewire-pulse.log" 2>&1 &
    SOUND_SERVER_PID=$!
    _sound_server_pids+=("$SOUND_SERVER_PID")
    _sound_server_wait_for_pactl || return 1
    pactl load-module module-null-sink sink_name=$SOUND_SINK rate=$SOUND_RATE channels=2 >/dev/null &&
        pactl load-module module-null-sink sink_name=tonara_mic rate=44100 channels=1 >/dev/null || return 1
    # PipeWire's pulse server has no sine module: a stream plays one, at
    # real-time priority where that is allowed, as PulseAudio's module plays
    # inside its server. At ordinary priority, on a busy machine, it ran dry
    # now and then and the microphone heard the gaps (439.6 Hz for 440).
    local boost=()
    chrt -f 4 true 2>/dev/null && boost=(chrt -f 4)
    sox -q -n -r 44100 -c 1 -b 16 -e signed -t raw - synth 86400 sine 440 vol 0.5 2>/dev/null |
        "${boost[@]}" pacat --playback -d tonara_mic --rate=44100 --channels=1 --format=s16le --latency-msec=20 &
    _sound_server_pids+=($!)
    # WirePlumber takes a moment before it accepts a default sink.
    for _ in $(seq 1 50); do
        pactl set-default-sink "$SOUND_SINK" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

sound_server_start() {
    export XDG_RUNTIME_DIR
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/tonara-pulse.XXXXXX)
    chmod 700 "$XDG_RUNTIME_DIR"
    export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
    export SOUND_RATE="${SOUND_RATE:-48000}"
    export SOUND_SERVER="${SOUND_SERVER:-pulseaudio}"
    unset PULSE_SERVER
    case "$SOUND_SERVER" in
        pulseaudio) _sound_server_start_pulseaudio ;;
        pipewire) _sound_server_start_pipewire ;;
        *) echo "SOUND_SERVER must be pulseaudio or pipewire, not $SOUND_SERVER" >&2; return 1 ;;
    esac || return 1
    export SOUND_SERVER_PID SOUND_SINK SOUND_MIC
    pactl set-default-sink "$SOUND_SINK" && pactl set-default-source "$SOUND_MIC" &&
        pactl set-sink-volume "$SOUND_SINK" 100%
}

sound_server_stop() {
    if [ ${#_sound_server_pids[@]} -gt 0 ]; then
        # The sine's player first, then the servers, the bus last.
        local i
        for ((i = ${#_sound_server_pids[@]} - 1; i >= 0; i--)); do kill "${_sound_server_pids[$i]}" 2>/dev/null; done
        for pid in "${_sound_server_pids[@]}"; do wait "$pid" 2>/dev/null; done
        _sound_server_pids=()
    fi
    SOUND_SERVER_PID=
    [ -n "${XDG_RUNTIME_DIR:-}" ] && case "$XDG_RUNTIME_DIR" in /tmp/tonara-pulse.*) rm -rf "$XDG_RUNTIME_DIR" ;; esac
}
