// The chart canvas: pen assignment, clipping to the plotting area, bevel frames, darkening,
// rotated text, text measuring, and the off-screen image with its reuse and its repaint.
#include "FakeMetrics.h"
#include "tests/support/PropertyChecks.h"

#include "chart/TeCanvas.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr TColor White = 0xFFFFFF;

// A canvas drawing straight on a bitmap (no off-screen image of its own).
struct Surface {
    TBitmap Bitmap{200, 200};
    TTeeCanvas3D Canvas;
    Surface()
    {
        Canvas.SetBuffered(false);
        Canvas.PrepareSurface(*Bitmap.Canvas(), nullptr, clBtnFace, false, {0, 0, 200, 200});
    }
    TColor At(int X, int Y) const { return Bitmap.Image().Pixel(X, Y); }
};

bool SameImage(const TBitmap& A, const TBitmap& B)
{
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (A.Canvas()->Pixels(x, y) != B.Canvas()->Pixels(x, y))
                return false;
    return true;
}

TEST(ChartPen, VariantsStartWithTheirOwnDefaults)
{
    const TChartPen plain;
    EXPECT_TRUE(plain.Visible());
    EXPECT_FALSE(plain.SmallDots());
    EXPECT_EQ(plain.Color(), clBlack);
    EXPECT_EQ(plain.Width(), 1);
    EXPECT_FALSE(TChartHiddenPen().Visible());
    const TDottedGrayPen dotted;
    EXPECT_EQ(dotted.Color(), TColor(0x808080));
    EXPECT_EQ(dotted.Style(), psDot);
    EXPECT_EQ(TDarkGrayPen().Color(), TColor(0x808080));
    EXPECT_EQ(TChartAxisPen().Width(), 2);
    EXPECT_EQ(TChartArrowPen().Color(), White);
    EXPECT_EQ(TChartBrush().Color(), clDefault);
    EXPECT_EQ(TChartBrush().Style(), bsSolid);
}

TEST(ChartPen, ChangesToADifferentValueNotifyTheOwner)
{
    bool notified = false;
    TChartPen pen([&](TObject*) { notified = true; });
    ExpectActsExactlyOnChange([&] { return std::exchange(notified, false); }, {
        {"Visible", [&] { pen.SetVisible(true); }, [&] { pen.SetVisible(false); }},
        {"SmallDots", [&] { pen.SetSmallDots(false); }, [&] { pen.SetSmallDots(true); }},
        {"Width", [&] { pen.SetWidth(1); }, [&] { pen.SetWidth(3); }},
    });
}

TEST(Canvas, ApplyPenOfAHiddenPenOnlyClearsTheStyle)
{
    Surface s;
    s.Canvas.Pen()->SetColor(clRed);
    s.Canvas.Pen()->SetWidth(3);
    TChartPen hidden;
    hidden.SetColor(clBlue);
    hidden.SetWidth(5);
    hidden.SetVisible(false);
    s.Canvas.ApplyPen(hidden);
    EXPECT_EQ(s.Canvas.Pen()->Style(), psClear);
    EXPECT_EQ(s.Canvas.Pen()->Color(), clRed);
    EXPECT_EQ(s.Canvas.Pen()->Width(), 3);
    s.Canvas.Line(10, 10, 100, 10);
    EXPECT_EQ(s.At(50, 10), White);
}

TEST(Canvas, ApplyPenTakesOverColourWidthStyleAndMode)
{
    Surface s;
    TChartPen pen;
    pen.SetColor(clGreen);
    pen.SetWidth(2);
    pen.SetStyle(psDash);
    pen.SetMode(pmXor);
    s.Canvas.ApplyPen(pen);
    EXPECT_EQ(s.Canvas.Pen()->Color(), clGreen);
    EXPECT_EQ(s.Canvas.Pen()->Width(), 2);
    EXPECT_EQ(s.Canvas.Pen()->Style(), psDash);
    EXPECT_EQ(s.Canvas.Pen()->Mode(), pmXor);
}

