// The axes inside the station's chart: range, layout share, label steps and texts, ticks and
// grid by pixels, conversions, and the setter checks.
#include "ChartFixture.h"
#include "FakeMetrics.h"
#include "tests/support/PropertyChecks.h"

#include "chart/Series.h"
#include "chart/TeeConst.h"
#include "chart/TeeFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr platform::TRgb Grey = 0x808080;
constexpr platform::TRgb Black = 0x000000;

std::string Thousands(const char* High, const char* Low)
{
    return std::string(High) + LocaleSeparators().Thousand + Low;
}

// The station's chart with its one line series, text measured with fixed metrics: every
// character 7 pixels wide and every text 13 pixels high.
struct StationAxes : ::testing::Test {
    FakeMetrics Metrics{7, 13};
    TStationChart Station = MakeStationChart();
    std::unique_ptr<TChart>& Chart = Station.Chart;
    TLineSeries& Series = *Station.Series1;
    // Label texts as drawn by the left axis in its last paint.
    std::vector<std::string> LeftLabels;

    void Fill(int Count, const std::function<double(int)>& Sample)
    {
        Series.Clear();
        for (int i = 0; i < Count; ++i)
            Series.Add(Sample(i));
    }
    const platform::TBitmapImage& Paint() { return PaintNow(*Chart); }
    // Records the texts of the left axis while the axes draw.
    void RecordLeftLabels()
    {
        Chart->OnBeforeDrawAxes = [this](TObject*) { LeftLabels.clear(); };
        Chart->OnGetAxisLabel = [this](TCustomChartAxis* Axis, TChartSeries*, int, std::string& Text) {
            if (Axis == Chart->LeftAxis())
                LeftLabels.push_back(Text);
        };
    }
    // The labels drawn, after the two texts that the label step is measured from.
    std::vector<std::string> DrawnLeftLabels()
    {
        Chart->Invalidate();
        Paint();
        return LeftLabels.size() < 2 ? std::vector<std::string>{}
                                     : std::vector<std::string>(LeftLabels.begin() + 2, LeftLabels.end());
    }
    std::vector<int> PixelsOf(const TCustomChartAxis* Axis, std::initializer_list<double> Values)
    {
        std::vector<int> out;
        for (double v : Values)
            out.push_back(Axis->ValueToPixel(v));
        return out;
    }
};

TEST_F(StationAxes, AutomaticRangeFollowsTheSeries)
{
    Fill(100, [](int i) { return 500 - i * 3.5; });
    Paint();
    EXPECT_EQ(Chart->BottomAxis()->Minimum(), 0);
    EXPECT_EQ(Chart->BottomAxis()->Maximum(), 99);
    EXPECT_EQ(Chart->LeftAxis()->Minimum(), 500 - 99 * 3.5);
    EXPECT_EQ(Chart->LeftAxis()->Maximum(), 500);
    EXPECT_EQ(Chart->LeftAxis()->Range(), 99 * 3.5);
    // A fixed end keeps its value; the other still follows.
    Chart->LeftAxis()->SetAutomaticMaximum(false);
    Chart->LeftAxis()->SetMaximum(1000);
    Paint();
    EXPECT_EQ(Chart->LeftAxis()->RangeMaximum(), 1000);
    EXPECT_EQ(Chart->LeftAxis()->RangeMinimum(), 500 - 99 * 3.5);
}

TEST_F(StationAxes, InactiveSeriesCountOnlyWithoutActiveOnes)
{
    Fill(10, [](int i) { return i; });
    TLineSeries other(nullptr);
    other.SetParentChart(Chart.get());
    other.Add(-50);
    other.Add(70);
    Chart->LeftAxis()->ComputeAutoRange();
    EXPECT_EQ(Chart->LeftAxis()->Minimum(), -50);
    EXPECT_EQ(Chart->LeftAxis()->Maximum(), 70);
    other.SetActive(false);
    Chart->LeftAxis()->ComputeAutoRange();
    EXPECT_EQ(Chart->LeftAxis()->Minimum(), 0);
    EXPECT_EQ(Chart->LeftAxis()->Maximum(), 9);
    Series.SetActive(false);
    Chart->LeftAxis()->ComputeAutoRange();
    EXPECT_EQ(Chart->LeftAxis()->Minimum(), -50);
    EXPECT_EQ(Chart->LeftAxis()->Maximum(), 70);
}

