#!/usr/bin/env bash
# Installs what is missing and cross-builds for 64-bit Windows the station program
# (build-windows/app/ostrel-smt.exe) and the test programs, statically linked, into
# build-windows/.
# OSTREL_WERROR=ON in the environment makes every compiler warning an error (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh g++-mingw-w64-x86-64-posix googletest cmake ninja-build
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-windows -G Ninja -DOSTREL_TESTS=ON -DOSTREL_WERROR="${OSTREL_WERROR:-OFF}" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake "${launcher[@]}" >/dev/null
cmake --build build-windows
