// Number texts of axis labels and legend values: the "#,##0.###" pattern and its relatives.
#include "chart/TeeFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const TNumberSeparators kCommaPoint{",", "."};
const TNumberSeparators kPointComma{".", ","};

struct TCase {
    double Value;
    const char* Text;
};

TEST(FormatFloat, LabelPatternWithCommaAndPoint)
{
    const TCase cases[] = {
        {1234.5, "1,234.5"},
        {65535, "65,535"},
        {60000, "60,000"},
        {0.25, "0.25"},
        {2, "2"},
        {0, "0"},
        {-0.0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {-1234.5678, "-1,234.568"},
        {1234567.891, "1,234,567.891"},
        {-100000, "-100,000"},
        {0.0005, "0.001"},      // half away from zero
        {-0.0005, "-0.001"},
        {0.00049, "0"},
        {-0.0004, "0"},         // rounds to zero: no minus sign
        {1e-12, "0"},
        {999.9996, "1,000"},    // carry through every digit
        {0.1 + 0.2, "0.3"},     // binary noise below 15 digits is not shown
        {1.0005, "1.001"},      // 1.000499999... as a double, 1.0005 in 15 digits
        {2.675, "2.675"},
        {1e20, "100,000,000,000,000,000,000"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FormatFloat(DefaultValueFormat, c.Value, kCommaPoint), c.Text) << c.Value;
}

TEST(FormatFloat, SeparatorsComeFromTheCaller)
{
    EXPECT_EQ(FormatFloat(DefaultValueFormat, 65535, kPointComma), "65.535");
    EXPECT_EQ(FormatFloat(DefaultValueFormat, 1234.5, kPointComma), "1.234,5");
    const TNumberSeparators narrowSpace{"\u202F", ","};
    EXPECT_EQ(FormatFloat(DefaultValueFormat, 1234567.25, narrowSpace), "1\u202F234\u202F567,25");
}

TEST(FormatFloat, OtherPatterns)
{
    EXPECT_EQ(FormatFloat("0.00", 2, kCommaPoint), "2.00");
    EXPECT_EQ(FormatFloat("0.00", 2.675, kCommaPoint), "2.68");
    EXPECT_EQ(FormatFloat("0.0#", 1.5, kCommaPoint), "1.5");
    EXPECT_EQ(FormatFloat("0.0#", 1, kCommaPoint), "1.0");
    EXPECT_EQ(FormatFloat("000", 7, kCommaPoint), "007");
    EXPECT_EQ(FormatFloat("#", 0, kCommaPoint), "");
    EXPECT_EQ(FormatFloat("0", 2.5, kCommaPoint), "3");
    EXPECT_EQ(FormatFloat("0", 1234567, kCommaPoint), "1234567");
    EXPECT_EQ(FormatFloat("##0.## %", 12.345, kCommaPoint), "12.35 %");
    EXPECT_EQ(FormatFloat("'$'#,##0", -1500, kCommaPoint), "-$1,500");
    EXPECT_EQ(FormatFloat("0.###", 0.1234, kPointComma), "0,123");
}

TEST(FormatFloat, NonFiniteValuesHaveNames)
{
    EXPECT_EQ(FormatFloat(DefaultValueFormat, std::numeric_limits<double>::quiet_NaN(), kCommaPoint), "NAN");
    EXPECT_EQ(FormatFloat(DefaultValueFormat, INFINITY, kCommaPoint), "INF");
    EXPECT_EQ(FormatFloat(DefaultValueFormat, -INFINITY, kCommaPoint), "-INF");
}

TEST(FormatFloat, LocaleSeparatorsAreReadOnceAndNeverEmpty)
{
    const TNumberSeparators& a = LocaleSeparators();
    EXPECT_EQ(&a, &LocaleSeparators());
    EXPECT_FALSE(a.Thousand.empty());
    EXPECT_FALSE(a.Decimal.empty());
    EXPECT_NE(a.Thousand, a.Decimal);
    EXPECT_EQ(FormatFloat(DefaultValueFormat, 65535), "65" + a.Thousand + "535");
}

} // namespace