TEST_F(StationAxes, WorkedLayoutOfAHundredSamples)
{
    // The widest left label is "990" on the first paint and "800" later: 21 + 7 for the space.
    Fill(100, [](int i) { return i * 10.0; });
    Paint();
    const TRect plot = Chart->PlotRect();
    EXPECT_EQ(plot.Left, 47);   // 13 + 28 + 6
    EXPECT_EQ(plot.Top, 6);
    EXPECT_EQ(plot.Bottom, 136); // 155 - (13 + 6)
    EXPECT_EQ(Chart->BottomAxis()->LabelsPosition(), 142);
    EXPECT_EQ(Chart->LeftAxis()->LabelsPosition(), 41);
    EXPECT_EQ(Chart->BottomAxis()->StartPixel(), 47);
    EXPECT_EQ(Chart->BottomAxis()->EndPixel(), plot.Right);
    EXPECT_EQ(Chart->LeftAxis()->StartPixel(), 6);
    EXPECT_EQ(Chart->LeftAxis()->EndPixel(), 136);
    EXPECT_EQ(Chart->LeftAxis()->AxisLength(), 130);
    EXPECT_EQ(Chart->LeftAxis()->CenterPixel(), 71);
    EXPECT_EQ(Chart->LeftAxis()->AxisPosition(), 47);
    EXPECT_EQ(Chart->BottomAxis()->AxisPosition(), 136);
    Chart->Invalidate();
    Paint();
    EXPECT_EQ(Chart->PlotRect(), plot);
}

TEST_F(StationAxes, TheFirstPaintMeasuresTheRawLimitsTheSecondTheRoundedOnes)
{
    // First paint: no axis length yet, so the labels measured are "0" and "1,234.5"; then the
    // step 200 of the drawn layout rounds the top label to "1,200".
    Fill(2, [](int i) { return i * 1234.5; });
    Paint();
    const int first = Chart->PlotRect().Left;
    EXPECT_EQ(first, 13 + 7 * 8 + 6);
    Chart->Invalidate();
    Paint();
    EXPECT_EQ(Chart->PlotRect().Left, 13 + 7 * 6 + 6);
    Chart->Invalidate();
    Paint();
    EXPECT_EQ(Chart->PlotRect().Left, 13 + 7 * 6 + 6);
}

TEST_F(StationAxes, ZeroToThousandWithRoomForNineLabels)
{
    Fill(2, [](int i) { return i * 1000.0; });
    RecordLeftLabels();
    const std::vector<std::string> drawn = DrawnLeftLabels();
    // 130 pixels, 13 high plus 1 apart: 9 labels fit, so the step is 200.
    EXPECT_EQ(drawn, (std::vector<std::string>{Thousands("1", "000"), "800", "600", "400", "200", "0"}));
    const TCustomChartAxis* left = Chart->LeftAxis();
    EXPECT_EQ(left->TickPositions(), PixelsOf(left, {1000, 800, 600, 400, 200, 0}));
    EXPECT_EQ(left->TickPositions().front(), left->StartPixel());
    EXPECT_EQ(left->TickPositions().back(), left->EndPixel());
}

TEST_F(StationAxes, AWishedIncrementThatFitsIsKept)
{
    Fill(2, [](int i) { return i * 10.0; });
    Chart->LeftAxis()->SetIncrement(3);
    RecordLeftLabels();
    EXPECT_EQ(DrawnLeftLabels(), (std::vector<std::string>{"9", "6", "3", "0"}));
    Chart->LeftAxis()->SetRoundFirstLabel(false);
    EXPECT_EQ(DrawnLeftLabels(), (std::vector<std::string>{"10", "7", "4", "1"}));
    // Too many labels at 3: the step moves on to 5, 10, 20 ...
    Fill(2, [](int i) { return i * 100.0; });
    Chart->LeftAxis()->SetRoundFirstLabel(true);
    EXPECT_EQ(DrawnLeftLabels(), (std::vector<std::string>{"100", "80", "60", "40", "20", "0"}));
}

