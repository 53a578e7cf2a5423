// Rectangles, fills, clipping, the focus rectangle, copies and the bitmap image itself.
#include "platform/DrawContext.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace platform;

namespace {

constexpr TRgb kWhite = 0xFFFFFF;
constexpr TRgb kBlack = 0x000000;
constexpr TRgb kRed = 0x0000FF;
constexpr TRgb kBlue = 0xFF0000;
constexpr TRgb kGreen = 0x00FF00;

// The colours of row Y from X0 to X1 - 1.
std::string Row(const TBitmapImage& Image, int Y, int X0, int X1)
{
    std::string s;
    for (int x = X0; x < X1; ++x) {
        const TRgb c = Image.Pixel(x, Y);
        s += c == kWhite ? '.' : c == kBlack ? 'k' : c == kRed ? 'r' : c == kBlue ? 'b'
             : c == kGreen                                    ? 'g'
                                                              : '?';
    }
    return s;
}

int CountNot(const TBitmapImage& Image, TRgb Colour)
{
    int n = 0;
    for (int y = 0; y < Image.Height(); ++y)
        for (int x = 0; x < Image.Width(); ++x)
            n += Image.Pixel(x, y) != Colour;
    return n;
}

} // namespace

TEST(DrawContextImage, StartsWhiteAndAnswersZeroOutside)
{
    TBitmapImage image(5, 4);
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 4);
    EXPECT_EQ(CountNot(image, kWhite), 0);
    EXPECT_EQ(image.Pixel(-1, 0), 0u);
    EXPECT_EQ(image.Pixel(5, 0), 0u);
    TBitmapImage empty(0, 0);
    TDrawContext dc(empty);
    dc.MoveTo(0, 0);
    dc.LineTo(10, 10); // nothing to draw on, and no harm done
    dc.Rectangle(0, 0, 3, 3);
    EXPECT_EQ(empty.Pixel(0, 0), 0u);
}

TEST(DrawContextRectangle, OutlinesAndFillsUpToButNotIncludingRightAndBottom)
{
    TBitmapImage image(8, 6);
    TDrawContext dc(image);
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Row(image, 0, 0, 8), "........");
    EXPECT_EQ(Row(image, 1, 0, 8), ".kkkkk..");
    EXPECT_EQ(Row(image, 2, 0, 8), ".krrrk..");
    EXPECT_EQ(Row(image, 3, 0, 8), ".krrrk..");
    EXPECT_EQ(Row(image, 4, 0, 8), ".kkkkk..");
    EXPECT_EQ(Row(image, 5, 0, 8), "........");
    EXPECT_EQ(dc.CurrentPosition(), (TPoint{0, 0}));
}

TEST(DrawContextRectangle, ClearPenFillsOnePixelLessEachWay)
{
    TBitmapImage image(8, 6);
    TDrawContext dc(image);
    dc.SelectPen({kBlack, 1, TPenStyle::Clear});
    dc.SelectBrush({kBlue, TBrushStyle::Solid});
    dc.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Row(image, 1, 0, 8), ".bbbb...");
    EXPECT_EQ(Row(image, 3, 0, 8), ".bbbb...");
    EXPECT_EQ(Row(image, 4, 0, 8), "........");
}

