#!/usr/bin/env bash
# Builds the benchmarks with optimisation and runs them (or only those named as arguments).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_TESTS=OFF -DOSTREL_BENCH=ON >/dev/null
cmake --build build-bench
export QT_QPA_PLATFORM=offscreen
if [ $# -eq 0 ]; then
  set -- build-bench/bench/bench_*
else
  names=()
  for n in "$@"; do names+=("build-bench/bench/bench_${n#bench_}"); done
  set -- "${names[@]}"
fi
for b in "$@"; do
  [ -f "$b" ] && [ -x "$b" ] || continue # skip the build's own folders beside the programs
  echo "== $(basename "$b")"
  "$b"
done
