// The chart's costs: a full paint of the station's 449 x 161 chart with and without its legend,
// appending points to a series (constant time per append, also at a million points), and
// memory per point.
#include "chart/Chart.h"
#include "tests/support/StationChart.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Draw runs the whole drawing sequence into the off-screen image and copies it out, as a paint
// request with a stale image does: the station's chart and its red line, with and without the
// legend beside it (the legend lists the block's first samples, so its cost must stay small
// beside the axes and the line).
void PaintStationChart(benchmark::State& State)
{
    const int samples = static_cast<int>(State.range(0));
    const bool legend = State.range(1) != 0;
    TStationChart station = MakeStationChart();
    TChart& chart = *station.Chart;
    chart.Legend()->SetVisible(legend);
    for (int i = 0; i < samples; ++i)
        station.Series1->Add(32768 + 30000 * std::sin(i * 2 * M_PI / 256), "", clDefault);
    TBitmap window(449, 161);
    for (auto _ : State) {
        chart.Canvas()->Invalidate();
        chart.Draw(*window.Canvas(), {0, 0, 449, 161});
    }
    State.SetLabel(std::string(samples ? "1024 samples" : "no samples") + (legend ? ", legend" : ", no legend"));
}
BENCHMARK(PaintStationChart)->ArgsProduct({{0, 1024}, {0, 1}})->Unit(benchmark::kMicrosecond);

// The repaint of an unchanged chart: only the stored image is copied.
void RepaintUnchangedChart(benchmark::State& State)
{
    auto chart = MakeStationChart().Chart;
    chart->Repaint();
    for (auto _ : State)
        chart->TWinControl::Repaint();
}
BENCHMARK(RepaintUnchangedChart)->Unit(benchmark::kMicrosecond);

// N appends after a Clear; the per-item time must not grow with N.
void AddPoints(benchmark::State& State, bool Attached)
{
    auto chart = MakeStationChart().Chart;
    TChartSeries series(nullptr);
    if (Attached)
        series.SetParentChart(chart.get());
    const int n = static_cast<int>(State.range(0));
    for (auto _ : State) {
        series.Clear();
        for (int i = 0; i < n; ++i)
            series.Add(i & 0xFFFF, "", clDefault);
        benchmark::DoNotOptimize(series.Count());
    }
    State.SetItemsProcessed(State.iterations() * n);
    State.SetComplexityN(n);
}
BENCHMARK_CAPTURE(AddPoints, detached, false)
    ->RangeMultiplier(10)->Range(1000, 1000000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AddPoints, on_chart, true)
    ->RangeMultiplier(10)->Range(1000, 1000000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Heap bytes per point held by a series of a million points (values, colour, label slot, and
// the growth reserve).
void MemoryPerPoint(benchmark::State& State)
{
    constexpr int n = 1000000;
    double perPoint = 0;
    for (auto _ : State) {
        const std::size_t before = mallinfo2().uordblks;
        auto series = std::make_unique<TChartSeries>(nullptr);
        for (int i = 0; i < n; ++i)
            series->Add(i, "", clDefault);
        perPoint = double(mallinfo2().uordblks - before) / n;
        benchmark::DoNotOptimize(series->Count());
    }
    State.counters["bytes_per_point"] = perPoint;
}
BENCHMARK(MemoryPerPoint)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
