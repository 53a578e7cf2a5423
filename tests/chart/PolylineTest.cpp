// The gathered polyline: runs in one pixel column shrink to a few points that light exactly the
// pixels of the original path, whatever the order of rows and the pen width.
#include "chart/TeePolyline.h"
#include "platform/DrawContext.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<platform::TRgb> Draw(const std::vector<TPoint>& Path, int Width)
{
    platform::TBitmapImage image(64, 64);
    platform::TDrawContext dc(image);
    dc.SelectPen({0x0000FF, Width, platform::TPenStyle::Solid});
    dc.Polyline(Path.data(), static_cast<int>(Path.size()));
    std::vector<platform::TRgb> pixels;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.push_back(image.Pixel(x, y));
    return pixels;
}

std::vector<TPoint> Gathered(const std::vector<TPoint>& Path)
{
    TPolylineBuilder b;
    b.Start(Path.front());
    for (std::size_t i = 1; i < Path.size(); ++i)
        b.Add(Path[i]);
    EXPECT_EQ(b.End(), Path.back());
    return b.Finish();
}

std::vector<TPoint> Column(int X, std::initializer_list<int> Rows)
{
    std::vector<TPoint> p;
    for (int y : Rows)
        p.push_back({X, y});
    return p;
}

TEST(PolylineBuilder, ColumnRunsEndingOnEachKindOfRow)
{
    // Last row the highest, the lowest or between; passed before or only arrived at.
    const std::vector<std::vector<TPoint>> cases = {
        Column(10, {20, 30, 40}),         Column(10, {20, 40, 30, 40}), Column(10, {40, 30, 20}),
        Column(10, {30, 20, 40, 20}),     Column(10, {30, 20, 40, 25}), Column(10, {40, 20, 40}),
        Column(10, {20, 20, 20}),         Column(10, {20, 21}),         Column(10, {21, 20}),
        Column(10, {30, 30, 31, 31, 30}), Column(10, {25, 40, 10, 35, 10}),
    };
    for (const auto& path : cases) {
        const auto g = Gathered(path);
        EXPECT_LE(g.size(), 4u);
        for (int w : {1, 2, 3})
            EXPECT_EQ(Draw(g, w), Draw(path, w)) << "width " << w << ", " << path.size() << " points";
    }
}

TEST(PolylineBuilder, DenseRandomPathsLightTheSamePixels)
{
    std::mt19937 gen(11);
    std::uniform_int_distribution<int> row(2, 61);
    std::uniform_int_distribution<int> stay(0, 3);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<TPoint> path;
        int x = 3;
        for (int i = 0; i < 120 && x < 61; ++i) {
            path.push_back({x, row(gen)});
            if (stay(gen) == 0)
                ++x;
        }
        const auto g = Gathered(path);
        EXPECT_LT(g.size(), path.size());
        for (int w : {1, 2})
            ASSERT_EQ(Draw(g, w), Draw(path, w)) << "trial " << trial << ", width " << w;
    }
}

TEST(PolylineBuilder, PointsInOtherColumnsAreKept)
{
    const std::vector<TPoint> path{{1, 1}, {5, 9}, {9, 2}, {12, 30}};
    EXPECT_EQ(Gathered(path), path);
}

} // namespace
