#!/usr/bin/env bash
# Installs what is missing (Debian 12) and builds everything into build/.
# TONARA_WERROR=1 (CI) turns compiler warnings into errors; local builds keep them as warnings.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl1-mesa-dev libpulse-dev libgtest-dev
          pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber dbus-daemon
          xvfb xauth sox libsox-fmt-pulse libsoxr-dev libsndfile1-dev libfftw3-dev pkg-config
          libcurl4-openssl-dev python3 python3-pyftpdlib clang libclang-rt-14-dev
          appstream desktop-file-utils dpkg-dev file man-db multimon-ng stress lintian
          qt6-translations-l10n)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

werror=OFF
[ "${TONARA_WERROR:-0}" = 1 ] && werror=ON
if [ ! -f build/build.ninja ] || ! grep -qx "CMAKE_COMPILE_WARNING_AS_ERROR:BOOL=$werror" build/CMakeCache.txt; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR="$werror"
fi
cmake --build build --parallel "$(nproc)"