TEST_F(StationAxes, AnEmptySeriesDrawsOneZeroAtTheMiddleOfEachAxis)
{
    RecordLeftLabels();
    EXPECT_EQ(DrawnLeftLabels(), (std::vector<std::string>{"0"}));
    for (TCustomChartAxis* axis : {static_cast<TCustomChartAxis*>(Chart->LeftAxis()),
                                   static_cast<TCustomChartAxis*>(Chart->BottomAxis())}) {
        EXPECT_EQ(axis->Minimum(), 0);
        EXPECT_EQ(axis->Maximum(), 0);
        EXPECT_EQ(axis->ComputeIncrement(), 1e-12);
        EXPECT_EQ(axis->TickPositions(), std::vector<int>{axis->CenterPixel()});
    }
}

TEST_F(StationAxes, AllZeroSamplesLabelTheMiddleOnly)
{
    Fill(1024, [](int) { return 0.0; });
    RecordLeftLabels();
    EXPECT_EQ(DrawnLeftLabels(), (std::vector<std::string>{"0"}));
    EXPECT_EQ(Chart->LeftAxis()->TickPositions(), std::vector<int>{Chart->LeftAxis()->CenterPixel()});
    EXPECT_EQ(Chart->BottomAxis()->Maximum(), 1023);
    EXPECT_GT(Chart->BottomAxis()->TickPositions().size(), 1u);
}

TEST_F(StationAxes, EqualSamplesAwayFromZeroLabelOnce)
{
    Fill(1024, [](int) { return 65535.0; });
    RecordLeftLabels();
    EXPECT_EQ(DrawnLeftLabels(), (std::vector<std::string>{Thousands("65", "535")}));
    Fill(16, [](int) { return 100.0; });
    EXPECT_EQ(DrawnLeftLabels(), (std::vector<std::string>{"100"}));
}

TEST_F(StationAxes, SixteenBitRangeCarriesThousandsSeparators)
{
    Fill(2, [](int i) { return i * 65535.0; });
    RecordLeftLabels();
    EXPECT_EQ(DrawnLeftLabels(),
              (std::vector<std::string>{Thousands("60", "000"), Thousands("50", "000"), Thousands("40", "000"),
                                        Thousands("30", "000"), Thousands("20", "000"), Thousands("10", "000"), "0"}));
    EXPECT_EQ(Chart->LeftAxis()->LabelText(65535), Thousands("65", "535"));
    EXPECT_EQ(Chart->LeftAxis()->LabelText(-1234.5), Thousands("-1", "234") + LocaleSeparators().Decimal + "5");
}

TEST_F(StationAxes, ConversionsAtBothEnds)
{
    Fill(100, [](int i) { return 200.0 + i; });
    Paint();
    const TCustomChartAxis* left = Chart->LeftAxis();
    const TCustomChartAxis* bottom = Chart->BottomAxis();
    EXPECT_EQ(left->ValueToPixel(200), left->EndPixel());
    EXPECT_EQ(left->ValueToPixel(299), left->StartPixel());
    EXPECT_EQ(left->PixelToValue(left->EndPixel()), 200);
    EXPECT_EQ(left->PixelToValue(left->StartPixel()), 299);
    EXPECT_EQ(bottom->PixelToValue(bottom->StartPixel()), 0);
    EXPECT_EQ(bottom->PixelToValue(bottom->EndPixel()), 99);
    EXPECT_EQ(bottom->ValueToPixel(0), bottom->StartPixel());
    // Far beyond the int range: the centre, not a wrapped pixel.
    EXPECT_EQ(left->ValueToPixel(1e300), left->CenterPixel());
    EXPECT_EQ(bottom->ValueToPixel(-1e300), bottom->CenterPixel());
    Chart->BottomAxis()->SetInverted(true);
    Paint();
    EXPECT_EQ(bottom->ValueToPixel(0), bottom->EndPixel());
    EXPECT_EQ(bottom->PixelToValue(bottom->EndPixel()), 0);
}

