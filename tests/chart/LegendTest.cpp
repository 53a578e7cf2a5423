// The legend beside the station's chart: its layout against the panel and the plotting
// rectangle (the worked layout of 100 samples), its texts, its box and symbols to the pixel,
// and the checks of its settings.
#include "ChartFixture.h"

#include "chart/TeeConst.h"
#include "chart/TeeFormat.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr platform::TRgb Red = 0x0000FF;
constexpr platform::TRgb Black = 0x000000;
constexpr platform::TRgb White = 0xFFFFFF;
constexpr platform::TRgb Face = 0xC8D0D4;

// The legend of the worked layout and its own settings.
struct StationLegend : WorkedLayout {
    TChartLegend& Legend = *Chart.Legend();
};

TEST_F(StationLegend, WorkedLayoutOfAHundredSamples)
{
    const platform::TBitmapImage& img = PaintHundred();
    EXPECT_EQ(Legend.Rows(), 10); // (155 - 2 - 16) / 13
    EXPECT_EQ(Legend.ColorBoxWidth(), 4);
    EXPECT_EQ(Legend.LegendRect(), (TRect{395, 16, 431, 148}));
    EXPECT_EQ(Chart.PlotRect(), (TRect{47, 6, 382, 136}));
    EXPECT_EQ(Chart.BottomAxis()->LabelsPosition(), 142);
    EXPECT_EQ(Chart.LeftAxis()->LabelsPosition(), 41);

    // The frame one pixel outside the box, the white inside, the shadow 3 pixels beyond the
    // frame on the right and below.
    EXPECT_EQ(img.Pixel(394, 80), Black);
    EXPECT_EQ(img.Pixel(431, 80), Black);
    EXPECT_EQ(img.Pixel(420, 15), Black);
    EXPECT_EQ(img.Pixel(420, 148), Black);
    EXPECT_EQ(img.Pixel(396, 80), White);
    for (int x = 432; x < 435; ++x)
        EXPECT_EQ(img.Pixel(x, 80), Black) << x;
    EXPECT_EQ(img.Pixel(435, 80), Face);
    EXPECT_EQ(img.Pixel(397, 149), Face); // the shadow starts 3 pixels in
    EXPECT_EQ(img.Pixel(398, 151), Black);
    EXPECT_EQ(img.Pixel(398, 152), Face);

    // Each row's symbol: the series' 2-pixel red line from 399 to 403 at the row's middle (how
    // far its ends reach is the pen's business; 3 pixels beyond them nothing does).
    for (int row = 0; row < 10; ++row) {
        const int y = 17 + row * 13 + 6;
        EXPECT_EQ(img.Pixel(396, y), White) << row;
        for (int x = 399; x < 403; ++x)
            EXPECT_EQ(img.Pixel(x, y), Red) << row << " " << x;
        EXPECT_EQ(img.Pixel(406, y), White) << row;
    }
    EXPECT_EQ(Legend.ItemText(8), "72 ");
}

TEST_F(StationLegend, AnEmptySeriesHasNoLegendAndNoGap)
{
    const platform::TBitmapImage& img = Paint();
    EXPECT_EQ(Legend.Rows(), 0);
    EXPECT_EQ(Chart.PlotRect().Right, 436);
    for (int x = 437; x < 446; ++x)
        EXPECT_EQ(img.Pixel(x, 30), Face) << x;
}

TEST_F(StationLegend, FiveSamplesMakeAFiveRowBoxFromTheTenthOfThePanel)
{
    Fill(5, [](int i) { return i; });
    Paint();
    EXPECT_EQ(Legend.Rows(), 5);
    EXPECT_EQ(Legend.LegendRect().Top, 16);
    EXPECT_EQ(Legend.LegendRect().Bottom, 16 + 5 * 13 + 2);
    // The plotting rectangle is the same height: only a vertical legend's width is taken.
    EXPECT_EQ(Chart.PlotRect().Top, 6);
}

