// The chart with its series: attaching and detaching, colours for new series, repaint
// requests from series changes, the visible range against the axes, the order of the drawing
// sequence, and the room that titles take.
#include "ChartFixture.h"
#include "FakeMetrics.h"
#include "tests/support/PropertyChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ChartSeries, AttachingGivesAFreePaletteColourAndResolvesAxes)
{
    TChart chart(nullptr);
    TChartSeries a(nullptr), b(nullptr), c(nullptr), red(nullptr);
    a.SetParentChart(&chart);
    EXPECT_EQ(a.ParentChart(), &chart);
    EXPECT_EQ(a.SeriesColor(), clRed);
    EXPECT_EQ(a.HorizAxisObject(), chart.BottomAxis());
    EXPECT_EQ(a.VertAxisObject(), chart.LeftAxis());
    b.SetSeriesColor(clGreen); // taken by its own colour
    b.SetParentChart(&chart);
    c.SetParentChart(&chart);
    EXPECT_EQ(c.SeriesColor(), clYellow);
    red.SetSeriesColor(clRed);
    red.SetParentChart(&chart);
    EXPECT_EQ(red.SeriesColor(), clRed); // an own colour is kept
    ASSERT_EQ(chart.SeriesCount(), 4);
    EXPECT_EQ(chart.Series(0), &a);
    EXPECT_EQ(chart.Series(3), &red);

    // The panel colour is skipped too.
    TChart white(nullptr);
    white.SetColor(clRed);
    TChartSeries d(nullptr);
    d.SetParentChart(&white);
    EXPECT_EQ(d.SeriesColor(), clGreen);
}

TEST(ChartSeries, ChangingChartsMovesTheSeriesBetweenLists)
{
    TChart one(nullptr), two(nullptr);
    TChartSeries s(nullptr);
    s.SetParentChart(&one);
    s.SetParentChart(&two);
    EXPECT_EQ(one.SeriesCount(), 0);
    ASSERT_EQ(two.SeriesCount(), 1);
    EXPECT_EQ(s.HorizAxisObject(), two.BottomAxis());
    s.SetHorizAxis(aTopAxis);
    s.SetVertAxis(aRightAxis);
    EXPECT_EQ(s.HorizAxisObject(), two.TopAxis());
    EXPECT_EQ(s.VertAxisObject(), two.RightAxis());
    EXPECT_TRUE(s.IsAttachedToAxis(two.TopAxis()));
    EXPECT_FALSE(s.IsAttachedToAxis(two.BottomAxis()));
    s.SetHorizAxis(aBothHorizAxis);
    EXPECT_TRUE(s.IsAttachedToAxis(two.TopAxis()));
    EXPECT_TRUE(s.IsAttachedToAxis(two.BottomAxis()));
    EXPECT_FALSE(s.IsAttachedToAxis(two.LeftAxis()));
    s.SetParentChart(nullptr);
    EXPECT_EQ(two.SeriesCount(), 0);
    EXPECT_EQ(s.HorizAxisObject(), nullptr);
}

TEST(ChartSeries, SeriesAndChartMayGoInEitherOrder)
{
    auto chart = std::make_unique<TChart>(nullptr);
    auto first = std::make_unique<TChartSeries>(nullptr);
    TChartSeries second(nullptr);
    first->SetParentChart(chart.get());
    second.SetParentChart(chart.get());
    first.reset();
    ASSERT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(chart->Series(0), &second);
    second.Add(1);
    chart.reset();
    EXPECT_EQ(second.ParentChart(), nullptr);
    second.Add(2); // no chart to ask for a repaint any more
    EXPECT_EQ(second.Count(), 2);
}

TEST(ChartSeries, ActiveSeriesCount)
{
    TChart chart(nullptr);
    TChartSeries a(nullptr), b(nullptr);
    a.SetParentChart(&chart);
    b.SetParentChart(&chart);
    EXPECT_EQ(chart.ActiveSeriesCount(), 2);
    b.SetActive(false);
    EXPECT_EQ(chart.ActiveSeriesCount(), 1);
    EXPECT_EQ(chart.SeriesList()->ActiveCount(), 1);
}

// What a change of a series asks of its chart.
struct Attached : ::testing::Test {
    std::unique_ptr<TChart> Chart = MakeStationChart().Chart;
    TChartSeries Series{nullptr};
    Attached()
    {
        Series.SetParentChart(Chart.get());
        PaintNow(*Chart);
    }
    bool Requested() { return RepaintRequested(*Chart); }
};

