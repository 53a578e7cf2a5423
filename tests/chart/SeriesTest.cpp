// The line series drawn in the station's chart, checked by the pixels it leaves: single
// points, breaks, stairs, the segment in from the left edge, skipped points, markers, margins,
// and the gathered polyline against segments drawn one by one.
#include "ChartFixture.h"
#include "FakeMetrics.h"
#include "tests/support/PropertyChecks.h"

#include "chart/Series.h"
#include "chart/TeeConst.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace {

constexpr platform::TRgb Red = 0x0000FF;
constexpr platform::TRgb Black = 0x000000;

// Draws every segment on its own, as the canvas is asked point by point.
class SegmentBySegmentSeries : public TLineSeries {
public:
    using TLineSeries::TLineSeries;

protected:
    bool BatchesSegments() const override { return false; }
};

int CountColour(const platform::TBitmapImage& Img, platform::TRgb Colour, const TRect& R)
{
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x)
            n += Img.Pixel(x, y) == Colour;
    return n;
}

TRect Whole(const platform::TBitmapImage& Img)
{
    return {0, 0, Img.Width(), Img.Height()};
}

// Either row of a 2-pixel line through (X, Y) is red.
bool RedNear(const platform::TBitmapImage& Img, int X, int Y)
{
    return Img.Pixel(X, Y) == Red || Img.Pixel(X, Y - 1) == Red;
}

struct StationLine : ::testing::Test {
    FakeMetrics Metrics{7, 13};
    TStationChart Station = MakeStationChart();
    std::unique_ptr<TChart>& Chart = Station.Chart;
    TLineSeries& Series = *Station.Series1;

    // The line alone: the legend's red symbols would count as line outside the clip.
    StationLine() { Chart->Legend()->SetVisible(false); }
    void Fill(const std::vector<double>& Samples)
    {
        Series.Clear();
        for (double v : Samples)
            Series.Add(v);
    }
    const platform::TBitmapImage& Paint() { return PaintNow(*Chart); }
    TPoint PixelOf(int Index) const
    {
        return {Series.XPosOfPoint(Index), Series.YPosOfPoint(Index)};
    }
    // Red along the middle stretch of the straight segment between two points.
    bool SegmentDrawn(const platform::TBitmapImage& Img, TPoint A, TPoint B)
    {
        for (int k = 1; k < 4; ++k) {
            const int x = A.X + (B.X - A.X) * k / 4;
            const int y = A.Y + (B.Y - A.Y) * k / 4;
            bool any = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    any = any || Img.Pixel(x + dx, y + dy) == Red;
            if (!any)
                return false;
        }
        return true;
    }
};

TEST_F(StationLine, OnePointDrawsNothing)
{
    Fill({42});
    EXPECT_EQ(CountColour(Paint(), Red, Whole(Chart->BackStore())), 0);
    // Not even a marker while the pointer is hidden.
    Series.Pointer()->SetStyle(psSmallDot);
    EXPECT_EQ(CountColour(Paint(), Red, Whole(Chart->BackStore())), 0);
    Series.Pointer()->SetVisible(true);
    EXPECT_GT(CountColour(Paint(), Red, Whole(Chart->BackStore())), 0);
}

TEST_F(StationLine, TwoPixelRedLineInsideTheClip)
{
    Fill({0, 100});
    const platform::TBitmapImage& img = Paint();
    const TRect plot = Chart->PlotRect();
    const TPoint a = PixelOf(0);
    const TPoint b = PixelOf(1);
    EXPECT_EQ(a, (TPoint{plot.Left, plot.Bottom}));
    EXPECT_EQ(b, (TPoint{plot.Right, plot.Top}));
    EXPECT_TRUE(SegmentDrawn(img, a, b));
    // The clip keeps the left column, the top row and the two bottom rows of the plotting
    // rectangle free, and everything outside it.
    const TRect clip{plot.Left + 1, plot.Top + 1, plot.Right, plot.Bottom - 1};
    EXPECT_EQ(CountColour(img, Red, Whole(img)), CountColour(img, Red, clip));
    // Two pixels thick: every red column holds 2 or 3 red pixels, away from the corners where
    // the clip cuts the line.
    for (int x = clip.Left + 5; x < clip.Right - 4; ++x) {
        const int n = CountColour(img, Red, {x, clip.Top, x + 1, clip.Bottom});
        EXPECT_GE(n, 2) << x;
        EXPECT_LE(n, 3) << x;
    }
}

