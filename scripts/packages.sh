# Package sets shared by the build scripts (sourced, not run).
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libgtest-dev libgmock-dev
                fonts-liberation fonts-wqy-microhei)
RUN_PACKAGES=(xvfb)
BENCH_PACKAGES=(libbenchmark-dev qt6-serialport-dev libqcustomplot-dev libqcustomplot2.1-qt6)