TEST_F(StationAxes, TicksAndDottedGridByPixels)
{
    Fill(2, [](int i) { return i * 1000.0; });
    const platform::TBitmapImage& img = Paint();
    const TCustomChartAxis* left = Chart->LeftAxis();
    const int x = left->AxisPosition();
    // The axis line, 2 pixels wide, on the plotting rectangle's left edge.
    EXPECT_EQ(img.Pixel(x - 1, 70), Black);
    EXPECT_EQ(img.Pixel(x, 70), Black);
    for (int p : left->TickPositions()) {
        if (p == left->StartPixel() || p == left->EndPixel())
            continue; // shared with the frame
        // The tick: 4 pixels leftwards from x - 1, over the outer column of the 2-pixel line.
        for (int dx = 1; dx <= 4; ++dx)
            EXPECT_EQ(img.Pixel(x - dx, p), Grey) << p << " " << dx;
        EXPECT_NE(img.Pixel(x - 5, p), Grey);
        // The dotted grid across the plotting rectangle: every other pixel.
        int grey = 0;
        for (int gx = Chart->PlotRect().Left + 1; gx < Chart->PlotRect().Right; ++gx)
            grey += img.Pixel(gx, p) == Grey;
        const int width = Chart->PlotRect().Width() - 1;
        EXPECT_GT(grey, width / 4) << p;
        EXPECT_LT(grey, width * 3 / 4) << p;
    }
    // Minor ticks: 2 pixels long, three between labels.
    const int mid = (left->TickPositions()[1] + left->TickPositions()[2]) / 2;
    EXPECT_EQ(img.Pixel(x - 1, mid), Grey);
    EXPECT_EQ(img.Pixel(x - 2, mid), Grey);
    EXPECT_NE(img.Pixel(x - 3, mid), Grey);
}

TEST_F(StationAxes, LabelsOffWithTicksOnLabelsOnlyDrawTheLineAlone)
{
    Fill(2, [](int i) { return i * 1000.0; });
    Chart->LeftAxis()->SetLabels(false);
    const platform::TBitmapImage& img = Paint();
    const TCustomChartAxis* left = Chart->LeftAxis();
    EXPECT_TRUE(left->TickPositions().empty());
    const int x = left->AxisPosition();
    EXPECT_EQ(img.Pixel(x - 1, 70), Black);
    // No label room either: the axis line sits 6 pixels in from the panel margin.
    EXPECT_EQ(x, 13 + 6);
    for (int y = left->StartPixel() + 1; y < left->EndPixel(); ++y) {
        EXPECT_NE(img.Pixel(x - 3, y), Grey) << y;
        EXPECT_NE(img.Pixel(x + 40, y), Grey) << y;
    }
    // With ticks independent of labels they come back, still without texts.
    Chart->LeftAxis()->SetTickOnLabelsOnly(false);
    Paint();
    EXPECT_EQ(left->TickPositions().size(), 6u);
}

TEST_F(StationAxes, NextLabelEventSuppliesTheValues)
{
    Fill(2, [](int i) { return i * 1000.0; });
    std::vector<double> supplied{0, 250, 1000, 5000};
    Chart->OnGetNextAxisLabel = [&](TCustomChartAxis* Axis, int Index, double& Value, bool& Stop) {
        if (Axis != Chart->LeftAxis())
            return; // the flag stays set: automatic labels
        Value = supplied[std::size_t(Index)];
        Stop = false;
    };
    Paint();
    const TCustomChartAxis* left = Chart->LeftAxis();
    // 5000 lies outside the range and ends the labels.
    EXPECT_EQ(left->TickPositions(), PixelsOf(left, {0, 250, 1000}));
    EXPECT_EQ(Chart->BottomAxis()->TickPositions(), PixelsOf(Chart->BottomAxis(), {1, 0}));
    // Setting the flag again ends the labels at that index.
    Chart->OnGetNextAxisLabel = [&](TCustomChartAxis*, int Index, double& Value, bool& Stop) {
        Value = supplied[std::size_t(Index)];
        Stop = Index == 2;
    };
    Chart->Invalidate();
    Paint();
    EXPECT_EQ(left->TickPositions(), PixelsOf(left, {0, 250}));
}

