#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs the whole test suite.
# OSTREL_WERROR=ON in the environment makes every compiler warning an error (CI does).
#   --asan  builds into build-asan with AddressSanitizer and UndefinedBehaviorSanitizer
#   --tsan  builds into build-tsan with ThreadSanitizer
# Any sanitizer report fails the test that caused it: nothing is allowed to recover.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/ensure-packages.sh "${BUILD_PACKAGES[@]}" "${HEADLESS_PACKAGES[@]}"
dir=build
flags=""
case "${1:-}" in
  "") ;;
  --asan)
    dir=build-asan
    flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    # The system's font library keeps caches until the process ends.
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-system.supp"
    export OSTREL_SANITIZED=1 # resident memory is the allocator's quarantine, not ours
    ;;
  --tsan)
    dir=build-tsan
    flags="-fsanitize=thread -fno-omit-frame-pointer"
    # Qt is not built with the sanitizer; what its own libraries call is left to it.
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-system.supp"
    export OSTREL_SANITIZED=1
    ;;
  *) echo "usage: $0 [--asan|--tsan]" >&2; exit 2 ;;
esac
export CCACHE_BASEDIR=$PWD # for the compiler cache, where there is one
scripts/configure-linux.sh "$dir" "$flags"
cmake --build "$dir"
cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j 2