TEST_F(StationLegend, WithoutResizeTheLegendOverlapsButTheGapStays)
{
    Legend.SetResizeChart(false);
    PaintHundred();
    EXPECT_EQ(Legend.LegendRect(), (TRect{395, 16, 431, 148}));
    EXPECT_EQ(Chart.PlotRect().Right, 436 - 13); // MulDiv(3, 423, 100)
}

TEST_F(StationLegend, ItemTextIsTheFormattedSampleAndOneSpace)
{
    Fill(2, [](int i) { return i ? 1234 : 0.5; });
    EXPECT_EQ(Legend.ItemText(1), "1" + LocaleSeparators().Thousand + "234 ");
    EXPECT_EQ(Legend.ItemText(0), "0" + LocaleSeparators().Decimal + "5 ");
}

TEST_F(StationLegend, TwoActiveSeriesAreListedByTitle)
{
    TChartSeries other(nullptr);
    other.SetParentChart(&Chart);
    Series.SetTitle("Samples");
    EXPECT_EQ(Legend.StyleInEffect(), lsSeries);
    EXPECT_EQ(Legend.ItemCount(), 2);
    EXPECT_EQ(Legend.ItemText(0), "Samples");
    EXPECT_EQ(Legend.ItemText(1), "Series 1");
}

TEST_F(StationLegend, ABlackLegendOutlinesTheSymbolsInWhite)
{
    // A plain series' symbol is a rectangle in the series colour, outlined by the legend's pen.
    Station.Series1.reset();
    TChartSeries plain(nullptr);
    plain.SetSeriesColor(clBlue);
    plain.SetParentChart(&Chart);
    plain.Add(7);
    Legend.SetColor(clBlack);
    const platform::TBitmapImage& img = Paint();
    // One row "7 " of 16 pixels: the text at 431 - 16 - 2 = 413, a symbol Round(26 * 0.12) = 3
    // wide from 406 to 409, from y = 19 to 28.
    ASSERT_EQ(Legend.LegendRect(), (TRect{402, 16, 431, 31}));
    const TRect s{406, 19, 409, 28};
    for (int y = s.Top; y < s.Bottom; ++y) {
        for (int x = s.Left; x < s.Right; ++x) {
            const bool edge = x == s.Left || x == s.Right - 1 || y == s.Top || y == s.Bottom - 1;
            EXPECT_EQ(img.Pixel(x, y), edge ? White : platform::TRgb(0xFF0000)) << x << "," << y;
        }
    }
    EXPECT_EQ(img.Pixel(405, 23), Black);
    EXPECT_EQ(img.Pixel(409, 23), Black);
}

TEST(Legend, RejectedSettingsKeepTheOldValue)
{
    TChart chart(nullptr);
    TChartLegend& legend = *chart.Legend();
    const auto rejects = [](const std::function<void()>& Set, const char* Message) {
        try {
            Set();
            ADD_FAILURE() << "accepted: " << Message;
        } catch (const LegendException& e) {
            EXPECT_STREQ(e.what(), Message);
        }
    };
    rejects([&] { legend.SetTopPos(101); }, "Top Legend Position must be between 0 and 100 %");
    rejects([&] { legend.SetTopPos(-1); }, "Top Legend Position must be between 0 and 100 %");
    rejects([&] { legend.SetFirstValue(-1); }, "First Legend Value must be > 0");
    rejects([&] { legend.SetColorWidth(101); }, "Legend Color Width must be between 0 and 100 %");
    EXPECT_EQ(legend.TopPos(), 10);
    EXPECT_EQ(legend.FirstValue(), 0);
    EXPECT_EQ(legend.ColorWidth(), 12);
    legend.SetFirstValue(3);
    legend.SetFirstValue(0);
    legend.SetTopPos(100);
    EXPECT_EQ(legend.FirstValue(), 0);
    EXPECT_EQ(legend.TopPos(), 100);
}

} // namespace
