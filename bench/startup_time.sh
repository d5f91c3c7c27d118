#!/usr/bin/env bash
# Exec to the main window shown (mapped, at its full size) on an X display,
# beside a bare Qt window. Needs DISPLAY (Xvfb will do), xdotool and a sound
# server (tests/sound-server.sh); a tone file's first tone is timed by
# tests/tonefile (TenShortTonesKeepTheirLength…, "exec to the first tone"):
#   bench/startup_time.sh build [runs]
set -u
# xdotool is not among the packages scripts/setup.sh installs: apt-get install xdotool.
build=${1:-build}
runs=${2:-10}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/temp"
# Agreed, no update check: the start-up a returning user sees.
printf 'AutoUpdate=n\r\nSoundBit=128\r\nLanguage=EN\r\nSendData=n\r\nMicrophone=1\r\nMicrophoneON=n\r\n' >"$work/app/tonara.ini"
export APPDATA="$work/app" TEMP="$work/temp"
unset QT_QPA_PLATFORM

# ms from exec until a window titled $1, at least 400 px wide, is shown.
shown_ms() { # title command...
    python3 - "$@" <<'PY'
import subprocess, sys, time
title, command = sys.argv[1], sys.argv[2:]
start = time.monotonic()
program = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
shown = None
while time.monotonic() - start < 10 and shown is None:
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], capture_output=True, text=True).stdout.split()
    for window in found:
        geometry = subprocess.run(["xdotool", "getwindowgeometry", window], capture_output=True, text=True).stdout
        size = [line for line in geometry.splitlines() if "Geometry" in line]
        if size and int(size[0].split()[-1].split("x")[0]) >= 400:
            shown = (time.monotonic() - start) * 1000
program.kill()
program.wait()
print("%.0f" % shown if shown is not None else "never")
PY
}

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

ours=$(for _ in $(seq "$runs"); do shown_ms '^Tonara$' "$build/bin/tonara"; done | grep -v never | median)
bare=$(for _ in $(seq "$runs"); do shown_ms '^Bare Qt window$' "$build/bin/bare_window"; done | grep -v never | median)
echo "exec to main window shown, median of $runs: Tonara $ours ms, bare Qt window $bare ms, ratio $(echo "scale=2; $ours / $bare" | bc)"

