#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs the whole test suite.
# OSTREL_WERROR=ON in the environment makes every compiler warning an error (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${HEADLESS_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DOSTREL_TESTS=ON -DOSTREL_WERROR="${OSTREL_WERROR:-OFF}" >/dev/null
cmake --build build
cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j 2