TEST(DrawContextRectangle, WidePenFrameIsCentredLikeLinesOrInsideForInsideFrame)
{
    TBitmapImage image(10, 10);
    TDrawContext dc(image);
    dc.SelectPen({kBlack, 2, TPenStyle::Solid});
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.Rectangle(2, 2, 8, 8); // outline on 2 and 7, each widened towards the smaller side
    EXPECT_EQ(Row(image, 0, 0, 10), "..........");
    EXPECT_EQ(Row(image, 1, 0, 10), ".kkkkkkk..");
    EXPECT_EQ(Row(image, 2, 0, 10), ".kkkkkkk..");
    EXPECT_EQ(Row(image, 3, 0, 10), ".kkrrrkk..");
    EXPECT_EQ(Row(image, 5, 0, 10), ".kkrrrkk..");
    EXPECT_EQ(Row(image, 6, 0, 10), ".kkkkkkk..");
    EXPECT_EQ(Row(image, 7, 0, 10), ".kkkkkkk..");
    EXPECT_EQ(Row(image, 8, 0, 10), "..........");

    TBitmapImage inside(10, 10);
    TDrawContext di(inside);
    di.SelectPen({kBlack, 2, TPenStyle::InsideFrame});
    di.SelectBrush({kRed, TBrushStyle::Solid});
    di.Rectangle(2, 2, 8, 8);
    EXPECT_EQ(Row(inside, 1, 0, 10), "..........");
    EXPECT_EQ(Row(inside, 2, 0, 10), "..kkkkkk..");
    EXPECT_EQ(Row(inside, 4, 0, 10), "..kkrrkk..");
    EXPECT_EQ(Row(inside, 7, 0, 10), "..kkkkkk..");
}

TEST(DrawContextRectangle, FarEdgesAndHugePensCoverTheImageWithoutOverflow)
{
    TBitmapImage image(6, 4);
    TDrawContext dc(image);
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX); // only the fill reaches the image
    EXPECT_EQ(Row(image, 0, 0, 6), "rrrrrr");
    dc.SelectPen({kBlack, INT_MAX, TPenStyle::Solid});
    dc.Rectangle(2, 2, 4, 4);
    EXPECT_EQ(CountNot(image, kBlack), 0);
}

TEST(DrawContextRectangle, XorFrameAndFillTwiceRestoreTheImage)
{
    TBitmapImage image(12, 12);
    TDrawContext dc(image);
    dc.SelectPen({kWhite, 3, TPenStyle::Solid, TPenMode::Xor});
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.Rectangle(2, 2, 10, 10);
    EXPECT_NE(CountNot(image, kWhite), 0);
    dc.Rectangle(2, 2, 10, 10);
    EXPECT_EQ(CountNot(image, kWhite), 0);
}

// The platform's picture: the outline starts at the top right corner and runs anticlockwise,
// the pattern carried round the corners.
TEST(DrawContextRectangle, DottedOutlineRunsAnticlockwiseFromTheTopRight)
{
    TBitmapImage image(8, 8);
    TDrawContext dc(image);
    dc.SetBkMode(TBkMode::Transparent);
    dc.SelectPen({kBlack, 1, TPenStyle::Alternate});
    dc.SelectBrush({kRed, TBrushStyle::Clear});
    dc.Rectangle(1, 1, 7, 7);
    const char* expected[] = {"........", "..k.k.k.", ".k......", "......k.",
                              ".k......", "......k.", ".k.k.k..", "........"};
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(Row(image, y, 0, 8), expected[y]) << "row " << y;
}

// Nothing for a 1 x 1 rectangle (its sides and inside are all empty) nor for a fill whose
// corners are the wrong way round, whatever the pen.
TEST(DrawContextRectangle, DegenerateRectanglesDrawNothing)
{
    TBitmapImage image(8, 8);
    TDrawContext dc(image);
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    for (int width : {1, 2, 3}) {
        dc.SelectPen({kBlack, width, TPenStyle::Solid});
        dc.Rectangle(3, 3, 4, 4);
        dc.Rectangle(4, 4, 3, 3);
    }
    dc.FillRect({6, 1, 2, 5});
    dc.FillRect({2, 5, 6, 1});
    EXPECT_EQ(CountNot(image, kWhite), 0);
}

TEST(DrawContextFill, FillRectExcludesRightAndBottomAndIgnoresThePenMode)
{
    TBitmapImage image(6, 4);
    TDrawContext dc(image);
    dc.SelectPen({kBlack, 1, TPenStyle::Solid, TPenMode::Xor});
    dc.SelectBrush({kGreen, TBrushStyle::Solid});
    dc.FillRect({1, 1, 4, 3});
    dc.FillRect({1, 1, 4, 3});
    EXPECT_EQ(Row(image, 0, 0, 6), "......");
    EXPECT_EQ(Row(image, 1, 0, 6), ".ggg..");
    EXPECT_EQ(Row(image, 2, 0, 6), ".ggg..");
    EXPECT_EQ(Row(image, 3, 0, 6), "......");
    dc.SelectBrush({kRed, TBrushStyle::Clear});
    dc.FillRect({0, 0, 6, 4});
    EXPECT_EQ(Row(image, 1, 0, 6), ".ggg..");
}

