// The station's chart fed any doubles through its series and painted at sizes a window never
// has. The first byte picks the size; every following eight bytes are one value's bits, so
// NaN, infinities, 1e308 and denormals all turn up.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "framework/Application.h"
#include "tests/support/StationChart.h"

#include <cstdlib>
#include <cstring>

namespace {

// Kept to the end of the process: Qt tears its own state down before static destructors
// would run, so the application and its windows are never destroyed.
TApplication* App = nullptr;
TStationChart* Station = nullptr;

struct TPaintSize {
    int Width, Height;
};
constexpr TPaintSize Sizes[] = {{0, 0}, {1, 1}, {10000, 10}, {10, 10000}, {449, 161}, {3, 2}};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    App = new TApplication(*argc, *argv, TApplication::TKind::Gui);
    Station = new TStationChart(MakeStationChart());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    if (Size == 0)
        return 0;
    const TPaintSize size = Sizes[Data[0] % std::size(Sizes)];
    TChart& chart = *Station->Chart;
    TLineSeries& series = *Station->Series1;
    chart.SetBounds(0, 0, size.Width, size.Height);
    series.Clear();
    for (std::size_t at = 1; at + sizeof(double) <= Size; at += sizeof(double)) {
        double value;
        std::memcpy(&value, Data + at, sizeof value);
        series.Add(value);
    }
    chart.Repaint();
    return 0;
}