TEST(Canvas, SmallDotsDrawEveryOtherPixelOnlyAtWidthOne)
{
    Surface s;
    TChartPen dots;
    dots.SetColor(clRed);
    dots.SetSmallDots(true);
    s.Canvas.ApplyPen(dots);
    EXPECT_EQ(s.Canvas.Pen()->Style(), psAlternate);
    s.Canvas.HorizLine(10, 20, 5);
    int lit = 0;
    for (int x = 10; x < 20; ++x)
        lit += s.At(x, 5) == clRed;
    EXPECT_EQ(lit, 5);
    EXPECT_NE(s.At(10, 5) == clRed, s.At(11, 5) == clRed);

    dots.SetWidth(2);
    s.Canvas.ApplyPen(dots);
    EXPECT_EQ(s.Canvas.Pen()->Style(), psSolid);
    EXPECT_EQ(s.Canvas.Pen()->Width(), 2);
}

TEST(Canvas, ClipToPlotAreaLeavesOutTheLeftTopAndTwoBottomRows)
{
    Surface s;
    s.Canvas.ClipToPlotArea({10, 20, 110, 120}, 0, 0);
    s.Canvas.Brush()->SetColor(clRed);
    s.Canvas.FillRect({0, 0, 200, 200});
    EXPECT_EQ(s.At(11, 21), clRed);
    EXPECT_EQ(s.At(109, 118), clRed);
    EXPECT_EQ(s.At(10, 50), White);
    EXPECT_EQ(s.At(50, 20), White);
    EXPECT_EQ(s.At(110, 50), White);
    EXPECT_EQ(s.At(50, 119), White);
    s.Canvas.RemoveClip();
    s.Canvas.FillRect({0, 0, 200, 200});
    EXPECT_EQ(s.At(5, 5), clRed);
}

TEST(Canvas, ClippingOnlyNarrows)
{
    Surface s;
    s.Canvas.ClipToRect({0, 0, 50, 50});
    s.Canvas.ClipToRect({25, 25, 100, 100});
    s.Canvas.Brush()->SetColor(clBlue);
    s.Canvas.FillRect({0, 0, 200, 200});
    EXPECT_EQ(s.At(30, 30), clBlue);
    EXPECT_EQ(s.At(20, 20), White);
    EXPECT_EQ(s.At(60, 60), White);
}

TEST(Canvas, BevelFrameDrawsInwardsTopLeftThenBottomRight)
{
    Surface s;
    s.Canvas.BevelFrame({2, 2, 12, 12}, clRed, 2, clBlue);
    // Outer ring: red top and left, blue right and bottom, corners to the bottom colour.
    EXPECT_EQ(s.At(2, 2), clRed);
    EXPECT_EQ(s.At(10, 2), clRed);
    EXPECT_EQ(s.At(2, 10), clRed);
    EXPECT_EQ(s.At(11, 2), clBlue);
    EXPECT_EQ(s.At(2, 11), clBlue);
    EXPECT_EQ(s.At(11, 11), clBlue);
    // Inner ring.
    EXPECT_EQ(s.At(3, 3), clRed);
    EXPECT_EQ(s.At(9, 3), clRed);
    EXPECT_EQ(s.At(10, 3), clBlue);
    EXPECT_EQ(s.At(10, 10), clBlue);
    EXPECT_EQ(s.At(3, 10), clBlue);
    // Inside and outside untouched.
    EXPECT_EQ(s.At(4, 4), White);
    EXPECT_EQ(s.At(9, 9), White);
    EXPECT_EQ(s.At(1, 1), White);
    EXPECT_EQ(s.At(12, 12), White);
    EXPECT_EQ(s.Canvas.Pen()->Width(), 1);
}

