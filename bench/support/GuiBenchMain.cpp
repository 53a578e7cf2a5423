// Benchmarks of drawing run inside a real application object on the offscreen platform, as
// the tests do: fonts and the raster engine need one.
#include "framework/Application.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv, TApplication::TKind::Gui);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
