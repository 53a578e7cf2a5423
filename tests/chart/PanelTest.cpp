// The chart panel: the plotting rectangle from the margins, its repair, setter validation,
// repaint requests and their batching, and what an empty chart paints.
#include "ChartFixture.h"
#include "FakeMetrics.h"
#include "tests/support/PropertyChecks.h"

#include "chart/TeeConst.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr platform::TRgb Face = 0xC8D0D4; // (212, 208, 200)
constexpr platform::TRgb Highlight = 0xFFFFFF;
constexpr platform::TRgb Shadow = 0x808080;
constexpr platform::TRgb Black = 0x000000;

// Exposes the layout steps that only the paint reaches otherwise.
class LayoutChart : public TChart {
public:
    using TChart::TChart;
    using TChart::RecalcPlotSize;
    TRect AtDrawSeries;
    int Draws = 0;

protected:
    void InternalDraw(const TRect& R) override
    {
        ++Draws;
        TChart::InternalDraw(R);
    }
};

TEST(Panel, DefaultsAfterCreation)
{
    TChart chart(nullptr);
    EXPECT_EQ(chart.Width(), 400);
    EXPECT_EQ(chart.Height(), 250);
    EXPECT_EQ(chart.MarginLeft(), 3);
    EXPECT_EQ(chart.MarginTop(), 4);
    EXPECT_EQ(chart.MarginRight(), 3);
    EXPECT_EQ(chart.MarginBottom(), 4);
    EXPECT_TRUE(chart.View3D());
    EXPECT_EQ(chart.Chart3DPercent(), 15);
    EXPECT_EQ(chart.View3DOptions()->Elevation(), 345);
    EXPECT_EQ(chart.View3DOptions()->Zoom(), 100);
    EXPECT_EQ(chart.Color(), clBtnFace);
    EXPECT_EQ(chart.BevelOuter(), bvRaised);
    EXPECT_EQ(chart.BevelInner(), bvNone);
    EXPECT_TRUE(chart.AutoRepaint());
    EXPECT_TRUE(chart.AxisVisible());
    EXPECT_TRUE(chart.ClipPoints());
    EXPECT_EQ(chart.Page(), 1);
    EXPECT_TRUE(chart.AllowZoom());
    EXPECT_EQ(chart.AllowPanning(), pmBoth);
    EXPECT_FALSE(chart.Gradient()->Visible());
    EXPECT_FALSE(chart.ZoomRecord().Active);
    // The axes in creation order: bottom, top, left, right, depth.
    ASSERT_EQ(chart.AxesList().size(), 5u);
    EXPECT_EQ(chart.AxesList()[0], chart.BottomAxis());
    EXPECT_EQ(chart.AxesList()[1], chart.TopAxis());
    EXPECT_EQ(chart.AxesList()[2], chart.LeftAxis());
    EXPECT_EQ(chart.AxesList()[3], chart.RightAxis());
    EXPECT_EQ(chart.AxesList()[4], chart.DepthAxis());
    EXPECT_FALSE(chart.DepthAxis()->Visible());
    EXPECT_TRUE(chart.RightAxis()->OtherSide());
    EXPECT_TRUE(chart.BottomAxis()->Horizontal());
    EXPECT_FALSE(chart.LeftAxis()->Horizontal());
}

TEST(Panel, MulDivRoundsHalvesAwayFromZero)
{
    struct Case {
        int N, Num, Den, Out;
    } cases[] = {{3, 449, 100, 13}, {4, 161, 100, 6}, {3, 423, 100, 13}, {1, 5, 10, 1},
                 {-1, 5, 10, -1},   {1, 15, 10, 2},   {7, 1, 0, -1},     {5, 5, -2, -13}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::MulDiv(c.N, c.Num, c.Den), c.Out)
            << c.N << "*" << c.Num << "/" << c.Den;
}

TEST(Panel, PlottingRectangleOfTheStationChartBeforeTitlesLegendAndAxes)
{
    auto chart = MakeStationChart().Chart;
    PaintNow(*chart);
    EXPECT_EQ(chart->PanelBounds(), (TRect{0, 0, 449, 161}));
    EXPECT_EQ(chart->PlotRect(), (TRect{13, 6, 436, 155}));
    EXPECT_EQ(chart->PlotWidth(), 423);
    EXPECT_EQ(chart->PlotHeight(), 149);
    EXPECT_EQ(chart->PlotXCenter(), 224);
    EXPECT_EQ(chart->PlotYCenter(), 80);
}

