// The arithmetic of the axes, rule by rule, against tables.
#include "chart/TeeAxisMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <random>

using namespace axismath;

namespace {

TEST(AxisRound, HalvesGoToTheEvenNeighbour)
{
    const struct {
        double In;
        int Out;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {8.79, 9}, {1.3, 1}, {-2.7, -3},
                 {3e9, INT_MAX}, {-3e9, INT_MIN}, {std::nan(""), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Round(c.In), c.Out) << c.In;
}

TEST(NextIncrementStep, RunsThroughOneTwoFive)
{
    const struct {
        double In;
        double Out;
    } cases[] = {{1, 2},   {2, 5},     {5, 10},   {10, 20},   {20, 50}, {50, 100}, {3, 5},
                 {7, 10},  {0.3, 0.5}, {0.05, 0.1}, {1.9, 2}, {4.99, 5}, {9.99, 10}, {100, 200},
                 {1e6, 2e6}, {0.2, 0.5}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(NextIncrementStep(c.In), c.Out) << c.In;
    // Exact on the round values the label search produces.
    EXPECT_EQ(NextIncrementStep(20), 50.0);
    EXPECT_EQ(NextIncrementStep(0.3), 0.5);
    // Scaling 1e-12 up by tens lands just below 1, so the first step from the smallest
    // increment barely moves; the following ones run through 2, 5, 10 again.
    EXPECT_GT(NextIncrementStep(1e-12), 1e-12);
    EXPECT_DOUBLE_EQ(NextIncrementStep(NextIncrementStep(1e-12)), 2e-12);
}

TEST(NextIncrementStep, ValuesThatCannotStepAreReturned)
{
    EXPECT_EQ(NextIncrementStep(0), 0.0);
    EXPECT_EQ(NextIncrementStep(-3), -3.0);
    EXPECT_TRUE(std::isinf(NextIncrementStep(INFINITY)));
    EXPECT_TRUE(std::isnan(NextIncrementStep(std::nan(""))));
}

TEST(MaxLabelCount, FromLengthSizeAndSeparation)
{
    EXPECT_EQ(MaxLabelCount(123, 13, 10), 9);  // g = Round(1.3) = 1, Round(123 / 14)
    EXPECT_EQ(MaxLabelCount(123, 13, 0), 9);   // Round(9.46)
    EXPECT_EQ(MaxLabelCount(130, 13, 0), 10);
    EXPECT_EQ(MaxLabelCount(0, 13, 10), 0);    // before the first layout
    EXPECT_EQ(MaxLabelCount(335, 0, 10), 1);   // labels without size
    EXPECT_EQ(MaxLabelCount(21, 14, 50), 1);   // g = 7, Round(1.0)
    EXPECT_EQ(MaxLabelCount(30, 20, 0), 2);    // Round(1.5) to even
    EXPECT_EQ(MaxLabelCount(50, 20, 0), 2);    // Round(2.5) to even
    // A separation so large that the gap saturates still counts in room, not in overflow.
    EXPECT_EQ(MaxLabelCount(335, 110, INT_MAX), 0);
}

TEST(IncrementForLabels, SearchesTheSmallestStepThatFits)
{
    EXPECT_EQ(IncrementForLabels(1000, 9, 0, 10), 200.0);
    EXPECT_EQ(IncrementForLabels(10, 9, 3, 10), 3.0);     // 3 labels: kept
    EXPECT_EQ(IncrementForLabels(100, 9, 3, 10), 20.0);   // 3 -> 5 -> 10 -> 20
    EXPECT_EQ(IncrementForLabels(65535, 9, 0, 10), 10000.0);
    EXPECT_EQ(IncrementForLabels(99, 17, 0, 10), 10.0);   // Round(99 / 5) = 20 > 17
    EXPECT_DOUBLE_EQ(IncrementForLabels(0.5, 5, 0, 10), 0.1);
}

TEST(IncrementForLabels, Fallbacks)
{
    EXPECT_EQ(IncrementForLabels(1000, 0, 0, 10), 1e-12);  // no room
    EXPECT_EQ(IncrementForLabels(0, 9, 0, 10), 1e-12);     // zero range
    EXPECT_EQ(IncrementForLabels(1000, 9, 0, 0), 1.0);     // no search without separation
    EXPECT_EQ(IncrementForLabels(1000, 9, 3, 0), 3.0);
    EXPECT_EQ(IncrementForLabels(1000, 9, 1e-20, 0), 1e-12);
    EXPECT_EQ(IncrementForLabels(-50, 9, 0, 10), 1.0);     // inverted range: nothing to fit
    // A quotient beyond the integer guard steps on without a count.
    EXPECT_DOUBLE_EQ(IncrementForLabels(1e10, 9, 0, 10), 2e9);
}

TEST(IncrementForLabels, EndsOnInfiniteOrUndefinedRanges)
{
    EXPECT_TRUE(std::isinf(IncrementForLabels(INFINITY, 9, 0, 10)));
    EXPECT_TRUE(std::isinf(IncrementForLabels(std::nan(""), 9, 0, 10)));
}

TEST(LabelValues, ZeroToThousandStepTwoHundredFromTheTop)
{
    EXPECT_EQ(LabelValues(0, 1000, 200, true), (std::vector<double>{1000, 800, 600, 400, 200, 0}));
}

TEST(LabelValues, RoundFirstLabelChoosesTheStart)
{
    EXPECT_EQ(LabelValues(0, 10, 3, true), (std::vector<double>{9, 6, 3, 0}));
    EXPECT_EQ(LabelValues(0, 10, 3, false), (std::vector<double>{10, 7, 4, 1}));
    EXPECT_EQ(LabelValues(-7, 7, 5, true), (std::vector<double>{5, 0, -5}));
    // Truncation toward zero, then stepping below the maximum.
    EXPECT_EQ(LabelValues(-12, -1, 5, true), (std::vector<double>{-5, -10}));
}

TEST(LabelValues, TheLowerLimitForgivesRoundingNoise)
{
    // Ten steps of 0.1 down from 1 end a little above 0, below a minimum of 5e-13: labelled.
    const auto v = LabelValues(5e-13, 1, 0.1, false);
    ASSERT_EQ(v.size(), 11u);
    EXPECT_NEAR(v.back(), 0, 1e-15);
    EXPECT_EQ(LabelValues(2e-12, 1, 0.1, false).size(), 10u);
    // Trunc of 0.3 / 0.1 (2.9999999999999996) starts the labels at 0.2.
    EXPECT_DOUBLE_EQ(LabelValues(0, 0.3, 0.1, true).front(), 0.2);
}

TEST(LabelValues, NothingToLabel)
{
    EXPECT_TRUE(LabelValues(0, 10, 0, true).empty());
    EXPECT_TRUE(LabelValues(0, 10, -1, true).empty());
    EXPECT_TRUE(LabelValues(10, 0, 1, true).empty());
    EXPECT_TRUE(LabelValues(0, 10000, 1, true).empty());      // 10000 labels
    EXPECT_EQ(LabelValues(0, 9999, 1, true).size(), 10000u);  // 9999 steps
}

TEST(LabelValues, EqualLimitsGiveOneLabel)
{
    EXPECT_EQ(LabelValues(0, 0, 1e-12, true), (std::vector<double>{0}));
    EXPECT_EQ(LabelValues(65535, 65535, 1e-12, true), (std::vector<double>{65535}));
    EXPECT_EQ(LabelValues(100, 100, 1e-12, false), (std::vector<double>{100}));
}

TEST(LabelValues, StepsBelowTheValuesPrecisionEnd)
{
    const auto v = LabelValues(1e6, 1e6 + 1e-9, 1e-12, false);
    EXPECT_FALSE(v.empty());
    EXPECT_LT(v.size(), 10000u);
}

TAxisScale Vertical(double Min, double Max, int Start, int End)
{
    TAxisScale s;
    s.SetValues(Min, Max);
    s.SetPixels(Start, End);
    s.SetHorizontal(false);
    return s;
}

TEST(AxisScale, BothEndsOfBothKinds)
{
    TAxisScale left = Vertical(0, 65535, 6, 136);
    EXPECT_EQ(left.ValueToPixel(0), 136);
    EXPECT_EQ(left.ValueToPixel(65535), 6);
    EXPECT_EQ(left.PixelToValue(136), 0);
    EXPECT_EQ(left.PixelToValue(6), 65535);

    TAxisScale bottom = Vertical(0, 99, 47, 382);
    bottom.SetHorizontal(true);
    EXPECT_EQ(bottom.ValueToPixel(0), 47);
    EXPECT_EQ(bottom.ValueToPixel(99), 382);
    EXPECT_EQ(bottom.PixelToValue(47), 0);
    EXPECT_EQ(bottom.PixelToValue(382), 99);
    EXPECT_EQ(bottom.ValueToPixel(1), 47 + Round(335.0 / 99)); // 3.38 -> 3

    bottom.SetInverted(true);
    EXPECT_EQ(bottom.ValueToPixel(0), 382);
    EXPECT_EQ(bottom.ValueToPixel(99), 47);
    EXPECT_EQ(bottom.PixelToValue(382), 0);
    left.SetInverted(true);
    EXPECT_EQ(left.ValueToPixel(0), 6);
    EXPECT_EQ(left.ValueToPixel(65535), 136);
}

TEST(AxisScale, HalfPixelsRoundToEven)
{
    TAxisScale s = Vertical(0, 4, 0, 10);
    s.SetHorizontal(true);
    EXPECT_EQ(s.ValueToPixel(1), 2);  // 2.5
    EXPECT_EQ(s.ValueToPixel(3), 8);  // 7.5
}

TEST(AxisScale, OffsetsNextToAHalfPixelRoundAsTheExtendedQuotient)
{
    TAxisScale s = Vertical(0, 1, 0, 1);
    s.SetHorizontal(true);
    EXPECT_EQ(s.ValueToPixel(0.5), 0);
    EXPECT_EQ(s.ValueToPixel(0.5 + 1e-12), 1);
    EXPECT_EQ(s.ValueToPixel(0.5 - 1e-12), 0);
    EXPECT_EQ(s.ValueToPixel(1.5), 2);
    EXPECT_EQ(s.ValueToPixel(2.5), 2);
    EXPECT_EQ(s.ValueToPixel(-2.5), -2);
}

TEST(AxisScale, AgreesWithTheExtendedFormulaEverywhere)
{
    std::mt19937_64 gen(5);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 200000; ++i) {
        const double min = (unit(gen) - 0.5) * std::pow(10, int(unit(gen) * 12) - 4);
        const double wished = std::pow(10, int(unit(gen) * 12) - 6) * (0.5 + unit(gen));
        const int length = 1 + int(unit(gen) * 2000);
        TAxisScale s = Vertical(min, min + wished, 100, 100 + length);
        s.SetHorizontal(true);
        const double range = s.Range(); // the range the scale keeps: (min + wished) - min
        // Values on a grid of the range, where exact halves are frequent, and arbitrary ones.
        const double v = i % 2 ? min + range * int(unit(gen) * 64) / 64 : min + range * (unit(gen) * 3 - 1);
        const double t = static_cast<double>((static_cast<long double>(v) - min) * length / range);
        const int expected = std::fabs(t) < 2147483647.0 ? 100 + int(std::nearbyint(t)) : s.CenterPixel();
        ASSERT_EQ(s.ValueToPixel(v), expected) << v << " " << min << " " << range << " " << length;
    }
}

TEST(AxisScale, ZeroRangeAndOverflowGoToTheCentre)
{
    TAxisScale s = Vertical(5, 5, 6, 136);
    EXPECT_EQ(s.ValueToPixel(5), 71);
    EXPECT_EQ(s.ValueToPixel(1e300), 71);

    s = Vertical(0, 1, 6, 136);
    EXPECT_EQ(s.ValueToPixel(1e8), 71); // an offset of 1.3e10 pixels
    EXPECT_EQ(s.ValueToPixel(2147483647.0 / 130 + 1), 71);
    EXPECT_EQ(s.ValueToPixel(-1e12), 71);
    EXPECT_EQ(s.ValueToPixel(std::nan("")), 71);
    EXPECT_EQ(s.ValueToPixel(16519104), 136 - 2147483520); // just inside: no wrap-around
}

TEST(AxisScale, FarOffsetsSaturateInsteadOfWrapping)
{
    TAxisScale s = Vertical(0, 1, 1000, 2000);
    s.SetHorizontal(true);
    EXPECT_EQ(s.ValueToPixel(2147483.0), INT_MAX); // 1000 + 2147483000 overflows an int
}

TEST(AxisScale, PixelToValueWithoutLengthIsZero)
{
    TAxisScale s = Vertical(3, 9, 50, 50);
    EXPECT_EQ(s.PixelToValue(50), 0);
    s.SetPixels(50, 40);
    EXPECT_EQ(s.PixelToValue(45), 0);
}

TEST(AxisPixelSpan, PercentOfThePlottingRectangle)
{
    EXPECT_EQ(AxisPixelSpan(47, 335, 0, 100).Start, 47);
    EXPECT_EQ(AxisPixelSpan(47, 335, 0, 100).End, 382);
    EXPECT_EQ(AxisPixelSpan(0, 423, 50, 100).Start, 212); // 211.5 to even
    // 0.01 is stored a little above a hundredth: 212.5000000000000044 rounds up.
    EXPECT_EQ(AxisPixelSpan(0, 425, 50, 100).Start, 213);
    EXPECT_EQ(AxisPixelSpan(10, 100, 25, 75).End, 85);
}

TEST(MinorTicks, ThreeBetweenEachPairAndBeyondBothEnds)
{
    // Bottom axis labels recorded right to left, 40 pixels apart.
    const std::vector<int> major{380, 340, 300};
    EXPECT_EQ(MinorTickPositions(major, 3, 260, 420),
              (std::vector<int>{390, 290, 400, 280, 410, 270, 350, 360, 370, 310, 320, 330}));
    // Kept only strictly inside the axis.
    EXPECT_EQ(MinorTickPositions(major, 3, 290, 382), (std::vector<int>{350, 360, 370, 310, 320, 330}));
}

TEST(MinorTicks, RoundingOfEachPlace)
{
    // Step -2.5 per minor tick: -2.5, -5, -7.5 round to -2, -5, -8 (halves to even).
    EXPECT_EQ(MinorTickPositions({20, 10}, 3, 0, 100), (std::vector<int>{22, 8, 25, 5, 28, 2, 12, 15, 18}));
    EXPECT_TRUE(MinorTickPositions({50}, 3, 0, 100).empty());
    EXPECT_TRUE(MinorTickPositions({}, 3, 0, 100).empty());
    EXPECT_TRUE(MinorTickPositions({20, 10}, 0, 0, 100).empty());
}

TEST(CenteredGrid, HalfwayBetweenMajors)
{
    EXPECT_EQ(CenteredGridPositions({136, 110, 85}), (std::vector<int>{123, 98}));  // 97.5 -> 98
    EXPECT_TRUE(CenteredGridPositions({10}).empty());
}

} // namespace
