// The mouse on the station's chart at the worked layout: what lies under a point, the zoom
// drag's thresholds and limits, scrolling, undoing, and the zoom rectangle that leaves no trace.
#include "ChartFixture.h"

#include "framework/InputDriver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TMouseButton Left = TMouseButton::mbLeft;
constexpr TMouseButton Right = TMouseButton::mbRight;

// The values at pixels of the worked layout, straight from its numbers: the bottom axis runs
// 0..99 over x 47..382, the left axis 891..0 over y 6..136.
double BottomAt(int X) { return (X - 47) * 99.0 / 335; }
double LeftAt(int Y) { return 891 - (Y - 6) * 891.0 / 130; }

// The operator's mouse on the chart, through the platform's input path.
struct ChartMouse : WorkedLayout {
    TShiftState Held; // the button a move reports as held

    ChartMouse() { PaintHundred(); }
    void Down(TMouseButton Button, int X, int Y)
    {
        Held = {};
        (Button == Left ? Held.Left : Held.Right) = true;
        Input::MouseDown(Chart, Button, {X, Y});
    }
    void Move(int X, int Y) { Input::MouseMove(Chart, {X, Y}, Held); }
    void Up(TMouseButton Button, int X, int Y)
    {
        Input::MouseUp(Chart, Button, {X, Y});
        Held = {};
    }
    void Drag(TMouseButton Button, int X0, int Y0, int X1, int Y1)
    {
        Down(Button, X0, Y0);
        Move(X1, Y1);
        Up(Button, X1, Y1);
    }
    std::vector<platform::TRgb> Shown()
    {
        Chart.Update();
        const platform::TBitmapImage& img = Chart.BackStore();
        std::vector<platform::TRgb> pixels;
        for (int y = 0; y < img.Height(); ++y)
            for (int x = 0; x < img.Width(); ++x)
                pixels.push_back(img.Pixel(x, y));
        return pixels;
    }
};

TEST_F(ChartMouse, ZoomDragThresholdsAndDirections)
{
    TChartAxis& bottom = *Chart.BottomAxis();
    Drag(Left, 100, 30, 110, 70); // 10 right, 40 down: a click
    EXPECT_TRUE(bottom.Automatic());
    EXPECT_FALSE(Chart.Zoomed());

    Drag(Left, 100, 30, 120, 50); // 20 and 20: the rectangle's values become the limits
    EXPECT_TRUE(Chart.Zoomed());
    EXPECT_FALSE(bottom.Automatic());
    EXPECT_DOUBLE_EQ(bottom.Minimum(), BottomAt(100));
    EXPECT_DOUBLE_EQ(bottom.Maximum(), BottomAt(120));
    EXPECT_DOUBLE_EQ(Chart.LeftAxis()->Minimum(), LeftAt(50));
    EXPECT_DOUBLE_EQ(Chart.LeftAxis()->Maximum(), LeftAt(30));

    // New samples keep the zoomed range.
    Fill(100, [](int i) { return i * 100.0; });
    Paint();
    EXPECT_DOUBLE_EQ(bottom.RangeMaximum(), BottomAt(120));
    EXPECT_DOUBLE_EQ(Chart.LeftAxis()->RangeMaximum(), LeftAt(30));

    // Any drag past the threshold that is not right and down brings the automatic scales back.
    for (auto [dx, dy] : {std::pair{-20, 20}, {20, -20}, {-20, -20}}) {
        Drag(Left, 100, 30, 120, 50);
        ASSERT_FALSE(bottom.Automatic());
        Drag(Left, 200, 70, 200 + dx, 70 + dy);
        EXPECT_TRUE(bottom.Automatic()) << dx << "," << dy;
        EXPECT_TRUE(Chart.LeftAxis()->Automatic()) << dx << "," << dy;
        EXPECT_FALSE(Chart.Zoomed());
    }
}