TEST(Panel, NoMarginsAndNoBorderPlotOverTheWholeClientArea)
{
    auto chart = MakeStationChart().Chart;
    for (int i = 0; i < 4; ++i)
        chart->SetMargin(i, 0);
    PaintNow(*chart);
    EXPECT_EQ(chart->PlotRect(), (TRect{0, 0, 449, 161}));
    chart->SetBorderWidth(2);
    chart->SetMarginLeft(10);
    PaintNow(*chart);
    EXPECT_EQ(chart->PlotRect(), (TRect{2 + 45, 2, 447, 159}));
}

TEST(Panel, RecalcPlotSizeRepairsTheRectangle)
{
    LayoutChart chart(nullptr);
    chart.SetBounds(0, 0, 449, 161);
    chart.Repaint();
    struct Case {
        TRect In, Out;
    } cases[] = {
        {{-5, -3, 100, 50}, {0, 0, 100, 50}},       // never outside the panel's top-left
        {{50, 60, 40, 30}, {50, 60, 51, 61}},       // inverted: one pixel
        {{50, 60, 50, 60}, {50, 60, 50 + 449, 60 + 161}}, // empty: the control's size
        {{13, 6, 436, 155}, {13, 6, 436, 155}},
    };
    for (const Case& c : cases) {
        chart.SetPlotRect(c.In);
        chart.RecalcPlotSize();
        EXPECT_EQ(chart.PlotRect(), c.Out);
        EXPECT_EQ(chart.PlotWidth(), c.Out.Right - c.Out.Left);
        EXPECT_EQ(chart.PlotHeight(), c.Out.Bottom - c.Out.Top);
    }
    chart.SetPlotRect({-7, 0, -2, 9});
    chart.RecalcPlotSize();
    EXPECT_EQ(chart.PlotRect(), (TRect{0, 0, 1, 9}));
    EXPECT_EQ(chart.PlotXCenter(), 0);
    EXPECT_EQ(chart.PlotYCenter(), 4);
}

TEST(Panel, RejectedSettingsRaiseAndKeepTheOldValue)
{
    TChart chart(nullptr);
    chart.SetChart3DPercent(40);
    for (int bad : {0, -5, 101}) {
        try {
            chart.SetChart3DPercent(bad);
            FAIL() << bad;
        } catch (const ChartException& e) {
            EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
        }
        EXPECT_EQ(chart.Chart3DPercent(), 40);
    }
    chart.SetChart3DPercent(1);
    chart.SetChart3DPercent(100);
    EXPECT_EQ(chart.Chart3DPercent(), 100);

    chart.SetMaxPointsPerPage(10);
    try {
        chart.SetMaxPointsPerPage(-1);
        FAIL();
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "MaxPointsPerPage must be >= 0");
    }
    EXPECT_EQ(chart.MaxPointsPerPage(), 10);
    chart.SetMaxPointsPerPage(0);
    EXPECT_EQ(chart.MaxPointsPerPage(), 0);
}

TEST(Panel, SettersInvalidateOnlyOnAChange)
{
    auto chart = MakeStationChart().Chart;
    TChart& c = *chart;
    PaintNow(c);
    ExpectActsExactlyOnChange([&] { return RepaintRequested(c); }, {
        {"MarginLeft", [&] { c.SetMarginLeft(3); }, [&] { c.SetMarginLeft(5); }},
        {"Color", [&] { c.SetColor(clBtnFace); }, [&] { c.SetColor(clWhite); }},
        {"View3DOptions.Zoom", [&] { c.View3DOptions()->SetZoom(100); }, [&] { c.View3DOptions()->SetZoom(120); }},
        {"BackWall.Pen.Visible", [&] { c.BackWall()->Pen()->SetVisible(true); }, [&] { c.BackWall()->Pen()->SetVisible(false); }},
        {"BackWall.Pen.Color", [&] { c.BackWall()->Pen()->SetColor(clBlack); }, [&] { c.BackWall()->Pen()->SetColor(clRed); }},
        {"Title.Font.Size", [&] { c.Title()->Font()->SetSize(8); }, [&] { c.Title()->Font()->SetSize(12); }},
        {"Gradient.Visible", [&] { c.Gradient()->SetVisible(false); }, [&] { c.Gradient()->SetVisible(true); }},
        {"AxisVisible", [&] { c.SetAxisVisible(true); }, [&] { c.SetAxisVisible(false); }},
        {"View3D", [&] { c.SetView3D(false); }, [&] { c.SetView3D(true); }},
    });
}

