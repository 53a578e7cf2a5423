// The station's chart fed any doubles through its series and painted at sizes a window never
// has. The first byte picks the size; with its top three bits set (one input in eight, so the
// fuzzer stays quick) the values repeat to over a million points, a run left plotting all day.
// Every following eight bytes are one value's bits, so NaN, infinities, 1e308 and denormals
// all turn up.
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
constexpr std::size_t ManyPoints = std::size_t{1} << 20;

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
    const TPaintSize size = Sizes[(Data[0] & 0x1F) % std::size(Sizes)];
    const std::size_t values = (Size - 1) / sizeof(double);
    const std::size_t points = (Data[0] & 0xE0) == 0xE0 && values > 0 ? ManyPoints : values;
    TChart& chart = *Station->Chart;
    TLineSeries& series = *Station->Series1;
    chart.SetBounds(0, 0, size.Width, size.Height);
    series.Clear();
    for (std::size_t i = 0; i < points; ++i) {
        double value;
        std::memcpy(&value, Data + 1 + (i % values) * sizeof value, sizeof value);
        series.Add(value);
    }
    chart.Repaint();
    return 0;
}
