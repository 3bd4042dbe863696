#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
// Restores the C-locale formats after a test changes them.
struct FormatGuard
{
    ~FormatGuard() { UseCLocaleFormats(); }
};
} // namespace

TEST(FloatToStrGeneralTest, FixedAndScientificRanges)
{
    EXPECT_EQ(FloatToStrGeneral(12.5, 5, 0), "12.5");
    EXPECT_EQ(FloatToStrGeneral(12345, 5, 0), "12345");
    EXPECT_EQ(FloatToStrGeneral(123456, 5, 0), "1.2346E5");
    EXPECT_EQ(FloatToStrGeneral(99999.5, 5, 0), "1E5");
    EXPECT_EQ(FloatToStrGeneral(0.00001, 5, 0), "0.00001");
    EXPECT_EQ(FloatToStrGeneral(0.000009, 5, 0), "9E-6");
    EXPECT_EQ(FloatToStrGeneral(-0.5, 5, 0), "-0.5");
    EXPECT_EQ(FloatToStrGeneral(0, 5, 0), "0");
    EXPECT_EQ(FloatToStrGeneral(1e20, 15, 0), "1E20");
    EXPECT_EQ(FloatToStrGeneral(1.5e-7, 15, 2), "1.5E-07");
}

TEST(FloatToStrGeneralTest, RoundsHalfAwayFromZeroOnDecimalDigits)
{
    EXPECT_EQ(FloatToStrGeneral(0.125, 2, 0), "0.13");
    EXPECT_EQ(FloatToStrGeneral(-2.5, 1, 0), "-3");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(230.4), "230.4");
}

TEST(FloatToStrGeneralTest, NonFiniteValuesHaveTexts)
{
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FormatFloatTest, Patterns)
{
    EXPECT_EQ(FormatFloat("0.###", 1.23456), "1.235");
    EXPECT_EQ(FormatFloat("0.###", 2.0), "2");
    EXPECT_EQ(FormatFloat("0.###", 0.0004), "0");
    EXPECT_EQ(FormatFloat("0.###", -0.0004), "0");
    EXPECT_EQ(FormatFloat("0.0##", 2.0), "2.0");
    EXPECT_EQ(FormatFloat("0.0##", 2.34567), "2.346");
    EXPECT_EQ(FormatFloat("0.00", 0.005), "0.01");
    EXPECT_EQ(FormatFloat("0", 9.5), "10");
    EXPECT_EQ(FormatFloat("0.###E+0", 123456), "1.235E+5");
    EXPECT_EQ(FormatFloat("0.###E+0", 0.00012), "1.2E-4");
    EXPECT_EQ(FormatFloat("0.###E+0", 9.9996), "1E+1");
    EXPECT_EQ(FormatFloat("0.###E+0", 0), "0E+0");
    EXPECT_EQ(FormatFloat("0.0##", -1.5), "-1.5");
}

TEST(FormatFloatTest, IntegerAndFractionPadding)
{
    EXPECT_EQ(FormatFloat("000.00", 1.5), "001.50");
    EXPECT_EQ(FormatFloat("0", 120000), "120000");
    EXPECT_EQ(FormatFloat("#.##", 0.5), ".5");
    EXPECT_EQ(FormatFloat("0.000", 0.0625), "0.063");
    EXPECT_EQ(FormatFloat("00E+00", 0.05), "50E-03");
    EXPECT_EQ(FloatToStrGeneral(1200, 5, 0), "1200");
    EXPECT_EQ(FloatToStrGeneral(0.0625, 5, 0), "0.0625");
    EXPECT_EQ(FloatToStrGeneral(-1.25e9, 5, 3), "-1.25E009");
}

TEST(NumberTextTest, LocaleDecimalSeparatorIsUsedBothWays)
{
    FormatGuard guard;
    FormatSettings czech;
    czech.DecimalSeparator = u',';
    SetFormatSettings(czech);
    EXPECT_EQ(FloatToStrGeneral(12.5, 5, 0), "12,5");
    EXPECT_EQ(FormatFloat("0.0##", 0.25), "0,25");
    double v = 0;
    EXPECT_TRUE(TryStrToFloat(" 3,25 ", v));
    EXPECT_DOUBLE_EQ(v, 3.25);
    EXPECT_FALSE(TryStrToFloat("3.25", v));
}

TEST(NumberTextTest, ParsingRejectsJunkAndKeepsTheValue)
{
    double v = 7;
    EXPECT_FALSE(TryStrToFloat("", v));
    EXPECT_FALSE(TryStrToFloat("1.2.3", v));
    EXPECT_FALSE(TryStrToFloat("12abc", v));
    EXPECT_FALSE(TryStrToFloat("1e999", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(TryStrToFloat("-1.5E3", v));
    EXPECT_EQ(v, -1500);
    int i = 4;
    EXPECT_FALSE(TryStrToInt("4x", i));
    EXPECT_TRUE(TryStrToInt("$1F", i));
    EXPECT_EQ(i, 31);
}
