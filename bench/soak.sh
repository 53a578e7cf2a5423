#!/usr/bin/env bash
# Runs the station's soak for the given number of seconds (default 180; a shift's report
# takes 1800): an optimised build of the one program, then its figures.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_TESTS=OFF -DOSTREL_BENCH=ON >/dev/null
cmake --build build-bench --target bench_station_soak
QT_QPA_PLATFORM=offscreen build-bench/bench/bench_station_soak "${1:-180}"