TEST(Canvas, DarkenColorSubtractsOrFloorsEachChannel)
{
    struct Case {
        TColor In;
        int Amount;
        TColor Out;
    } cases[] = {
        {RgbColor(0x30, 0x20, 0x10), 0x20, RgbColor(0x10, 0, 0)},
        {RgbColor(0xFF, 0x80, 0x00), 0x80, RgbColor(0x7F, 0, 0)},
        {clWhite, 0, clWhite},
        {clBtnFace, 100, RgbColor(112, 108, 100)}, // system colours resolve first
        {clBlack, 255, clBlack},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DarkenColor(c.In, c.Amount), c.Out) << std::hex << c.In;
}

TEST(Canvas, LinesExcludeTheirEndPixel)
{
    Surface s;
    s.Canvas.Pen()->SetColor(clRed);
    s.Canvas.Line(10, 10, 20, 10);
    EXPECT_EQ(s.At(10, 10), clRed);
    EXPECT_EQ(s.At(19, 10), clRed);
    EXPECT_EQ(s.At(20, 10), White);
    s.Canvas.VertLine(30, 20, 10);
    EXPECT_EQ(s.At(30, 20), clRed);
    EXPECT_EQ(s.At(30, 11), clRed);
    EXPECT_EQ(s.At(30, 10), White);
}

TEST(Canvas, RotatedTextLosesOneTurnAboveThreeHundredSixty)
{
    const auto draw = [](int angle) {
        auto s = std::make_unique<Surface>();
        s->Canvas.Font()->SetName("Arial");
        s->Canvas.Font()->SetSize(8);
        s->Canvas.RotatedText(100, 100, "Wj", angle);
        return s;
    };
    const auto at0 = draw(0), at90 = draw(90), at450 = draw(450), at360 = draw(360);
    EXPECT_TRUE(SameImage(at90->Bitmap, at450->Bitmap));
    EXPECT_FALSE(SameImage(at0->Bitmap, at90->Bitmap));
    EXPECT_TRUE(SameImage(at0->Bitmap, at360->Bitmap));
    // Turned a quarter counter-clockwise, the text runs upwards from the anchor.
    int top = 200, right = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (at90->At(x, y) != White) {
                top = std::min(top, y);
                right = std::max(right, x);
            }
    EXPECT_LT(top, 95);
    EXPECT_LT(right, 115);
    EXPECT_EQ(at90->Canvas.Brush()->Style(), bsClear);
}

TEST(Canvas, FontHeightIsTheHeightOfW)
{
    {
        FakeMetrics metrics(6, 13);
        Surface s;
        EXPECT_EQ(s.Canvas.FontHeight(), 13);
        EXPECT_EQ(s.Canvas.TextWidth("1,000"), 30);
    }
    // The real chart font: 8-point Arial at 96 dpi measures as Liberation Sans.
    Surface s;
    s.Canvas.Font()->SetName("Arial");
    s.Canvas.Font()->SetSize(8);
    EXPECT_EQ(s.Canvas.FontHeight(), s.Canvas.TextHeight("W"));
    EXPECT_EQ(s.Canvas.FontHeight(), 12);
    EXPECT_GT(s.Canvas.TextWidth("WW"), s.Canvas.TextWidth("W"));
}

TEST(Canvas, ResetStateRestoresTheStartingObjects)
{
    Surface s;
    s.Canvas.Pen()->SetColor(clRed);
    s.Canvas.Pen()->SetWidth(4);
    s.Canvas.Pen()->SetStyle(psDot);
    s.Canvas.Brush()->SetStyle(bsCross);
    s.Canvas.Brush()->SetColor(clLime);
    s.Canvas.Font()->SetColor(clBlue);
    s.Canvas.SetBackMode(platform::TBkMode::Opaque);
    s.Canvas.ResetState();
    EXPECT_EQ(s.Canvas.Pen()->Color(), clBlack);
    EXPECT_EQ(s.Canvas.Pen()->Width(), 1);
    EXPECT_EQ(s.Canvas.Pen()->Style(), psSolid);
    EXPECT_EQ(s.Canvas.Brush()->Color(), clWhite);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsSolid);
    EXPECT_EQ(s.Canvas.Font()->Color(), clBlack);
    EXPECT_EQ(s.Canvas.Font()->Size(), 10);
    EXPECT_EQ(s.Canvas.BackColor(), White);
    EXPECT_EQ(s.Canvas.BackMode(), platform::TBkMode::Transparent);
}

