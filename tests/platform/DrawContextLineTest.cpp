// Line stepping: end pixels, wide pens, patterns, modes and clipping, checked pixel by pixel.
#include "platform/DrawContext.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace platform;

namespace {

constexpr TRgb kWhite = 0xFFFFFF;
constexpr TRgb kRed = 0x0000FF;

using TPixels = std::set<std::pair<int, int>>;

// Every pixel that is not white.
TPixels Inked(const TBitmapImage& Image)
{
    TPixels set;
    for (int y = 0; y < Image.Height(); ++y)
        for (int x = 0; x < Image.Width(); ++x)
            if (Image.Pixel(x, y) != kWhite)
                set.insert({x, y});
    return set;
}

TPixels LinePixels(TPoint From, TPoint To, TPenDesc Pen = {}, int Size = 64)
{
    TBitmapImage image(Size, Size);
    TDrawContext dc(image);
    dc.SelectPen(Pen);
    dc.MoveTo(From.X, From.Y);
    dc.LineTo(To.X, To.Y);
    return Inked(image);
}

bool SameImage(const TBitmapImage& A, const TBitmapImage& B)
{
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (A.Pixel(x, y) != B.Pixel(x, y))
                return false;
    return true;
}

} // namespace

TEST(DrawContextLine, ExcludesTheEndPixelInEveryDirection)
{
    EXPECT_EQ(LinePixels({10, 10}, {14, 10}), (TPixels{{10, 10}, {11, 10}, {12, 10}, {13, 10}}));
    EXPECT_EQ(LinePixels({14, 10}, {10, 10}), (TPixels{{14, 10}, {13, 10}, {12, 10}, {11, 10}}));
    EXPECT_EQ(LinePixels({5, 20}, {5, 17}), (TPixels{{5, 20}, {5, 19}, {5, 18}}));
    EXPECT_EQ(LinePixels({1, 1}, {4, 4}), (TPixels{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(LinePixels({4, 4}, {1, 1}), (TPixels{{4, 4}, {3, 3}, {2, 2}}));
    EXPECT_EQ(LinePixels({4, 1}, {1, 4}), (TPixels{{4, 1}, {3, 2}, {2, 3}}));
}

TEST(DrawContextLine, ZeroLengthDrawsNothingButMoves)
{
    TBitmapImage image(8, 8);
    TDrawContext dc(image);
    dc.MoveTo(3, 3);
    dc.LineTo(3, 3);
    EXPECT_TRUE(Inked(image).empty());
    dc.LineTo(5, 3);
    EXPECT_EQ(dc.CurrentPosition(), (TPoint{5, 3}));
    EXPECT_EQ(Inked(image), (TPixels{{3, 3}, {4, 3}}));
}

TEST(DrawContextLine, HalvesGoToTheSmallerCoordinateWhicheverWayTheLineRuns)
{
    // (0,0)-(4,2) passes exactly between two rows at x = 1 and x = 3.
    EXPECT_EQ(LinePixels({0, 0}, {4, 2}), (TPixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(LinePixels({4, 2}, {0, 0}), (TPixels{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(LinePixels({0, 2}, {4, 0}), (TPixels{{0, 2}, {1, 1}, {2, 1}, {3, 0}}));
    // Steep: the same rule on x.
    EXPECT_EQ(LinePixels({0, 0}, {2, 4}), (TPixels{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
}

// The platform's pictures of a 2-pixel pen: round ends are the 2 x 2 square at each vertex,
// so a horizontal line covers x0 - 1..x1 on rows y - 1 and y whichever way it runs.
TEST(DrawContextLine, TwoPixelPenCoversTheRowAboveAndRoundEnds)
{
    TPenDesc pen;
    pen.Width = 2;
    TPixels expected;
    for (int x = 9; x <= 30; ++x)
        expected.insert({x, 49}), expected.insert({x, 50});
    EXPECT_EQ(LinePixels({10, 50}, {30, 50}, pen), expected);
    EXPECT_EQ(LinePixels({30, 50}, {10, 50}, pen), expected);
    TPixels vertical;
    for (int y = 4; y <= 9; ++y)
        vertical.insert({19, y}), vertical.insert({20, y});
    EXPECT_EQ(LinePixels({20, 5}, {20, 9}, pen), vertical);
}

// A steep 2-pixel line lights, on each row between its ends, the columns ceil(x - 1) and
// ceil(x) of its exact position x.
TEST(DrawContextLine, SteepTwoPixelLineLightsTheColumnsAtItsExactPosition)
{
    TPenDesc pen;
    pen.Width = 2;
    // Ends on rows 0 and 40; rows 2..38 lie clear of the round ends.
    for (const auto& [from, to] : std::vector<std::pair<TPoint, TPoint>>{
             {{10, 0}, {13, 40}}, {{13, 40}, {10, 0}}, {{30, 0}, {23, 40}}}) {
        const int x0 = from.Y == 0 ? from.X : to.X, dx = (to.X - from.X) * (from.Y == 0 ? 1 : -1);
        TPixels expected, rows;
        for (int y = 2; y <= 38; ++y) {
            const int num = 40 * x0 + dx * y; // x = num / 40
            expected.insert({(num - 40 + 39) / 40, y});
            expected.insert({(num + 39) / 40, y});
        }
        for (auto [x, y] : LinePixels(from, to, pen))
            if (y >= 2 && y <= 38)
                rows.insert({x, y});
        EXPECT_EQ(rows, expected) << from.X << "," << from.Y << " to " << to.X << "," << to.Y;
    }
}

// Each LineTo starts the pattern afresh; MoveTo does not change that.
TEST(DrawContextLine, DotPatternRestartsAtEveryLineTo)
{
    TPenDesc pen;
    pen.Style = TPenStyle::Dot;
    TBitmapImage image(40, 8);
    TDrawContext dc(image);
    dc.SetBkMode(TBkMode::Transparent);
    dc.SelectPen(pen);
    dc.MoveTo(0, 1);
    dc.LineTo(4, 1);
    dc.LineTo(12, 1);
    std::string row;
    for (int x = 0; x < 12; ++x)
        row += image.Pixel(x, 1) == 0 ? 'k' : '.';
    EXPECT_EQ(row, "kkk.kkk...kk");
    dc.MoveTo(2, 3);
    dc.LineTo(8, 3);
    EXPECT_EQ(image.Pixel(2, 3), 0u);
    EXPECT_EQ(image.Pixel(5, 3), kWhite);
}

TEST(DrawContextLine, OpaqueBackgroundFillsTheGapsOfStyledPens)
{
    TPenDesc pen;
    pen.Style = TPenStyle::Alternate;
    pen.Color = kRed;
    TBitmapImage image(10, 3);
    TDrawContext dc(image);
    dc.SelectPen(pen);
    dc.SetBkColor(0x00FF00);
    dc.SetBkMode(TBkMode::Opaque);
    dc.MoveTo(0, 1);
    dc.LineTo(4, 1);
    EXPECT_EQ(image.Pixel(0, 1), kRed);
    EXPECT_EQ(image.Pixel(1, 1), 0x00FF00u);
    EXPECT_EQ(image.Pixel(2, 1), kRed);
    EXPECT_EQ(image.Pixel(4, 1), kWhite);
}

TEST(DrawContextLine, StyledWidePensDrawSolidAndClearDrawsNothing)
{
    TPenDesc pen;
    pen.Style = TPenStyle::Dot;
    pen.Width = 2;
    TPixels solid; // the round end at x = 0 reaches column -1, outside the image
    for (int x = 0; x <= 10; ++x)
        solid.insert({x, 4}), solid.insert({x, 5});
    EXPECT_EQ(LinePixels({0, 5}, {10, 5}, pen), solid);
    pen.Style = TPenStyle::Clear;
    EXPECT_TRUE(LinePixels({0, 5}, {10, 5}, pen).empty());
}

TEST(DrawContextLine, XorTwiceRestoresAndWideXorInvertsEachPixelOnce)
{
    TBitmapImage image(50, 50);
    TDrawContext dc(image);
    TPenDesc pen;
    pen.Mode = TPenMode::Xor;
    pen.Color = 0xFFFFFF;
    pen.Width = 3;
    dc.SelectPen(pen);
    dc.MoveTo(3, 7);
    dc.LineTo(40, 21);
    const TPixels once = Inked(image);
    for (auto [x, y] : once)
        EXPECT_EQ(image.Pixel(x, y), 0u);
    dc.MoveTo(3, 7);
    dc.LineTo(40, 21);
    EXPECT_TRUE(Inked(image).empty());
}

// Clipping must keep exactly the pixels of the unclipped line that fall inside the clip, for
// every direction, width and clip position.
TEST(DrawContextLine, ClippingKeepsExactlyTheUnclippedPixelsInside)
{
    const TRect clip{13, 9, 41, 33};
    const std::vector<std::pair<TPoint, TPoint>> lines = {
        {{0, 0}, {60, 45}},  {{60, 45}, {0, 0}}, {{2, 50}, {55, 3}}, {{27, -20}, {31, 70}},
        {{-30, 20}, {90, 21}}, {{40, 2}, {12, 40}}, {{5, 33}, {50, 33}}, {{20, 0}, {20, 8}},
        {{-100, -90}, {100, 95}}, {{41, 10}, {13, 32}}};
    for (int width : {1, 2, 3, 4}) {
        for (auto [from, to] : lines) {
            TPenDesc pen;
            pen.Width = width;
            const TPixels full = LinePixels(from, to, pen);
            TBitmapImage image(64, 64);
            TDrawContext dc(image);
            dc.SelectPen(pen);
            dc.IntersectClipRect(clip);
            dc.MoveTo(from.X, from.Y);
            dc.LineTo(to.X, to.Y);
            TPixels expected;
            for (auto [x, y] : full)
                if (x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom)
                    expected.insert({x, y});
            EXPECT_EQ(Inked(image), expected) << "width " << width << " from " << from.X << ","
                                              << from.Y << " to " << to.X << "," << to.Y;
        }
    }
}

TEST(DrawContextLine, FarEndsAreClippedWithoutOverflow)
{
    TBitmapImage image(20, 20);
    TDrawContext dc(image);
    dc.MoveTo(-100000000, 10);
    dc.LineTo(100000000, 10);
    EXPECT_EQ(Inked(image).size(), 20u);
    TBitmapImage other(20, 20);
    TDrawContext outer(other);
    outer.MoveTo(0, 0);
    outer.LineTo(2000000000, 2000000000); // beyond the device space: nothing
    EXPECT_TRUE(Inked(other).empty());
    TPenDesc huge;
    huge.Width = 2000000000; // covers everything, and nothing overflows on the way
    outer.SelectPen(huge);
    outer.MoveTo(5, 5);
    outer.LineTo(6, 5);
    EXPECT_EQ(Inked(other).size(), 400u);
}

// Copy mode writes long runs whole, XOR mode steps pixel by pixel (it must not touch a pixel
// twice): both must light the same pixels.
TEST(DrawContextLine, CopyRunsAndXorSteppingLightTheSamePixels)
{
    unsigned seed = 99;
    auto next = [&seed](int Range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % unsigned(Range));
    };
    for (int i = 0; i < 400; ++i) {
        const TPoint from{8 + next(48), 8 + next(48)};
        const TPoint to = i % 2 ? TPoint{from.X + next(5) - 2, 8 + next(48)}
                                : TPoint{8 + next(48), from.Y + next(5) - 2};
        TPenDesc pen;
        pen.Width = 1 + i % 4;
        const TPixels copied = LinePixels(from, to, pen);
        pen.Mode = TPenMode::Xor;
        pen.Color = kWhite;
        ASSERT_EQ(LinePixels(from, to, pen), copied)
            << "width " << pen.Width << " from " << from.X << "," << from.Y << " to " << to.X
            << "," << to.Y;
    }
}

// The chart draws its series as one polyline; it must equal the segments drawn one by one,
// on dense data with clipping and a 2-pixel pen. (Styled 1-pixel pens differ on purpose: a
// polyline carries the pattern, LineTo restarts it.)
TEST(DrawContextLine, PolylineEqualsItsSegments)
{
    std::vector<TPoint> points;
    unsigned seed = 12345;
    for (int i = 0; i < 3000; ++i) {
        seed = seed * 1103515245u + 12345u;
        points.push_back({int(i / 10) - 20, int((seed >> 16) % 260) - 30});
    }
    // Then back again, so that steep runs are gathered leftwards too.
    for (int i = 2999; i >= 0; --i)
        points.push_back({points[std::size_t(i)].X + 1, points[std::size_t(i)].Y / 2 + 40});
    for (TPenStyle style : {TPenStyle::Solid, TPenStyle::Dash, TPenStyle::DashDotDot}) {
        for (int width : {1, 2, 3, 4}) {
            if (style != TPenStyle::Solid && width == 1)
                continue;
            TPenDesc pen;
            pen.Width = width;
            pen.Style = style;
            pen.Color = kRed;
            TBitmapImage a(300, 200), b(300, 200);
            TDrawContext da(a), db(b);
            for (TDrawContext* dc : {&da, &db}) {
                dc->SelectPen(pen);
                dc->IntersectClipRect({10, 5, 270, 190});
            }
            da.Polyline(points.data(), int(points.size()));
            db.MoveTo(points[0].X, points[0].Y);
            for (std::size_t i = 1; i < points.size(); ++i)
                db.LineTo(points[i].X, points[i].Y);
            EXPECT_TRUE(SameImage(a, b)) << "width " << width;
            EXPECT_EQ(da.CurrentPosition(), (TPoint{0, 0})); // Polyline leaves it alone
        }
    }
}