TEST(Panel, RequestsAreIgnoredWhileAutoRepaintIsOff)
{
    auto chart = MakeStationChart().Chart;
    PaintNow(*chart);
    chart->SetAutoRepaint(false);
    chart->SetMarginTop(10);
    EXPECT_FALSE(chart->Canvas()->Dirty());
    chart->SetAutoRepaint(true);
    chart->Invalidate();
    EXPECT_TRUE(chart->Canvas()->Dirty());
}

TEST(Panel, ABatchOfChangesPaintsOnce)
{
    LayoutChart chart(nullptr);
    chart.SetBounds(0, 0, 449, 161);
    RecordingSeries series(nullptr);
    series.SetParentChart(&chart);
    chart.Show();
    Application->ProcessMessages();
    Application->ProcessMessages();
    const int before = chart.Draws;
    ASSERT_GE(before, 1);
    series.Clear();
    for (int i = 0; i < 1000; ++i)
        series.Add(i % 17);
    chart.SetMarginLeft(5);
    Application->ProcessMessages();
    Application->ProcessMessages();
    EXPECT_EQ(chart.Draws, before + 1);
    // Nothing changed: a new paint request shows the stored image without drawing.
    chart.TWinControl::Invalidate();
    chart.Update();
    EXPECT_EQ(chart.Draws, before + 1);
}

TEST(Panel, RepaintWithoutChangesShowsTheStoredImage)
{
    LayoutChart chart(nullptr);
    chart.SetBounds(0, 0, 100, 80);
    chart.Repaint();
    EXPECT_EQ(chart.Draws, 1);
    const platform::TRgb corner = chart.BackStore().Pixel(0, 0);
    chart.TWinControl::Invalidate();
    chart.Update();
    EXPECT_EQ(chart.Draws, 1);
    EXPECT_EQ(chart.BackStore().Pixel(0, 0), corner);
    EXPECT_EQ(chart.BackStore().Pixel(50, 40), Face);
    // A new size needs a new drawing, even when the platform asks only for a repaint.
    chart.SetWidth(101);
    chart.TWinControl::Repaint();
    EXPECT_EQ(chart.Draws, 2);
    EXPECT_EQ(chart.Canvas()->Bitmap()->Width(), 101);
}

TEST(Panel, EmptyChartShowsPanelBevelAndBackWallFrameOnly)
{
    auto chart = MakeStationChart().Chart;
    const platform::TBitmapImage& img = PaintNow(*chart);
    ASSERT_EQ(img.Width(), 449);
    ASSERT_EQ(img.Height(), 161);
    // One-pixel raised bevel on the outermost pixels.
    EXPECT_EQ(img.Pixel(0, 0), Highlight);
    EXPECT_EQ(img.Pixel(447, 0), Highlight);
    EXPECT_EQ(img.Pixel(0, 159), Highlight);
    EXPECT_EQ(img.Pixel(448, 0), Shadow);
    EXPECT_EQ(img.Pixel(448, 160), Shadow);
    EXPECT_EQ(img.Pixel(0, 160), Shadow);
    EXPECT_EQ(img.Pixel(200, 160), Shadow);
    EXPECT_EQ(img.Pixel(1, 1), Face);
    // The back wall: a black frame through the plotting rectangle's edge pixels, clear inside.
    for (int x = 13; x <= 436; ++x) {
        ASSERT_EQ(img.Pixel(x, 6), Black) << x;
        ASSERT_EQ(img.Pixel(x, 155), Black) << x;
    }
    for (int y = 6; y <= 155; ++y) {
        ASSERT_EQ(img.Pixel(13, y), Black) << y;
        ASSERT_EQ(img.Pixel(436, y), Black) << y;
    }
    EXPECT_EQ(img.Pixel(14, 7), Face);
    EXPECT_EQ(img.Pixel(435, 154), Face);
    EXPECT_EQ(img.Pixel(12, 6), Face);
    EXPECT_EQ(img.Pixel(437, 155), Face);
    EXPECT_EQ(img.Pixel(13, 156), Face);
    // Every other pixel is panel colour: nothing else is drawn.
    int others = 0;
    for (int y = 1; y < 160; ++y)
        for (int x = 1; x < 448; ++x) {
            const platform::TRgb p = img.Pixel(x, y);
            others += p != Face && p != Black;
        }
    EXPECT_EQ(others, 0);

    if (const char* dir = std::getenv("CHART_PNG_DIR"))
        img.SavePng((std::filesystem::path(dir) / "empty_chart.png").string());
}