TEST_F(StationLine, PointsOnOnePixelMakeNoSegmentAndTheLineGoesOnFromThere)
{
    Chart->BottomAxis()->SetLimits(0, 1000);
    Chart->LeftAxis()->SetLimits(0, 10);
    Series.AddPoint(100, 5);
    Series.AddPoint(100.1, 5);
    ASSERT_EQ(PixelOf(0), PixelOf(1));
    // Not even the dot that a wide pen could leave for a line of no length.
    EXPECT_EQ(CountColour(Paint(), Red, Whole(Chart->BackStore())), 0);

    Series.AddPoint(600, 8);
    const platform::TBitmapImage& img = Paint();
    std::vector<platform::TRgb> three;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x)
            three.push_back(img.Pixel(x, y));
    // The same picture as the line from the shared pixel straight to the last point.
    Series.Delete(1);
    const platform::TBitmapImage& two = Paint();
    int differ = 0;
    for (int y = 0; y < two.Height(); ++y)
        for (int x = 0; x < two.Width(); ++x)
            differ += two.Pixel(x, y) != three[std::size_t(y * two.Width() + x)];
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(SegmentDrawn(two, PixelOf(0), PixelOf(1)));
}

TEST_F(StationLine, PointsWithoutValueBreakTheLine)
{
    Fill({10, 50, 20, 60, 30});
    Series.SetPointColor(2, clNone);
    const platform::TBitmapImage& img = Paint();
    EXPECT_TRUE(SegmentDrawn(img, PixelOf(0), PixelOf(1)));
    EXPECT_FALSE(SegmentDrawn(img, PixelOf(1), PixelOf(2)));
    EXPECT_FALSE(SegmentDrawn(img, PixelOf(2), PixelOf(3)));
    EXPECT_TRUE(SegmentDrawn(img, PixelOf(3), PixelOf(4)));
}

TEST_F(StationLine, EachSegmentTakesItsEndPointsColour)
{
    Fill({10, 50, 20});
    Series.SetPointColor(2, clBlue);
    Series.LinePen()->SetColor(clLime); // no effect in two dimensions
    const platform::TBitmapImage& img = Paint();
    EXPECT_TRUE(SegmentDrawn(img, PixelOf(0), PixelOf(1)));
    EXPECT_GT(CountColour(img, 0xFF0000, Chart->PlotRect()), 0);
    EXPECT_EQ(CountColour(img, 0x00FF00, Whole(img)), 0);
    Series.SetSeriesColor(clLime);
    const platform::TBitmapImage& again = Paint();
    EXPECT_EQ(CountColour(again, Red, Whole(again)), 0);
    EXPECT_GT(CountColour(again, 0x00FF00, Whole(again)), 0);
}

TEST_F(StationLine, HiddenLinePenDrawsNothing)
{
    Fill({10, 50, 20});
    Series.LinePen()->SetVisible(false);
    const platform::TBitmapImage& img = Paint();
    EXPECT_EQ(CountColour(img, Red, Whole(img)), 0);
    EXPECT_EQ(Series.FirstShown(), 0);
    EXPECT_EQ(Series.LastShown(), 2);
}