TEST_F(StationAxes, LabelStyleFollowsThePoints)
{
    EXPECT_EQ(Chart->LeftAxis()->LabelStyleInEffect(), talValue);
    Series.Add(5, "first");
    Series.Add(7, "second");
    // Labelled points give the horizontal axis their texts; the vertical one keeps values.
    EXPECT_EQ(Chart->BottomAxis()->LabelStyleInEffect(), talText);
    EXPECT_EQ(Chart->LeftAxis()->LabelStyleInEffect(), talValue);
    Paint();
    EXPECT_EQ(Chart->BottomAxis()->TickPositions(), PixelsOf(Chart->BottomAxis(), {0, 1}));
    Series.SetActive(false);
    EXPECT_EQ(Chart->LeftAxis()->LabelStyleInEffect(), talNone);
    Chart->LeftAxis()->SetLabelStyle(talValue);
    EXPECT_EQ(Chart->LeftAxis()->LabelStyleInEffect(), talValue);
}

TEST_F(StationAxes, MultiLineLabelsBreakAtSpaces)
{
    Chart->LeftAxis()->SetAxisValuesFormat("#,##0 'mV'");
    EXPECT_EQ(Chart->LeftAxis()->LabelText(1500), Thousands("1", "500") + " mV");
    Chart->LeftAxis()->SetLabelsMultiLine(true);
    EXPECT_EQ(Chart->LeftAxis()->LabelText(1500), Thousands("1", "500") + "\rmV");
    // Two lines take the room of their wider line: "1,500 " against "mV".
    Fill(2, [](int i) { return i * 1500.0; });
    Chart->LeftAxis()->SetIncrement(1500);
    Paint();
    Chart->Invalidate();
    Paint();
    EXPECT_EQ(Chart->PlotRect().Left, 13 + 7 * 5 + 7 + 6);
}

