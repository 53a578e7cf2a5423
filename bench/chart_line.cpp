// The line chart's paint with its samples: the station's 449 x 161 chart with one block of
// 1024 samples (panel, axes and the 2-pixel red line), and a 1600 x 900 chart with 10^4 to
// 10^6 points; each beside two peers drawing the same samples into an image of the same size:
// a QCustomPlot replot (antialiasing off, adaptive sampling on) and a bare QPainter polyline
// with a 2-pixel pen. The data stay unchanged between paints in every case, so what is timed
// is the paint itself.
#include "chart/Chart.h"
#include "chart/Series.h"
#include "tests/support/StationChart.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPoint>
#include <qcustomplot.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct TSize2 {
    int Width;
    int Height;
};

TSize2 SizeFor(int N)
{
    return N <= 1024 ? TSize2{449, 161} : TSize2{1600, 900};
}

// 16-bit samples: eight periods of a sine over the block, with a tenth of the range of
// pseudo-random jitter, as a noisy device signal.
std::vector<double> Samples(int N)
{
    std::vector<double> v(static_cast<std::size_t>(N));
    std::uint32_t seed = 1;
    for (int i = 0; i < N; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double jitter = ((seed >> 8) / double(1 << 24) - 0.5) * 0.2;
        v[std::size_t(i)] = std::round(32767.5 + 32767 * (0.9 * std::sin(i * 8 * 2 * M_PI / N) + jitter));
    }
    return v;
}

void OurChart(benchmark::State& State)
{
    const int n = int(State.range(0));
    const TSize2 size = SizeFor(n);
    TStationChart station = MakeStationChart(Rect(0, 0, size.Width, size.Height));
    TChart* chart = station.Chart.get();
    for (double v : Samples(n))
        station.Series1->Add(v, "", clDefault);
    TBitmap window(size.Width, size.Height);
    for (auto _ : State) {
        chart->Canvas()->Invalidate();
        chart->Draw(*window.Canvas(), {0, 0, size.Width, size.Height});
    }
    State.SetItemsProcessed(State.iterations() * n);
}

void QCustomPlotReplot(benchmark::State& State)
{
    const int n = int(State.range(0));
    const TSize2 size = SizeFor(n);
    QCustomPlot plot;
    plot.resize(size.Width, size.Height);
    plot.setNotAntialiasedElements(QCP::aeAll);
    QCPGraph* graph = plot.addGraph();
    graph->setAdaptiveSampling(true);
    graph->setPen(QPen(Qt::red, 2));
    const std::vector<double> samples = Samples(n);
    QVector<double> keys(n);
    QVector<double> values(n);
    for (int i = 0; i < n; ++i) {
        keys[i] = i;
        values[i] = samples[std::size_t(i)];
    }
    graph->setData(keys, values, true);
    graph->rescaleAxes();
    for (auto _ : State) {
        QPixmap image = plot.toPixmap(size.Width, size.Height);
        benchmark::DoNotOptimize(image.cacheKey());
    }
    State.SetItemsProcessed(State.iterations() * n);
}

void QPainterPolyline(benchmark::State& State)
{
    const int n = int(State.range(0));
    const TSize2 size = SizeFor(n);
    const std::vector<double> samples = Samples(n);
    // The plotting rectangle of the station's chart, or a large one with the same margins.
    const int left = size.Width * 47 / 449;
    const int top = 6;
    const int width = size.Width * 335 / 449;
    const int height = size.Height * 130 / 161;
    std::vector<QPoint> points(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        points[std::size_t(i)] = QPoint(left + int(std::int64_t(i) * width / std::max(1, n - 1)),
                                        top + height - int(samples[std::size_t(i)] * height / 65535));
    QImage image(size.Width, size.Height, QImage::Format_RGB32);
    for (auto _ : State) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::red, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPolyline(points.data(), n);
    }
    State.SetItemsProcessed(State.iterations() * n);
}

BENCHMARK(OurChart)->Arg(1024)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(QCustomPlotReplot)->Arg(1024)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(QPainterPolyline)->Arg(1024)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// A 2-pixel QPainter polyline of 10^6 points takes tens of seconds: one run is enough.
BENCHMARK(QPainterPolyline)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