TEST(Panel, DrawPaintsIntoAnyCanvasAtItsRectangle)
{
    auto chart = MakeStationChart().Chart;
    for (bool buffered : {true, false}) {
        chart->Canvas()->SetBuffered(buffered);
        TBitmap target(500, 300);
        chart->Draw(*target.Canvas(), {20, 30, 469, 191});
        const platform::TBitmapImage& img = target.Image();
        EXPECT_EQ(img.Pixel(20, 30), Highlight) << buffered;
        EXPECT_EQ(img.Pixel(468, 190), Shadow) << buffered;
        EXPECT_EQ(img.Pixel(20 + 13, 30 + 6), Black) << buffered;
        EXPECT_EQ(img.Pixel(20 + 436, 30 + 155), Black) << buffered;
        EXPECT_EQ(img.Pixel(19, 29), 0xFFFFFFu) << buffered;
        EXPECT_EQ(img.Pixel(469, 191), 0xFFFFFFu) << buffered;
        // Buffered, the chart is drawn in the image's own coordinates.
        const TRect expected = buffered ? TRect{0, 0, 449, 161} : TRect{20, 30, 469, 191};
        EXPECT_EQ(chart->PanelBounds(), expected);
    }
}

TEST(Panel, ABackColourFillsTheWallOnceTheChartHasAParent)
{
    auto parent = std::make_unique<TChart>(nullptr);
    auto chart = MakeStationChart().Chart;
    chart->SetBackColor(clYellow);
    EXPECT_EQ(chart->BackWall()->Brush()->Style(), bsClear);
    chart->SetParent(parent.get());
    chart->SetBackColor(clAqua);
    EXPECT_EQ(chart->BackWall()->Brush()->Style(), bsSolid);
    EXPECT_EQ(chart->BackColor(), clAqua);
    const platform::TBitmapImage& img = PaintNow(*chart);
    EXPECT_EQ(img.Pixel(100, 100), platform::TRgb(0xFFFF00) /* aqua as 0x00BBGGRR */);
    EXPECT_EQ(img.Pixel(13, 6), Black);
    chart->SetParent(nullptr);
}

TEST(Panel, BorderAndInnerBevelDrawInwards)
{
    auto chart = MakeStationChart().Chart;
    chart->SetBorderWidth(2);
    chart->SetBevelInner(bvLowered);
    chart->SetColor(clSilver);
    const platform::TRgb silver = 0xC0C0C0;
    const platform::TBitmapImage& img = PaintNow(*chart);
    EXPECT_EQ(img.Pixel(0, 0), Highlight);
    EXPECT_EQ(img.Pixel(1, 1), silver); // border in the panel colour
    EXPECT_EQ(img.Pixel(2, 2), silver);
    EXPECT_EQ(img.Pixel(3, 3), Shadow); // lowered inner bevel: shadow top-left
    EXPECT_EQ(img.Pixel(445, 157), Highlight);
}

// The framework panel on its own: background and bevels, which the chart's frame shares.
class PlainPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

TEST(FrameworkPanel, PaintsItsColourInsideARaisedBevel)
{
    PlainPanel panel(nullptr);
    panel.SetBounds(0, 0, 30, 20);
    panel.Repaint();
    const platform::TBitmapImage& img = panel.BackStore();
    EXPECT_EQ(img.Pixel(0, 0), Highlight);
    EXPECT_EQ(img.Pixel(29, 19), Shadow);
    EXPECT_EQ(img.Pixel(15, 10), Face);
    panel.SetBevelOuter(bvLowered);
    panel.SetBevelWidth(2);
    panel.Repaint();
    EXPECT_EQ(panel.BackStore().Pixel(1, 1), Shadow);
    EXPECT_EQ(panel.BackStore().Pixel(28, 18), Highlight);
    EXPECT_EQ(panel.BackStore().Pixel(2, 2), Face);
}

TEST(FrameworkPanel, ABevelWiderThanThePanelEndsWhenThePanelIsCovered)
{
    // Each ring of the frame is one pixel: beyond half the panel there is nothing left to
    // draw, however wide the bevel was set.
    PlainPanel panel(nullptr);
    panel.SetBounds(0, 0, 30, 20);
    panel.SetBevelWidth(INT_MAX);
    panel.Repaint();
    const platform::TBitmapImage& img = panel.BackStore();
    EXPECT_EQ(img.Pixel(0, 0), Highlight);
    EXPECT_EQ(img.Pixel(5, 8), Highlight);
    EXPECT_EQ(img.Pixel(29, 19), Shadow);
    EXPECT_EQ(img.Pixel(24, 15), Shadow);
    int face = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            face += img.Pixel(x, y) == Face;
    EXPECT_EQ(face, 0);
}

} // namespace
