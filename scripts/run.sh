#!/usr/bin/env bash
# Builds the station and runs it against the simulated device on COM1.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}"
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_TESTS=OFF >/dev/null
cmake --build build-run
if [ ! -x build-run/app/ostrel-smt ]; then
  echo "The station's main window is not built yet: only its components exist so far."
  echo "Run scripts/test.sh to build and test them."
  exit 1
fi
build-run/tools/ostrel-smt-sim &
sim=$!
trap 'kill $sim 2>/dev/null' EXIT
build-run/app/ostrel-smt