TEST(DrawContextFill, HatchDrawsItsBackgroundOnlyWhenOpaque)
{
    TBitmapImage image(8, 8);
    TDrawContext dc(image);
    dc.SelectBrush({kRed, TBrushStyle::Horizontal});
    dc.SetBkColor(kBlue);
    dc.SetBkMode(TBkMode::Transparent);
    dc.FillRect({0, 0, 8, 4});
    dc.SetBkMode(TBkMode::Opaque);
    dc.FillRect({0, 4, 8, 8});
    EXPECT_EQ(Row(image, 0, 0, 8), "rrrrrrrr");
    EXPECT_EQ(Row(image, 1, 0, 8), "........");
    EXPECT_EQ(Row(image, 5, 0, 8), "bbbbbbbb");
}

TEST(DrawContextClip, IntersectionOnlyNarrowsUntilRemoved)
{
    TBitmapImage image(20, 20);
    TDrawContext dc(image);
    EXPECT_FALSE(dc.HasClip());
    EXPECT_EQ(dc.ClipBox(), (TRect{0, 0, 20, 20}));
    dc.IntersectClipRect({2, 3, 15, 16});
    dc.IntersectClipRect({5, 0, 30, 10});
    EXPECT_TRUE(dc.HasClip());
    EXPECT_EQ(dc.ClipBox(), (TRect{5, 3, 15, 10}));
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.FillRect({0, 0, 20, 20});
    EXPECT_EQ(CountNot(image, kWhite), 10 * 7);
    EXPECT_EQ(dc.GetPixel(4, 5), InvalidRgb);
    EXPECT_EQ(dc.GetPixel(5, 5), kRed);
    dc.IntersectClipRect({16, 0, 20, 20}); // disjoint: nothing drawable
    EXPECT_EQ(dc.ClipBox(), (TRect{}));
    dc.SetPixel(17, 1, kBlack);
    EXPECT_EQ(image.Pixel(17, 1), kWhite);
    dc.RemoveClip();
    EXPECT_FALSE(dc.HasClip());
    dc.SetPixel(17, 1, kBlack);
    EXPECT_EQ(image.Pixel(17, 1), kBlack);
}

TEST(DrawContextClip, TextAndShapesStayInsideTheClip)
{
    TBitmapImage image(60, 30);
    TDrawContext dc(image);
    dc.IntersectClipRect({10, 5, 20, 25});
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.Ellipse(0, 0, 60, 30);
    dc.TextOut(0, 0, "WWWWWWWW");
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (x < 10 || x >= 20 || y < 5 || y >= 25) {
                ASSERT_EQ(image.Pixel(x, y), kWhite) << x << "," << y;
            }
        }
    }
}

TEST(DrawContextFocus, InvertsEveryOtherPixelOfTheFrameOnceAndTwiceRestores)
{
    TBitmapImage image(8, 6);
    TDrawContext dc(image);
    dc.DrawFocusRect({1, 1, 7, 5});
    EXPECT_EQ(Row(image, 0, 0, 8), "........");
    // Pixels whose x + y is even, the corners included once.
    EXPECT_EQ(Row(image, 1, 0, 8), ".k.k.k..");
    EXPECT_EQ(Row(image, 2, 0, 8), "......k.");
    EXPECT_EQ(Row(image, 3, 0, 8), ".k......");
    EXPECT_EQ(Row(image, 4, 0, 8), "..k.k.k.");
    dc.DrawFocusRect({1, 1, 7, 5});
    EXPECT_EQ(CountNot(image, kWhite), 0);
}