TEST_F(StationLine, StairsGoAcrossThenUpOrUpThenAcross)
{
    Fill({0, 100});
    Series.SetStairs(true);
    Series.LinePen()->SetWidth(1);
    // Stairs ask for margins of the pen width (bottom one more): the points move inside.
    int before = 0, after = 0;
    Series.VertMargins(before, after);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 2);
    Series.HorizMargins(before = 0, after = 0);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    const platform::TBitmapImage& img = Paint();
    const TPoint a = PixelOf(0);
    const TPoint b = PixelOf(1);
    ASSERT_LT(a.X, b.X);
    ASSERT_GT(a.Y, b.Y);
    for (int x = a.X + 1; x < b.X; ++x)
        EXPECT_EQ(img.Pixel(x, a.Y), Red) << x;
    for (int y = b.Y + 1; y < a.Y; ++y)
        EXPECT_EQ(img.Pixel(b.X, y), Red) << y;
    EXPECT_NE(img.Pixel((a.X + b.X) / 2, (a.Y + b.Y) / 2), Red);

    Series.SetInvertedStairs(true);
    const platform::TBitmapImage& inv = Paint();
    for (int y = b.Y + 1; y < a.Y - 1; ++y)
        EXPECT_EQ(inv.Pixel(a.X, y), Red) << y;
    for (int x = a.X + 1; x < b.X; ++x)
        EXPECT_EQ(inv.Pixel(x, b.Y), Red) << x;
    EXPECT_NE(inv.Pixel(b.X - 5, a.Y - 1), Red);
}

TEST_F(StationLine, ZoomedFirstSegmentComesInFromTheLeftEdge)
{
    Fill({0, 10, 20, 80, 40, 50, 60, 70, 80, 90});
    Chart->BottomAxis()->SetLimits(2.5, 9);
    const platform::TBitmapImage& img = Paint();
    EXPECT_EQ(Series.FirstShown(), 3);
    const TRect plot = Chart->PlotRect();
    // Y at X 2.5 between points 2 (20) and 3 (80).
    const double xs = Chart->BottomAxis()->PixelToValue(plot.Left);
    const int ys = Series.YPosOfValue(20 + (80 - 20) * (xs - 2) / (3 - 2));
    EXPECT_TRUE(RedNear(img, plot.Left + 1, ys));
    EXPECT_TRUE(SegmentDrawn(img, {plot.Left, ys}, PixelOf(3)));

    // No value before it: no segment from the edge.
    Series.SetPointColor(2, clNone);
    const platform::TBitmapImage& broken = Paint();
    EXPECT_FALSE(RedNear(broken, plot.Left + 1, ys));
    EXPECT_TRUE(SegmentDrawn(broken, PixelOf(3), PixelOf(4)));

    // With stairs the edge segment starts at point 2's height.
    Series.SetPointColor(2, clDefault);
    Series.SetStairs(true);
    const platform::TBitmapImage& stairs = Paint();
    EXPECT_TRUE(RedNear(stairs, plot.Left + 2, Series.YPosOfValue(20)));
}

TEST_F(StationLine, PointsFarOutsideAreSkippedAndTheLineGoesOn)
{
    Fill({20, 1e9, 80});
    Chart->LeftAxis()->SetLimits(0, 100);
    const platform::TBitmapImage& img = Paint();
    ASSERT_LT(Series.YPosOfPoint(1), -32766);
    EXPECT_TRUE(SegmentDrawn(img, PixelOf(0), PixelOf(2)));
    // Within the platform's range the segment is drawn (and clipped).
    Fill({20, 150, 80});
    const platform::TBitmapImage& within = Paint();
    EXPECT_FALSE(SegmentDrawn(within, PixelOf(0), PixelOf(2)));
}