TEST(AxisSetters, RejectedValuesKeepTheOldOneWithTheirMessages)
{
    TChart chart(nullptr);
    TChartAxis& axis = *chart.LeftAxis();
    const auto message = [](const std::function<void()>& f) -> std::string {
        try {
            f();
        } catch (const AxisException& e) {
            return "Axis: " + e.Message();
        } catch (const ChartException& e) {
            return "Chart: " + e.Message();
        }
        return "accepted";
    };
    EXPECT_EQ(message([&] { axis.SetIncrement(-1); }), "Axis: Axis increment must be >= 0");
    EXPECT_EQ(message([&] { axis.SetIncrement(std::nan("")); }), "Axis: Axis increment must be >= 0");
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_EQ(message([&] { axis.SetIncrement(0); }), "accepted");
    EXPECT_EQ(message([&] { axis.SetLabelsAngle(360); }),
              "Chart: Axis Labels Angle must be between 0 and 359 degrees");
    EXPECT_EQ(message([&] { axis.SetLabelsAngle(-1); }),
              "Chart: Axis Labels Angle must be between 0 and 359 degrees");
    EXPECT_EQ(axis.LabelsAngle(), 0);
    EXPECT_EQ(message([&] { axis.Title()->SetAngle(360); }),
              "Chart: Axis Title Angle must be between 0 and 359 degrees");
    EXPECT_EQ(axis.Title()->Angle(), 90);
    EXPECT_EQ(message([&] { axis.SetMinimum(5); }), "Axis: Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(message([&] { axis.SetMaximum(-5); }), "Axis: Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(message([&] { axis.SetMaximum(10); }), "accepted");
    EXPECT_EQ(message([&] { axis.SetMinimum(5); }), "accepted");
    EXPECT_EQ(axis.Minimum(), 5);
    EXPECT_EQ(message([&] { axis.SetLabelsSeparation(-1); }),
              "Axis: Labels Separation % must be greater than 0");
    EXPECT_EQ(message([&] { axis.SetLabelsSeparation(0); }), "accepted");
    EXPECT_EQ(message([&] { axis.SetLogarithmicBase(1); }), "Axis: Axis Logarithmic Base should be >= 2");
    EXPECT_EQ(axis.LogarithmicBase(), 10);

    TLineSeries series(nullptr);
    series.SetParentChart(&chart);
    series.Add(-3);
    EXPECT_EQ(message([&] { axis.SetLogarithmic(true); }),
              "Axis: Logarithmic Axis Min and Max values should be >= 0");
    EXPECT_FALSE(axis.Logarithmic());
    series.XValues()->SetDateTime(true);
    EXPECT_EQ(message([&] { chart.BottomAxis()->SetLogarithmic(true); }), "Axis: DateTime Axis cannot be Logarithmic");
}

TEST(AxisSetters, AutomaticFlagsMoveTogether)
{
    TChart chart(nullptr);
    TChartAxis& axis = *chart.BottomAxis();
    axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_TRUE(axis.AutomaticMaximum());
    axis.SetAutomaticMinimum(true);
    EXPECT_TRUE(axis.Automatic());
    axis.SetAutomatic(false);
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    axis.SetAutomaticMaximum(true);
    EXPECT_FALSE(axis.Automatic()); // the minimum is still fixed
    axis.SetAutomatic(true);
    EXPECT_TRUE(axis.AutomaticMinimum() && axis.AutomaticMaximum());
}

TEST(AxisSetters, SetLimitsFixesAndOrders)
{
    TChart chart(nullptr);
    TChartAxis& axis = *chart.BottomAxis();
    axis.SetLimits(9, 2);
    EXPECT_FALSE(axis.Automatic() || axis.AutomaticMinimum() || axis.AutomaticMaximum());
    EXPECT_EQ(axis.Minimum(), 2);
    EXPECT_EQ(axis.Maximum(), 9);
    axis.SetLimits(4, 4);
    EXPECT_EQ(axis.Minimum(), 4);
    EXPECT_EQ(axis.Maximum(), 4 + 1e-10);
}

TEST(AxisSetters, RepaintOnlyOnAChange)
{
    TStationChart station = MakeStationChart();
    TChart& chart = *station.Chart;
    TChartAxis& axis = *chart.LeftAxis();
    axis.SetLimits(1, 2);
    PaintNow(chart);
    ExpectActsExactlyOnChange([&] { return RepaintRequested(chart); }, {
        {"TickLength", [&] { axis.SetTickLength(4); }, [&] { axis.SetTickLength(6); }},
        {"Increment", [&] { axis.SetIncrement(0); }, [&] { axis.SetIncrement(5); }},
        {"AxisValuesFormat", [&] { axis.SetAxisValuesFormat("#,##0.###"); }, [&] { axis.SetAxisValuesFormat("0.0"); }},
        {"Grid.Visible", [&] { axis.Grid()->SetVisible(true); }, [&] { axis.Grid()->SetVisible(false); }},
        {"LabelsFont.Size", [&] { axis.LabelsFont()->SetSize(8); }, [&] { axis.LabelsFont()->SetSize(10); }},
        {"Title.Caption", [&] { axis.Title()->SetCaption(""); }, [&] { axis.Title()->SetCaption("Volts"); }},
        {"SetLimits", [&] { axis.SetLimits(1, 2); }, [&] { axis.SetLimits(1, 3); }},
        {"Automatic", [&] { axis.SetAutomatic(false); }, [&] { axis.SetAutomatic(true); }},
    });
}

} // namespace