TEST(DrawContextCopy, BitBltPlacesAndClipsTheSource)
{
    TBitmapImage source(4, 3);
    TDrawContext ds(source);
    ds.SelectBrush({kRed, TBrushStyle::Solid});
    ds.FillRect({0, 0, 4, 3});
    ds.SetPixel(0, 0, kBlue);
    TBitmapImage target(10, 10);
    TDrawContext dt(target);
    dt.BitBlt(7, -1, source); // runs off the right and the top
    EXPECT_EQ(Row(target, 0, 5, 10), "..rrr");
    EXPECT_EQ(Row(target, 1, 5, 10), "..rrr");
    EXPECT_EQ(Row(target, 2, 5, 10), ".....");
    dt.BitBlt(1, 5, source);
    EXPECT_EQ(target.Pixel(1, 5), kBlue);
    dt.StretchBlt({0, 0, 8, 6}, source); // doubled
    EXPECT_EQ(Row(target, 0, 0, 8), "bbrrrrrr");
    EXPECT_EQ(Row(target, 1, 0, 8), "bbrrrrrr");
    EXPECT_EQ(Row(target, 2, 0, 8), "rrrrrrrr");
    EXPECT_EQ(target.Pixel(0, 6), kWhite);

    // Edges far outside the image stretch the source beyond it without overflow: only its
    // top-left pixel reaches the image.
    dt.StretchBlt({0, 0, INT_MAX, INT_MAX}, source);
    EXPECT_EQ(Row(target, 9, 0, 10), "bbbbbbbbbb");
    dt.StretchBlt({INT_MIN, INT_MIN, 10, 10}, source);
    EXPECT_EQ(Row(target, 9, 0, 10), "rrrrrrrrrr");
}

TEST(DrawContextShapes, EllipseAndPolygonStayWithinTheirBounds)
{
    TBitmapImage image(30, 30);
    TDrawContext dc(image);
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.Ellipse(5, 5, 25, 15);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (image.Pixel(x, y) != kWhite) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 24);
    EXPECT_EQ(minY, 5);
    EXPECT_EQ(maxY, 14);
    EXPECT_EQ(image.Pixel(15, 10), kRed);

    TBitmapImage poly(30, 30);
    TDrawContext dp(poly);
    dp.SelectBrush({kRed, TBrushStyle::Solid});
    const TPoint triangle[] = {{2, 2}, {20, 2}, {2, 20}};
    dp.Polygon(triangle, 3);
    EXPECT_EQ(poly.Pixel(2, 2), kBlack);
    EXPECT_EQ(poly.Pixel(19, 2), kBlack);
    EXPECT_EQ(poly.Pixel(2, 19), kBlack);
    EXPECT_EQ(poly.Pixel(6, 6), kRed);
    EXPECT_EQ(poly.Pixel(15, 15), kWhite);
}

TEST(DrawContextShapes, FarBoundsFillTheImageWithoutOverflow)
{
    // The image lies deep inside each shape, far from its outline.
    TBitmapImage image(10, 10);
    TDrawContext dc(image);
    dc.SelectBrush({kRed, TBrushStyle::Solid});
    dc.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(CountNot(image, kRed), 0);
    dc.SelectBrush({kBlue, TBrushStyle::Solid});
    dc.RoundRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 8, 8);
    EXPECT_EQ(CountNot(image, kBlue), 0);
    dc.SelectBrush({kGreen, TBrushStyle::Solid});
    // A pie from the right round to the top covers the quarter above and right of its centre.
    dc.Pie({INT_MIN, -10, INT_MAX, 20}, {INT_MAX, 5}, {0, INT_MIN});
    EXPECT_EQ(image.Pixel(9, 0), kGreen);
}

TEST(DrawContextShapes, ArcRunsCounterClockwiseFromStartToEndWithinTheBounds)
{
    TBitmapImage image(30, 30);
    TDrawContext dc(image);
    dc.Arc({5, 5, 25, 25}, {25, 15}, {5, 15}); // the upper half, from the right to the left
    int minX = 99, maxX = -1, maxY = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if (image.Pixel(x, y) != kWhite) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 5);
    EXPECT_EQ(maxX, 24);
    EXPECT_LE(maxY, 15);
    EXPECT_EQ(image.Pixel(15, 5), kBlack);
}