TEST_F(StationLine, MarkersOfEveryPoint)
{
    Fill({20, 60, 40});
    Chart->LeftAxis()->SetLimits(0, 100);
    Series.Pointer()->SetVisible(true);
    const platform::TBitmapImage& img = Paint();
    for (int i = 0; i < 3; ++i) {
        const TPoint p = PixelOf(i);
        // A black outline 9 x 9 around a red fill.
        EXPECT_EQ(img.Pixel(p.X - 2, p.Y - 2), Red) << i;
        EXPECT_EQ(img.Pixel(p.X - 4, p.Y + 1), Black) << i;
        EXPECT_EQ(img.Pixel(p.X + 4, p.Y - 1), Black) << i;
    }
    // Markers at the edges make the horizontal axis leave 5 pixels free on both sides.
    EXPECT_EQ(PixelOf(0).X, Chart->PlotRect().Left + 5);
    EXPECT_EQ(PixelOf(2).X, Chart->PlotRect().Right - 5);
}

TEST(SeriesMargins, OnlyVisibleMarkersWidenTheAxes)
{
    TLineSeries series(nullptr);
    int before = 0, after = 0;
    series.HorizMargins(before, after);
    EXPECT_EQ(before + after, 0);
    EXPECT_TRUE(series.Pointer()->InflateMargins());
    series.Pointer()->SetVisible(true);
    series.HorizMargins(before, after);
    EXPECT_EQ(before, 5);
    EXPECT_EQ(after, 5);
    series.Pointer()->SetVertSize(2);
    series.VertMargins(before = 0, after = 0);
    EXPECT_EQ(before, 3);
    EXPECT_EQ(after, 3);
    // Margins only grow.
    before = after = 9;
    series.VertMargins(before, after);
    EXPECT_EQ(before, 9);
    series.Pointer()->SetVisible(false);
    series.SetLineHeight(7);
    series.VertMargins(before = 0, after = 0);
    EXPECT_EQ(before, 0);
    EXPECT_EQ(after, 7);
}

TEST(SeriesPointer, SizeBelowOneIsRejected)
{
    TLineSeries series(nullptr);
    try {
        series.Pointer()->SetHorizSize(0);
        FAIL() << "accepted";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Pointer size must be greater than zero");
    }
    EXPECT_THROW(series.Pointer()->SetVertSize(-1), ChartException);
    EXPECT_EQ(series.Pointer()->HorizSize(), 4);
    EXPECT_EQ(series.Pointer()->VertSize(), 4);
}

TEST_F(StationLine, PropertyChangesRepaint)
{
    Fill({1, 2});
    Paint();
    ExpectActsExactlyOnChange([&] { return RepaintRequested(*Chart); }, {
        {"Stairs", [&] { Series.SetStairs(false); }, [&] { Series.SetStairs(true); }},
        {"Pointer.HorizSize", [&] { Series.Pointer()->SetHorizSize(4); }, [&] { Series.Pointer()->SetHorizSize(6); }},
        {"LinePen.Width", [&] { Series.LinePen()->SetWidth(2); }, [&] { Series.LinePen()->SetWidth(3); }},
        {"Pointer.Brush.Color", [&] { Series.Pointer()->Brush()->SetColor(clDefault); }, [&] { Series.Pointer()->Brush()->SetColor(clBlue); }},
        {"InvertedStairs", [&] { Series.SetInvertedStairs(false); }, [&] { Series.SetInvertedStairs(true); }},
    });
}

TEST_F(StationLine, LegendSymbolIsTheLineAcrossItsRectangle)
{
    Fill({1, 2});
    const TRect symbol{300, 20, 320, 30};
    Chart->OnAfterDraw = [&](TObject*) { Series.DrawLegendSymbol(-1, symbol); };
    const platform::TBitmapImage& img = Paint();
    // The 2-pixel pen's round ends reach one pixel left of the rectangle and onto its right
    // edge.
    for (int x = symbol.Left - 1; x <= symbol.Right; ++x) {
        EXPECT_EQ(img.Pixel(x, 25), Red) << x;
        EXPECT_EQ(img.Pixel(x, 24), Red) << x;
        EXPECT_NE(img.Pixel(x, 26), Red) << x;
    }
    EXPECT_NE(img.Pixel(symbol.Left - 2, 25), Red);
    EXPECT_NE(img.Pixel(symbol.Right + 1, 25), Red);
    TColor back = clWhite;
    TBrushStyle style = bsClear;
    Series.SetLineBrush(bsCross);
    Series.PrepareLegendPen(-1, back, style);
    EXPECT_EQ(style, bsCross);
}