TEST_F(Attached, DataChangesOfAnActiveSeriesRequestARepaint)
{
    Series.Add(1);
    EXPECT_TRUE(Requested());
    Series.AddPoint(5, 5);
    EXPECT_TRUE(Requested());
    Series.Delete(0);
    EXPECT_TRUE(Requested());
    Series.SetPointColor(0, clBlue);
    EXPECT_TRUE(Requested());
    Series.YValues()->SetMultiplier(3);
    EXPECT_TRUE(Requested());
    Series.YValues()->SetMultiplier(3);
    EXPECT_FALSE(Requested());
}

TEST_F(Attached, ClearOfAnEmptySeriesStillNotifiesAndRequests)
{
    int cleared = 0;
    Series.OnClearValues = [&](TChartSeries* s) {
        EXPECT_EQ(s, &Series);
        ++cleared;
    };
    Series.Clear();
    EXPECT_EQ(cleared, 1);
    EXPECT_TRUE(Requested());
}

TEST_F(Attached, DestroyingASeriesDetachesItWithoutRunningItsHandlers)
{
    auto other = std::make_unique<TChartSeries>(nullptr);
    other->SetParentChart(Chart.get());
    other->Add(3);
    PaintNow(*Chart);
    int cleared = 0;
    other->OnClearValues = [&](TChartSeries*) { ++cleared; };
    other.reset();
    EXPECT_EQ(cleared, 0);
    EXPECT_TRUE(Requested());
    ASSERT_EQ(Chart->SeriesCount(), 1);
    EXPECT_EQ(Chart->Series(0), &Series);
}

TEST_F(Attached, PropertySettersRequestOnlyOnAChange)
{
    const TColor assigned = Series.SeriesColor();
    ExpectActsExactlyOnChange([&] { return Requested(); }, {
        {"Title", [&] { Series.SetTitle(""); }, [&] { Series.SetTitle("Samples"); }},
        {"SeriesColor", [&] { Series.SetSeriesColor(assigned); }, [&] { Series.SetSeriesColor(clLime); }},
        {"ShowInLegend", [&] { Series.SetShowInLegend(true); }, [&] { Series.SetShowInLegend(false); }},
        {"Active", [&] { Series.SetActive(true); }, [&] { Series.SetActive(false); }},
    });
    // An inactive series adds without asking for a paint.
    Series.Add(1);
    EXPECT_FALSE(Requested());
}

// Visible range against a bottom axis whose plotting-rectangle edges convert to 2.5 and 6.5.
struct VisibleRange : ::testing::Test {
    TChart Chart{nullptr};
    RecordingSeries Series{nullptr};
    VisibleRange()
    {
        Series.SetParentChart(&Chart);
        for (int i = 0; i < 10; ++i)
            Series.Add(i * i);
        Chart.SetPlotRect({100, 10, 500, 200});
        Chart.RecalcPlotSize();
        Limits(2.5, 6.5);
    }
    void Limits(double Min, double Max)
    {
        Chart.BottomAxis()->SetLimits(Min, Max);
        Chart.BottomAxis()->ComputeAutoRange();
        Chart.BottomAxis()->PlaceOnPlotRect();
    }
    std::pair<int, int> Range()
    {
        Series.CalcVisibleRange();
        return {Series.FirstShown(), Series.LastShown()};
    }
};

TEST_F(VisibleRange, EdgesConvertAsExpected)
{
    EXPECT_DOUBLE_EQ(Series.XValueAtPos(100), 2.5);
    EXPECT_DOUBLE_EQ(Series.XValueAtPos(500), 6.5);
}

TEST_F(VisibleRange, ALineKeepsThePointBeyondTheRightEdge)
{
    Series.SetConnectsPoints(true);
    EXPECT_EQ(Range(), std::make_pair(3, 7));
}

TEST_F(VisibleRange, PointsAloneStopInsideTheRightEdge)
{
    EXPECT_EQ(Range(), std::make_pair(3, 6));
}

TEST_F(VisibleRange, EverythingLeftOfTheRectangleShowsNothing)
{
    Limits(20, 30);
    EXPECT_EQ(Range(), std::make_pair(-1, -1));
}

TEST_F(VisibleRange, LastPointInsideEndsTheRange)
{
    Limits(-1, 100);
    EXPECT_EQ(Range(), std::make_pair(0, 9));
    Limits(4, 9);
    EXPECT_EQ(Range(), std::make_pair(4, 9));
}

TEST_F(VisibleRange, InvertedAxisSwapsTheEdges)
{
    Chart.BottomAxis()->SetInverted(true);
    Series.SetConnectsPoints(true);
    EXPECT_EQ(Range(), std::make_pair(3, 7));
}

TEST_F(VisibleRange, UnorderedOrUnlimitedSeriesShowEveryPoint)
{
    Series.SetLimitToVisible(false);
    EXPECT_EQ(Range(), std::make_pair(0, 9));
    Series.SetLimitToVisible(true);
    Series.XValues()->SetOrder(loNone);
    EXPECT_EQ(Range(), std::make_pair(0, 9));
}

