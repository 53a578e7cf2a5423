// The chart's line drawing: our drawing context's polyline against QPainter's, on the chart's
// size with one block of samples (1024 points in 449 x 161) and on a large image with 10^4 to
// 10^6 points (1600 x 900), with 1- and 2-pixel pens. Antialiasing is off everywhere.
#include "platform/DrawContext.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

enum TShape { Sine, Noisy };

// N samples across Width, a sine of 8 periods filling the height; Noisy adds pseudo-random
// jitter of a tenth of the height, which makes most segments long near-vertical runs.
std::vector<TPoint> Samples(int N, int Left, int Top, int Width, int Height, TShape Shape)
{
    std::vector<TPoint> points(N);
    std::uint32_t seed = 1;
    for (int i = 0; i < N; ++i) {
        double v = std::sin(i * 8 * 2 * M_PI / N);
        if (Shape == Noisy) {
            seed = seed * 1664525u + 1013904223u;
            v = v * 0.9 + ((seed >> 8) / double(1 << 24) - 0.5) * 0.2;
        }
        points[i] = {Left + int(std::int64_t(i) * (Width - 1) / std::max(1, N - 1)),
                     Top + int(std::lround((1 - v) / 2 * (Height - 1)))};
    }
    return points;
}

struct TCase {
    int ImageWidth, ImageHeight;
    TRect Plot;
};

TCase CaseFor(int N)
{
    if (N <= 1024)
        return {449, 161, {47, 6, 382, 136}}; // the station's chart and plotting rectangle
    return {1600, 900, {40, 10, 1590, 870}};
}

// PointByPoint draws the points as the series does without batching: MoveTo, then LineTo each.
void ContextLines(benchmark::State& State, int Width, TShape Shape, bool PointByPoint)
{
    const int n = int(State.range(0));
    const TCase c = CaseFor(n);
    const auto points = Samples(n, c.Plot.Left, c.Plot.Top, c.Plot.Width(), c.Plot.Height(), Shape);
    platform::TBitmapImage image(c.ImageWidth, c.ImageHeight);
    platform::TDrawContext dc(image);
    dc.SelectPen({0x0000FF, Width, platform::TPenStyle::Solid});
    for (auto _ : State) {
        dc.IntersectClipRect({c.Plot.Left + 1, c.Plot.Top + 1, c.Plot.Right, c.Plot.Bottom - 1});
        if (PointByPoint) {
            dc.MoveTo(points[0].X, points[0].Y);
            for (int i = 1; i < n; ++i)
                dc.LineTo(points[std::size_t(i)].X, points[std::size_t(i)].Y);
        } else {
            dc.Polyline(points.data(), n);
        }
        dc.RemoveClip();
        benchmark::DoNotOptimize(image.Pixel(0, 0));
    }
    State.SetItemsProcessed(State.iterations() * n);
}

void QtPolyline(benchmark::State& State, int Width, TShape Shape)
{
    const int n = int(State.range(0));
    const TCase c = CaseFor(n);
    std::vector<QPoint> points;
    for (TPoint p : Samples(n, c.Plot.Left, c.Plot.Top, c.Plot.Width(), c.Plot.Height(), Shape))
        points.emplace_back(p.X, p.Y);
    QImage image(c.ImageWidth, c.ImageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPen pen(QColor(255, 0, 0));
    pen.setWidth(Width);
    pen.setCapStyle(Qt::FlatCap);
    for (auto _ : State) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setClipRect(QRect(c.Plot.Left + 1, c.Plot.Top + 1, c.Plot.Width() - 1,
                            c.Plot.Height() - 2));
        p.setPen(pen);
        p.drawPolyline(points.data(), n);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    State.SetItemsProcessed(State.iterations() * n);
}

void BM_Context_1px_Sine(benchmark::State& S) { ContextLines(S, 1, Sine, false); }
void BM_Context_2px_Sine(benchmark::State& S) { ContextLines(S, 2, Sine, false); }
void BM_Context_2px_Noisy(benchmark::State& S) { ContextLines(S, 2, Noisy, false); }
void BM_ContextLineTo_2px_Sine(benchmark::State& S) { ContextLines(S, 2, Sine, true); }
void BM_ContextLineTo_2px_Noisy(benchmark::State& S) { ContextLines(S, 2, Noisy, true); }
void BM_QPainter_1px_Sine(benchmark::State& S) { QtPolyline(S, 1, Sine); }
void BM_QPainter_2px_Sine(benchmark::State& S) { QtPolyline(S, 2, Sine); }
void BM_QPainter_1px_Noisy(benchmark::State& S) { QtPolyline(S, 1, Noisy); }

} // namespace

BENCHMARK(BM_Context_1px_Sine)->Arg(1024)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Context_2px_Sine)->Arg(1024)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Context_2px_Noisy)->Arg(1024)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContextLineTo_2px_Sine)->Arg(1024)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ContextLineTo_2px_Noisy)->Arg(1024)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QPainter_1px_Sine)->Arg(1024)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
// QPainter's wide pens take tens of seconds for 10^6 points: stop at 10^5.
BENCHMARK(BM_QPainter_2px_Sine)->Arg(1024)->Arg(10000)->Arg(100000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QPainter_1px_Noisy)->Arg(1024)->Arg(1000000)->Unit(benchmark::kMicrosecond);