TEST(Canvas, TwoDimensionsProjectToThemselves)
{
    TTeeCanvas3D c;
    EXPECT_EQ(c.Project3D(12, 34, 56), (TPoint{12, 34}));
    int x = 7, y = 8;
    c.Unproject(x, y, 99);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 8);
    EXPECT_FALSE(c.Is3D());
    c.PrepareSurface(*TBitmap(10, 10).Canvas(), nullptr, clWhite, true, {0, 0, 10, 10});
    EXPECT_TRUE(c.Is3D());
    c.BeginFrontPlane();
    EXPECT_FALSE(c.Is3D());
    c.EndFrontPlane();
    EXPECT_TRUE(c.Is3D());
}

// The off-screen image: made at the size of the bounds, kept while the size stays, shown again
// unchanged until the canvas is invalidated.
TEST(Canvas, OffScreenImageIsReusedUntilTheSizeChanges)
{
    TBitmap window(300, 200);
    TTeeCanvas3D c;
    EXPECT_TRUE(c.Buffered());
    EXPECT_TRUE(c.Dirty());
    EXPECT_EQ(c.Bitmap(), nullptr);

    EXPECT_EQ(c.PrepareSurface(*window.Canvas(), nullptr, clWhite, false, {10, 20, 110, 70}),
              (TRect{0, 0, 100, 50}));
    const TBitmap* first = c.Bitmap();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Width(), 100);
    EXPECT_EQ(first->Height(), 50);
    EXPECT_EQ(c.ReferenceCanvas(), first->Canvas());
    c.Brush()->SetColor(clRed);
    c.FillRect({0, 0, 100, 50});
    EXPECT_EQ(window.Canvas()->Pixels(10, 20), White); // nothing reaches the window yet
    c.PresentImage(*window.Canvas(), {10, 20, 110, 70});
    EXPECT_FALSE(c.Dirty());
    EXPECT_EQ(window.Canvas()->Pixels(10, 20), clRed);
    EXPECT_EQ(window.Canvas()->Pixels(109, 69), clRed);
    EXPECT_EQ(window.Canvas()->Pixels(110, 70), White);
    EXPECT_EQ(c.ReferenceCanvas(), window.Canvas());

    c.PrepareSurface(*window.Canvas(), nullptr, clWhite, false, {0, 0, 100, 50});
    EXPECT_EQ(c.Bitmap(), first);
    c.PrepareSurface(*window.Canvas(), nullptr, clWhite, false, {0, 0, 101, 50});
    EXPECT_EQ(c.Bitmap()->Width(), 101);
    c.PrepareSurface(*window.Canvas(), nullptr, clWhite, false, {0, 0, 101, 51});
    EXPECT_EQ(c.Bitmap()->Height(), 51);

    c.SetBuffered(false);
    EXPECT_EQ(c.Bitmap(), nullptr);
    EXPECT_TRUE(c.Dirty());
    EXPECT_EQ(c.PrepareSurface(*window.Canvas(), nullptr, clWhite, false, {5, 5, 50, 50}),
              (TRect{5, 5, 50, 50}));
    EXPECT_EQ(c.ReferenceCanvas(), window.Canvas());
}