TEST(ChartDrawing, SequenceRunsInItsFixedOrder)
{
    auto chart = MakeStationChart().Chart;
    RecordingSeries shown(nullptr), empty(nullptr), inactive(nullptr);
    for (RecordingSeries* s : {&shown, &empty, &inactive})
        s->SetParentChart(chart.get());
    for (int i = 0; i < 5; ++i) {
        shown.Add(i);
        inactive.Add(i);
    }
    inactive.SetActive(false);
    std::vector<std::string> log;
    chart->OnBeforeDrawAxes = [&](TObject*) { log.push_back("axes"); };
    chart->OnBeforeDrawSeries = [&](TObject*) { log.push_back("series"); };
    chart->OnAfterDraw = [&](TObject*) { log.push_back("after"); };
    shown.BeforeDrawValues = [&](TObject*) { log.push_back("before values"); };
    shown.AfterDrawValues = [&](TObject*) { log.push_back("after values"); };
    empty.BeforeDrawValues = [&](TObject*) { log.push_back("empty"); };
    PaintNow(*chart);
    EXPECT_EQ(log, (std::vector<std::string>{"axes", "series", "before values", "after values",
                                             "after"}));
    EXPECT_EQ(shown.Drawn, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(shown.ClippedWhenDrawn, std::vector<bool>(5, true));
    EXPECT_FALSE(chart->Canvas()->ReferenceCanvas()->HasClip());
    EXPECT_TRUE(inactive.Drawn.empty());
    EXPECT_EQ(shown.BeforeChart, 1);
    EXPECT_EQ(inactive.BeforeChart, 0);

    shown.Drawn.clear();
    shown.ClippedWhenDrawn.clear();
    chart->SetClipPoints(false);
    chart->SetAxisVisible(false);
    log.clear();
    PaintNow(*chart);
    EXPECT_EQ(log.front(), "series");
    EXPECT_EQ(shown.ClippedWhenDrawn, std::vector<bool>(5, false));
}

TEST(ChartDrawing, ThePaintEndsWithTheCanvasReset)
{
    auto chart = MakeStationChart().Chart;
    bool checked = false;
    chart->OnAfterDraw = [&](TObject*) {
        TTeeCanvas3D* c = chart->Canvas();
        EXPECT_EQ(c->Pen()->Color(), clBlack);
        EXPECT_EQ(c->Brush()->Color(), clWhite);
        EXPECT_EQ(c->Font()->Size(), 10);
        checked = true;
    };
    PaintNow(*chart);
    EXPECT_TRUE(checked);
}

TEST(ChartTitles, TitleAndFootTakeTheirLinesAndAGap)
{
    FakeMetrics metrics(6, 13);
    auto chart = MakeStationChart().Chart;
    chart->Title()->SetVisible(true);
    PaintNow(*chart);
    // One line of 13 pixels from the plotting rectangle's top (6), then 5 pixels of gap.
    EXPECT_EQ(chart->Title()->TitleRect().Top, 6);
    EXPECT_EQ(chart->Title()->TitleRect().Bottom, 19);
    EXPECT_EQ(chart->PlotRect().Top, 24);
    EXPECT_EQ(chart->PlotRect().Bottom, 155);

    chart->Foot()->SetText({"a", "b"});
    PaintNow(*chart);
    EXPECT_EQ(chart->Foot()->TitleRect().Bottom, 155);
    EXPECT_EQ(chart->Foot()->TitleRect().Top, 129);
    EXPECT_EQ(chart->PlotRect().Bottom, 124);

    // Empty and frameless: no room taken.
    chart->Title()->SetText({});
    chart->Foot()->SetVisible(false);
    PaintNow(*chart);
    EXPECT_EQ(chart->PlotRect(), (TRect{13, 6, 436, 155}));
}

TEST(ChartTitles, TitleTextIsCentredInTheTitleFont)
{
    auto chart = MakeStationChart().Chart;
    chart->Title()->SetVisible(true);
    chart->Title()->SetText({"TChart"});
    const platform::TBitmapImage& img = PaintNow(*chart);
    EXPECT_EQ(chart->Title()->Font()->Color(), clBlue);
    EXPECT_EQ(chart->Title()->Font()->Name(), "Arial");
    int left = 449, right = 0, blue = 0;
    for (int y = 6; y < 24; ++y)
        for (int x = 14; x < 436; ++x)
            if (img.Pixel(x, y) != 0xC8D0D4) {
                left = std::min(left, x);
                right = std::max(right, x);
                blue += img.Pixel(x, y) == 0xFF0000;
            }
    EXPECT_GT(blue, 10);
    EXPECT_NEAR((left + right) / 2.0, 224.5, 2.0);
}

} // namespace
