// Wide pens against a direct evaluation of the geometric pen, pixel centre by pixel centre:
// within half the width of a segment (top-left rule on the boundary), or inside the circle
// inscribed in the w x w box at one of its ends.
#include "platform/DrawContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace platform;

namespace {

using TPixels = std::set<std::pair<int, int>>;
constexpr int kSize = 64;

// Moving from a boundary point by (1, 0) enters the shape when the constraint's value grows
// that way, and when it does not change that way, moving by (0, 1) decides.
bool Enters(std::int64_t AlongX, std::int64_t AlongY)
{
    return AlongX != 0 ? AlongX > 0 : AlongY > 0;
}

bool InBand(int X, int Y, TPoint A, TPoint B, int W)
{
    const std::int64_t dx = B.X - A.X, dy = B.Y - A.Y, l2 = dx * dx + dy * dy;
    const std::int64_t px = X - A.X, py = Y - A.Y;
    const std::int64_t t = px * dy - py * dx; // L times the signed distance from the line
    const std::int64_t s = px * dx + py * dy; // L^2 times the position along the segment
    const std::int64_t t4 = 4 * t * t, r4 = std::int64_t(W) * W * l2;
    if (t4 > r4 || s < 0 || s > l2)
        return false;
    // |t| grows along (1, 0) by sign(t) dy, along (0, 1) by -sign(t) dx.
    const std::int64_t sign = t > 0 ? 1 : -1;
    if (t4 == r4 && !Enters(-sign * dy, sign * dx))
        return false;
    if (s == 0 && !Enters(dx, dy))
        return false;
    if (s == l2 && !Enters(-dx, -dy))
        return false;
    return true;
}

bool InDisk(int X, int Y, TPoint V, int W)
{
    // Twice the offset from the middle of the box V - W/2 .. V - W/2 + W - 1.
    const std::int64_t u = 2 * (X - V.X + W / 2) - (W - 1), v = 2 * (Y - V.Y + W / 2) - (W - 1);
    return u * u + v * v < std::int64_t(W) * W;
}

TPixels Expected(const std::vector<TPoint>& Path, int W)
{
    TPixels lit;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            for (std::size_t i = 1; i < Path.size(); ++i) {
                const TPoint a = Path[i - 1], b = Path[i];
                if (a != b && (InBand(x, y, a, b, W) || InDisk(x, y, a, W) || InDisk(x, y, b, W))) {
                    lit.insert({x, y});
                    break;
                }
            }
    return lit;
}

// Pixels changed from white by drawing Path with a white XOR pen (so a pixel covered twice
// would come back white) or a black copy pen, as one polyline or with LineTo.
TPixels Drawn(const std::vector<TPoint>& Path, int W, TPenMode Mode, bool AsPolyline)
{
    TBitmapImage image(kSize, kSize);
    TDrawContext dc(image);
    dc.SelectPen({Mode == TPenMode::Xor ? 0xFFFFFFu : 0u, W, TPenStyle::Solid, Mode});
    if (AsPolyline) {
        dc.Polyline(Path.data(), int(Path.size()));
    } else {
        dc.MoveTo(Path[0].X, Path[0].Y);
        for (std::size_t i = 1; i < Path.size(); ++i)
            dc.LineTo(Path[i].X, Path[i].Y);
    }
    TPixels lit;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const TRgb c = image.Pixel(x, y);
            if (c != 0xFFFFFF) {
                EXPECT_EQ(c, 0u) << x << "," << y; // inverted once, or copied
                lit.insert({x, y});
            }
        }
    return lit;
}

std::string Describe(const std::vector<TPoint>& Path, int W)
{
    std::string s = "width " + std::to_string(W) + ":";
    for (TPoint p : Path)
        s += " " + std::to_string(p.X) + "," + std::to_string(p.Y);
    return s;
}

} // namespace

TEST(DrawContextWide, SegmentsCoverTheBandAndTheDisksAtTheirEnds)
{
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> coord(-6, kSize + 5);
    std::uniform_int_distribution<int> nudge(-3, 3);
    for (int i = 0; i < 600; ++i) {
        const int w = 2 + i % 5;
        const TPoint a{coord(gen), coord(gen)};
        // Every third segment short, where the ends and the rule's ties matter most.
        const TPoint b = i % 3 ? TPoint{coord(gen), coord(gen)}
                               : TPoint{a.X + nudge(gen), a.Y + nudge(gen)};
        if (a == b)
            continue;
        const std::vector<TPoint> path{a, b};
        ASSERT_EQ(Drawn(path, w, TPenMode::Copy, false), Expected(path, w)) << Describe(path, w);
        ASSERT_EQ(Drawn(path, w, TPenMode::Xor, false), Expected(path, w)) << Describe(path, w);
    }
}

// A polyline is one shape: in XOR mode each pixel of the union flips once, joins included;
// in copy mode dense steep data goes through the column gathering.
TEST(DrawContextWide, PolylinesCoverTheUnionOnce)
{
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> coord(-4, kSize + 3);
    std::uniform_int_distribution<int> step(0, 2);
    for (int i = 0; i < 120; ++i) {
        const int w = 2 + i % 4;
        std::vector<TPoint> path;
        int x = coord(gen);
        for (int n = 0; n < 12; ++n) {
            path.push_back({x, coord(gen)});
            x += i % 2 ? step(gen) : coord(gen) / 8 - 4;
        }
        const TPixels expected = Expected(path, w);
        ASSERT_EQ(Drawn(path, w, TPenMode::Xor, true), expected) << Describe(path, w);
        ASSERT_EQ(Drawn(path, w, TPenMode::Copy, true), expected) << Describe(path, w);
    }
}

// Ends far outside the image (within the device space) light exactly the pixels of the same
// line with near ends, for which the direct evaluation stays small.
TEST(DrawContextWide, FarEndsLightTheSamePixelsAsNearOnes)
{
    const TPoint directions[] = {{3, 7}, {7, -3}, {1, 1}, {-5, 2}, {0, 1}, {11, 13}};
    for (int w = 2; w <= 5; ++w)
        for (TPoint d : directions) {
            // The line through (30, 33) along d, ending well outside the image either side, or
            // 2^22 steps either side.
            const auto at = [&](int Steps) { return TPoint{30 + Steps * d.X, 33 + Steps * d.Y}; };
            const int n = 4 + kSize / std::max(std::abs(d.X), std::abs(d.Y));
            const std::vector<TPoint> close{at(-n), at(n)}, distant{at(-(1 << 22)), at(1 << 22)};
            const TPixels expected = Expected(close, w);
            ASSERT_EQ(Drawn(distant, w, TPenMode::Copy, false), expected) << Describe(distant, w);
            ASSERT_EQ(Drawn(distant, w, TPenMode::Xor, true), expected) << Describe(distant, w);
        }
}