TEST(Canvas, RepaintFromBufferCopiesTheCleanImageOnly)
{
    TBitmap window(50, 50);
    TTeeCanvas3D c;
    EXPECT_FALSE(c.RepaintFromBuffer()); // nothing painted yet
    c.PrepareSurface(*window.Canvas(), nullptr, clWhite, false, {0, 0, 50, 50});
    c.Brush()->SetColor(clBlue);
    c.FillRect({0, 0, 50, 50});
    c.PresentImage(*window.Canvas(), {0, 0, 50, 50});

    TBitmap other(50, 50);
    c.SetCanvas(other.Canvas());
    EXPECT_TRUE(c.RepaintFromBuffer());
    EXPECT_EQ(other.Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(other.Canvas()->Pixels(49, 49), clBlue);

    c.Invalidate();
    TBitmap third(50, 50);
    c.SetCanvas(third.Canvas());
    EXPECT_FALSE(c.RepaintFromBuffer());
    EXPECT_EQ(third.Canvas()->Pixels(0, 0), White);
}

TEST(Canvas, MonochromeChangeDiscardsTheImageAndAsksForARepaint)
{
    int repaints = 0;
    TView3DOptions options([&] { ++repaints; });
    TBitmap window(20, 20);
    TTeeCanvas3D c;
    c.PrepareSurface(*window.Canvas(), &options, clWhite, false, {0, 0, 20, 20});
    c.PresentImage(*window.Canvas(), {0, 0, 20, 20});
    c.SetMonochrome(false);
    EXPECT_EQ(repaints, 0);
    EXPECT_NE(c.Bitmap(), nullptr);
    c.SetMonochrome(true);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(c.Bitmap(), nullptr);
    EXPECT_TRUE(c.Dirty());
}

TEST(Canvas, WithoutASurfaceNothingIsDrawnAndNothingMeasured)
{
    TTeeCanvas3D c;
    c.Line(0, 0, 10, 10);
    c.TextOut(0, 0, "x");
    EXPECT_EQ(c.TextWidth("abc"), 0);
    EXPECT_EQ(c.Handle(), nullptr);
}

TEST(Canvas, VerticalGradientRunsFromTheBottomEdge)
{
    Surface s;
    s.Canvas.GradientFill({0, 0, 10, 100}, clBlack, clWhite, gdTopBottom);
    EXPECT_EQ(s.At(5, 99), clBlack); // band 0, first colour, at the bottom
    EXPECT_EQ(s.At(5, 0), White);
    const TColor middle = s.At(5, 50);
    EXPECT_GT(RedOf(middle), 100);
    EXPECT_LT(RedOf(middle), 160);
    s.Canvas.GradientFill({0, 0, 10, 100}, clBlack, clWhite, gdBottomTop);
    EXPECT_EQ(s.At(5, 99), White); // the colours are exchanged first
}

TEST(Canvas, OtherGradientsKeepToTheirRectangle)
{
    Surface s;
    s.Canvas.GradientFill({10, 10, 60, 20}, clRed, clBlue, gdLeftRight);
    EXPECT_EQ(s.At(59, 15), clRed); // band 0 at the right edge
    EXPECT_EQ(s.At(10, 15), clBlue);
    EXPECT_EQ(s.At(60, 15), White);
    EXPECT_EQ(s.At(9, 15), White);

    // Swapped corners are normalised; the frames run from the outside in.
    s.Canvas.GradientFill({120, 120, 100, 100}, clRed, clBlue, gdFromCenter);
    EXPECT_EQ(s.At(100, 100), clBlue); // the colours are exchanged: the edge takes the second
    EXPECT_EQ(s.At(119, 119), clBlue);
    EXPECT_EQ(s.At(120, 120), White);
    const TColor centre = s.At(110, 110);
    EXPECT_GT(RedOf(centre), 200);
    EXPECT_LT(BlueOf(centre), 60);
    // The brush is the one from before the gradient.
    EXPECT_EQ(s.Canvas.Brush()->Color(), clWhite);
    EXPECT_EQ(s.Canvas.Brush()->Style(), bsSolid);
}

} // namespace
