#!/usr/bin/env bash
# Configures a Linux build tree with the tests: configure-linux.sh DIR [COMPILER-AND-LINKER-FLAGS].
# Run with CCACHE_BASEDIR set to the source folder, so that trees in other folders share the
# compiler cache. OSTREL_WERROR=ON in the environment makes every compiler warning an error (CI does).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
flags=${2:-}
# A compiler cache, where there is one, makes the second and later builds of each kind quick.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja -DOSTREL_TESTS=ON -DOSTREL_WERROR="${OSTREL_WERROR:-OFF}" "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
