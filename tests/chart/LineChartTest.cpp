// The station's chart as the operator sees it, with the real fonts: the blocks of samples that
// the device sends, painted, checked by pixels and kept as PNGs for a look.
#include "ChartFixture.h"

#include "chart/Series.h"
#include "chart/TeeFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>

namespace {

constexpr platform::TRgb Red = 0x0000FF;
constexpr platform::TRgb Face = 0xC8D0D4;

struct StationChart : ::testing::Test {
    TStationChart Station = MakeStationChart();
    std::unique_ptr<TChart>& Chart = Station.Chart;
    TLineSeries& Series = *Station.Series1;
    std::vector<std::string> LeftLabels;

    StationChart()
    {
        Chart->OnBeforeDrawAxes = [this](TObject*) { LeftLabels.clear(); };
        Chart->OnGetAxisLabel = [this](TCustomChartAxis* Axis, TChartSeries*, int, std::string& Text) {
            if (Axis == Chart->LeftAxis())
                LeftLabels.push_back(Text);
        };
    }
    // One block as the window adds it: cleared, then sample by sample; painted once.
    const platform::TBitmapImage& Show(int Count, const std::function<double(int)>& Sample, const char* Name)
    {
        Series.Clear();
        Series.SetActive(true);
        for (int i = 0; i < Count; ++i)
            Series.Add(Sample(i), "", clDefault);
        const platform::TBitmapImage& img = PaintNow(*Chart);
        img.SavePng(::testing::TempDir() + "station-" + Name + ".png");
        return img;
    }
    TRect Clip() const
    {
        const TRect p = Chart->PlotRect();
        return {p.Left + 1, p.Top + 1, p.Right, p.Bottom - 1};
    }
    int RedIn(const platform::TBitmapImage& Img, const TRect& R) const
    {
        int n = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x)
                n += Img.Pixel(x, y) == Red;
        return n;
    }
    // Red anywhere but in the legend, whose line symbols are red too.
    int RedOutsideLegend(const platform::TBitmapImage& Img) const
    {
        return RedIn(Img, {0, 0, Img.Width(), Img.Height()}) - RedIn(Img, Chart->Legend()->LegendRect());
    }
    // The texts drawn by the left axis, after the two its step is measured from.
    std::vector<std::string> DrawnLeft() const { return {LeftLabels.begin() + 2, LeftLabels.end()}; }
};

TEST_F(StationChart, SineOf1024Samples)
{
    const auto& img = Show(1024, [](int i) { return 32768 + 30000 * std::sin(i * 2 * std::numbers::pi / 256); }, "sine");
    EXPECT_GT(RedIn(img, Clip()), 1000);
    EXPECT_EQ(RedOutsideLegend(img), RedIn(img, Clip()));
    // Four periods: red near the top and the bottom of the plotting rectangle in each quarter.
    const TRect c = Clip();
    for (int q = 0; q < 4; ++q) {
        const int x0 = c.Left + (c.Right - c.Left) * q / 4;
        const int x1 = c.Left + (c.Right - c.Left) * (q + 1) / 4;
        EXPECT_GT(RedIn(img, {x0, c.Top, x1, c.Top + 3}), 0) << q;
        EXPECT_GT(RedIn(img, {x0, c.Bottom - 3, x1, c.Bottom}), 0) << q;
    }
    // Round labels from the top down, with the locale's separators.
    const std::string sep = LocaleSeparators().Thousand;
    ASSERT_GE(DrawnLeft().size(), 3u);
    EXPECT_EQ(DrawnLeft().front(), "60" + sep + "000");
    EXPECT_EQ(Chart->BottomAxis()->Maximum(), 1023);
    // The panel around stays the button face.
    EXPECT_EQ(img.Pixel(3, 3), Face);
}

TEST_F(StationChart, RampFromCornerToCorner)
{
    const auto& img = Show(1024, [](int i) { return i * 64.0; }, "ramp");
    const TRect c = Clip();
    EXPECT_GT(RedIn(img, {c.Left, c.Bottom - 4, c.Left + 4, c.Bottom}), 0);
    EXPECT_GT(RedIn(img, {c.Right - 4, c.Top, c.Right, c.Top + 4}), 0);
    EXPECT_EQ(RedIn(img, {c.Left, c.Top, c.Left + 40, c.Top + 40}), 0);
    EXPECT_EQ(RedOutsideLegend(img), RedIn(img, Clip()));
}

TEST_F(StationChart, AllZerosLieOnTheMiddleRowUnderOneLabel)
{
    const auto& img = Show(1024, [](int) { return 0.0; }, "zeros");
    const int mid = Chart->LeftAxis()->CenterPixel();
    const TRect c = Clip();
    EXPECT_EQ(RedIn(img, {c.Left, mid - 1, c.Right, mid + 1}), 2 * (c.Right - c.Left));
    EXPECT_EQ(RedOutsideLegend(img), 2 * (c.Right - c.Left));
    EXPECT_EQ(DrawnLeft(), std::vector<std::string>{"0"});
}

TEST_F(StationChart, OneSampleShowsAxesButNoLine)
{
    const auto& img = Show(1, [](int) { return 1234.0; }, "one");
    EXPECT_EQ(RedOutsideLegend(img), 0);
    EXPECT_EQ(DrawnLeft().size(), 1u);
    EXPECT_EQ(Chart->BottomAxis()->TickPositions(), std::vector<int>{Chart->BottomAxis()->CenterPixel()});
}

TEST_F(StationChart, FullScaleEverywhere)
{
    const auto& img = Show(1024, [](int) { return 65535.0; }, "full");
    const int mid = Chart->LeftAxis()->CenterPixel();
    const TRect c = Clip();
    EXPECT_EQ(RedOutsideLegend(img), 2 * (c.Right - c.Left));
    EXPECT_EQ(img.Pixel(c.Left + 10, mid), Red);
    EXPECT_EQ(DrawnLeft(), std::vector<std::string>{"65" + LocaleSeparators().Thousand + "535"});
}

} // namespace
