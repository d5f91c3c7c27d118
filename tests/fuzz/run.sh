#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and gives each a short run
# from its seed corpus (FUZZ_SECONDS each, 6 by default). What they find is
# kept in build-fuzz/findings/. Skipped when clang is not installed.
set -uo pipefail
cd "$(dirname "$0")/../.."
if ! command -v clang++ >/dev/null; then
    echo "fuzzing skipped: clang++ is not installed"
    exit 0
fi
if [ ! -f build-fuzz/build.ninja ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONARA_FUZZ=ON "${launcher[@]}" >/dev/null || exit 1
fi
cmake --build build-fuzz --target tonara_fuzzers --parallel "$(nproc)" || exit 1

seconds=${FUZZ_SECONDS:-6}
mkdir -p build-fuzz/findings
status=0
for seeds in tests/fuzz/corpus/*/; do
    name=$(basename "$seeds")
    work=$(mktemp -d)
    echo "fuzzing $name for ${seconds}s"
    if ! QT_QPA_PLATFORM=offscreen "build-fuzz/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -max_len=8192 \
        -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$name-" "$work" "$seeds" \
        > "build-fuzz/findings/$name.log" 2>&1; then
        echo "fuzz_$name found a fault:"; tail -40 "build-fuzz/findings/$name.log"
        status=1
    else
        grep -E "stat::number_of_executed_units" "build-fuzz/findings/$name.log" | sed "s/^/  /"
    fi
    rm -rf "$work"
done
exit $status