// The gathered polyline against segments drawn one by one, on dense data.
struct Identity : ::testing::Test {
    FakeMetrics Metrics{7, 13};

    std::vector<platform::TRgb> PaintWith(TLineSeries& Series, int Width, int Height,
                                          const std::function<void(TLineSeries&)>& Fill)
    {
        auto chart = MakeStationChart().Chart;
        chart->SetBounds(0, 0, Width, Height);
        Series.SetParentChart(chart.get());
        Series.SetSeriesColor(clRed);
        Series.LinePen()->SetWidth(2);
        Fill(Series);
        const platform::TBitmapImage& img = PaintNow(*chart);
        std::vector<platform::TRgb> pixels;
        for (int y = 0; y < img.Height(); ++y)
            for (int x = 0; x < img.Width(); ++x)
                pixels.push_back(img.Pixel(x, y));
        Series.SetParentChart(nullptr);
        return pixels;
    }
    void ExpectSame(int Width, int Height, const std::function<void(TLineSeries&)>& Fill)
    {
        TLineSeries fast(nullptr);
        SegmentBySegmentSeries slow(nullptr);
        const auto a = PaintWith(fast, Width, Height, Fill);
        const auto b = PaintWith(slow, Width, Height, Fill);
        ASSERT_EQ(a.size(), b.size());
        int differ = 0;
        int red = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            differ += a[i] != b[i];
            red += a[i] == Red;
        }
        EXPECT_EQ(differ, 0);
        EXPECT_GT(red, 0);
    }
};

TEST_F(Identity, SineOf1024SamplesInTheStationChart)
{
    ExpectSame(449, 161, [](TLineSeries& s) {
        for (int i = 0; i < 1024; ++i)
            s.Add(32768 + 30000 * std::sin(i * 0.05));
    });
}

TEST_F(Identity, RandomWalkWithBreaksAndColoursInALargeChart)
{
    ExpectSame(1600, 900, [](TLineSeries& s) {
        std::mt19937 gen(7);
        std::uniform_real_distribution<double> step(-50, 50);
        double v = 0;
        for (int i = 0; i < 100000; ++i) {
            v += step(gen);
            const TColor c = i % 9973 == 0 ? clNone : (i % 20000 < 10000 ? clDefault : clBlue);
            s.Add(v, "", c);
        }
    });
}

TEST_F(Identity, OtherPenWidthsFarPointsAndAnInvertedAxis)
{
    for (int width : {1, 3, 5})
        ExpectSame(700, 300, [width](TLineSeries& s) {
            s.LinePen()->SetWidth(width);
            std::mt19937 gen(3);
            for (int i = 0; i < 5000; ++i) {
                double v = double(gen() % 1000);
                if (gen() % 50 == 0)
                    v = gen() % 2 ? 1e9 : -1e9; // beyond the drawable pixels: skipped
                s.Add(v, "", gen() % 97 == 0 ? clNone : clDefault);
            }
            s.ParentChart()->LeftAxis()->SetLimits(0, 1000);
            s.ParentChart()->BottomAxis()->SetInverted(true);
        });
}

TEST_F(Identity, StairsAndZoomedRange)
{
    ExpectSame(800, 400, [](TLineSeries& s) {
        s.SetStairs(true);
        for (int i = 0; i < 3000; ++i)
            s.Add(std::fmod(i * 37.0, 101.0));
        s.ParentChart()->BottomAxis()->SetLimits(100.5, 700.25);
    });
}

} // namespace
