# Package sets shared by the build scripts (sourced, not run).
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev
                fonts-liberation fonts-wqy-microhei)
# A virtual display with clicks and screenshots: the station without a screen, and its
# end-to-end test.
HEADLESS_PACKAGES=(xvfb xdotool imagemagick)
BENCH_PACKAGES=(libbenchmark-dev qt6-serialport-dev libqcustomplot-dev libqcustomplot2.1-qt6)
# Fuzzing: Debian's clang with its libFuzzer runtime.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
