// Integer scaling as the classic platform rounds it.
#include "platform/Types.h"

#include <gtest/gtest.h>

#include <climits>

TEST(MulDiv, RoundsHalvesAwayFromZeroWithoutOverflow)
{
    struct {
        int Number, Numerator, Denominator, Expected;
    } const cases[] = {
        {8, 96, 72, 11},   {-11, 72, 96, -8}, {-13, 72, 96, -10}, {1, 1, 2, 1},
        {-1, 1, 2, -1},    {1, -1, 2, -1},     {3, 423, 100, 13},  {5, 1, 4, 1},
        {7, 1, 0, -1},     {INT_MAX, 4, 4, INT_MAX}, {100000, 100000, 100000, 100000},
        {INT_MAX, 2, 1, -1}, {INT_MIN, 1, -1, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::MulDiv(c.Number, c.Numerator, c.Denominator), c.Expected)
            << c.Number << " * " << c.Numerator << " / " << c.Denominator;
}