TEST_F(ChartMouse, ScrollFivePixelsEachWayMovesByTheSameValues)
{
    TChartAxis& bottom = *Chart.BottomAxis();
    Down(Right, 200, 70);
    Move(195, 70);
    const double step = BottomAt(200) - BottomAt(195);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), step); // the data move left with the pointer
    EXPECT_DOUBLE_EQ(bottom.Maximum(), 99 + step);
    EXPECT_TRUE(Chart.LeftAxis()->Automatic()); // no vertical move
    Move(200, 70);
    EXPECT_EQ(bottom.Minimum(), 0);
    EXPECT_EQ(bottom.Maximum(), 99);
    Up(Right, 200, 70);
    Chart.ResetZoom();
    EXPECT_TRUE(bottom.Automatic());
}

TEST_F(ChartMouse, ScrollThatLeavesThePlottingRectangleStops)
{
    TChartAxis& bottom = *Chart.BottomAxis();
    Down(Right, 200, 70);
    Move(390, 70); // beyond the right edge 382
    Move(250, 70);
    EXPECT_TRUE(bottom.Automatic());
    EXPECT_EQ(bottom.Minimum(), 0);
}

TEST_F(ChartMouse, TheZoomRectangleLeavesNoTrace)
{
    const std::vector<platform::TRgb> before = Shown();
    Down(Left, 100, 30);
    Move(140, 60);
    // Not-xor of the face colour with itself is white: the rectangle shows on the panel colour
    // inside the clear back wall.
    Chart.Update();
    EXPECT_EQ(Chart.BackStore().Pixel(120, 30), platform::TRgb(0xFFFFFF));
    EXPECT_EQ(Chart.BackStore().Pixel(120, 31), before[31 * 449 + 120]);
    Move(60, 100);
    Move(110, 35);
    Up(Left, 110, 35); // too small to zoom
    EXPECT_EQ(Shown(), before);

    // A block arriving in the middle of a drag paints the rectangle where it stands.
    Down(Left, 100, 30);
    Move(140, 60);
    Fill(100, [](int i) { return i * 5.0; });
    Paint();
    Move(150, 90);
    Up(Left, 105, 40);
    const std::vector<platform::TRgb> after = Shown();
    Paint();
    EXPECT_EQ(after, Shown());
}

TEST_F(ChartMouse, HitTestFindsThePartsInOrder)
{
    // A point on the line, inside the plotting area: the series comes first.
    const TChartHit onLine = Chart.HitTest(Series.XPosOfPoint(50), Series.YPosOfPoint(50));
    EXPECT_EQ(onLine.Kind, hkSeries);
    EXPECT_EQ(onLine.Series, &Series);
    EXPECT_EQ(onLine.Index, 50);
    // Between the left axis' labels (anchored at 41) and 3 pixels beyond its line at 47.
    EXPECT_EQ(Chart.HitTest(44, 100).Axis, Chart.LeftAxis());
    EXPECT_EQ(Chart.HitTest(50, 100).Kind, hkAxis);
    EXPECT_EQ(Chart.HitTest(51, 100).Kind, hkPlotArea);
    EXPECT_EQ(Chart.HitTest(200, 140).Axis, Chart.BottomAxis());
    // Legend rows of 13 pixels from y = 17.
    const TChartHit row = Chart.HitTest(410, 17 + 2 * 13 + 5);
    EXPECT_EQ(row.Kind, hkLegend);
    EXPECT_EQ(row.Index, 2);
    EXPECT_EQ(Chart.HitTest(2, 2).Kind, hkNone);

    Chart.Title()->SetVisible(true);
    Chart.Foot()->SetText({"Samples"});
    Paint();
    const TRect title = Chart.Title()->TitleRect();
    EXPECT_EQ(Chart.HitTest((title.Left + title.Right) / 2, title.Top + 1).Kind, hkTitle);
    const TRect foot = Chart.Foot()->TitleRect();
    EXPECT_EQ(Chart.HitTest((foot.Left + foot.Right) / 2, foot.Bottom - 1).Kind, hkFoot);
}

} // namespace
