#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer over
# the whole tree, in build-fuzz) and runs each for SECONDS (default 60) from its seed corpus in
# bench/fuzz/corpus/NAME. New inputs go to build-fuzz/corpus/NAME, so the checked-in seeds
# stay small; a crash leaves its input in build-fuzz/crash-* and fails the script.
# Usage: bench/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for d in bench/fuzz/corpus/*/; do targets+=("$(basename "$d")"); done
fi
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DOSTREL_TESTS=OFF -DOSTREL_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-system.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== fuzz_$t for ${seconds}s"
  status=0
  (cd build-fuzz && "./bench/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len=65536 \
     -print_final_stats=1 "corpus/$t" "../bench/fuzz/corpus/$t") >"build-fuzz/$t.log" 2>&1 || status=$?
  grep -E "^stat::number_of_executed_units|ERROR|SUMMARY|Test unit written" "build-fuzz/$t.log" || true
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$t failed; its output is in build-fuzz/$t.log" >&2
    exit 1
  fi
done
