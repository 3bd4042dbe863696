#include <gtest/gtest.h>

#include "documents/Interleaved25.h"

#include <QString>

#include <climits>

namespace {

// The published narrow/wide patterns, for reading a layout back.
const char* const Patterns[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                  "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

char WidthLetter(int modules)
{
    return modules == 1 ? 'n' : modules == 2 ? 'w' : '?';
}

int DigitOfPattern(const std::string& p)
{
    for (int d = 0; d < 10; ++d)
        if (p == Patterns[d])
            return d;
    return -1;
}

// Reads a layout drawn at one unit per module back into its digits, checking
// the start and stop patterns on the way.
QString Decode(const std::vector<BarcodeBar>& bars, int modules)
{
    QString digits;
    if (bars.size() < 4 || (bars.size() - 4) % 5 != 0)
        return QStringLiteral("bad bar count");
    if (bars[0] != BarcodeBar{0, 1} || bars[1] != BarcodeBar{2, 3})
        return QStringLiteral("bad start");
    const size_t n = bars.size();
    if (bars[n - 2] != BarcodeBar{modules - 4, modules - 2} || bars[n - 1] != BarcodeBar{modules - 1, modules})
        return QStringLiteral("bad stop");
    for (size_t first = 2; first + 5 <= n - 2; first += 5) {
        std::string barPattern, spacePattern;
        for (size_t k = 0; k < 5; ++k) {
            const BarcodeBar& bar = bars[first + k];
            const int nextLeft = bars[first + k + 1].left;
            barPattern += WidthLetter(bar.right - bar.left);
            spacePattern += WidthLetter(nextLeft - bar.right);
        }
        const int a = DigitOfPattern(barPattern);
        const int b = DigitOfPattern(spacePattern);
        if (a < 0 || b < 0)
            return QStringLiteral("bad pattern %1/%2").arg(barPattern.c_str(), spacePattern.c_str());
        digits += QChar(u'0' + a);
        digits += QChar(u'0' + b);
    }
    return digits;
}

} // namespace

TEST(Interleaved25Test, ModuleCountsAndEmptyCode)
{
    EXPECT_EQ(Interleaved25Modules(8), 64);
    EXPECT_EQ(Interleaved25Modules(0), 8);
    EXPECT_EQ(Interleaved25Modules(30), 218);

    // Only start and stop, spread over eight modules of 10 units.
    const std::vector<BarcodeBar> expected = {{0, 10}, {20, 30}, {40, 60}, {70, 80}};
    EXPECT_EQ(Interleaved25Bars(u"", 0, 80), expected);
}

TEST(Interleaved25Test, EveryDigitPairReadsBack)
{
    for (int a = 0; a < 10; ++a) {
        for (int b = 0; b < 10; ++b) {
            const QString digits = QStringLiteral("%1%2").arg(a).arg(b);
            const int modules = Interleaved25Modules(2);
            EXPECT_EQ(Decode(Interleaved25Bars(digits, 0, modules), modules), digits);
        }
    }
    const QString longCode = QStringLiteral("012345678901234567890123456789");
    const int modules = Interleaved25Modules(30);
    EXPECT_EQ(Decode(Interleaved25Bars(longCode, 0, modules), modules), longCode);
}

TEST(Interleaved25Test, EdgesAreTruncatedFromTheTruncatedPairOrigin)
{
    // 100 units over 64 modules: 1.5625 per module. The first pair starts at
    // 5 + 6.25 = 11.25, taken as 11; its third bar (module 5 of digit 1's
    // pattern wnnnw) starts at 11 + 7.8125, so at 18, not at trunc(19.0625).
    const std::vector<BarcodeBar> bars = Interleaved25Bars(u"10000000", 5, 105);
    ASSERT_EQ(bars.size(), 24u);
    EXPECT_EQ(bars[0], (BarcodeBar{5, 6}));
    EXPECT_EQ(bars[1], (BarcodeBar{8, 9}));
    EXPECT_EQ(bars[2], (BarcodeBar{11, 14}));  // wide: 11 + 3.125
    EXPECT_EQ(bars[3], (BarcodeBar{15, 17}));  // 11 + 4.6875, 11 + 6.25
    EXPECT_EQ(bars[4], (BarcodeBar{18, 20}));
    EXPECT_EQ(bars[22], (BarcodeBar{98, 101})); // stop: 5 + 93.75, 5 + 96.875
    EXPECT_EQ(bars[23], (BarcodeBar{103, 105}));
}

TEST(Interleaved25Test, EdgesTruncateTheExactProductOfTheSinglePrecisionWidth)
{
    // 50 units over 22 modules: the single-precision width 2.27272725 lies a
    // little under 50 / 22, so the stop ends at 49.9999995, truncated to 49.
    // Rounding the product to single precision first would give 50.
    const std::vector<BarcodeBar> expected = {{0, 2},   {4, 6},   {9, 11},  {13, 15}, {18, 22},
                                              {27, 31}, {36, 38}, {40, 45}, {47, 49}};
    EXPECT_EQ(Interleaved25Bars(u"00", 0, 50), expected);
}

TEST(Interleaved25Test, AreaSpanningTheWholeIntegerRangeDoesNotOverflow)
{
    const std::vector<BarcodeBar> bars = Interleaved25Bars(u"12", INT_MIN, INT_MAX);
    ASSERT_EQ(bars.size(), 9u);
    EXPECT_EQ(bars.front().left, INT_MIN);
    for (const BarcodeBar& bar : bars)
        EXPECT_LE(bar.left, bar.right);
}

TEST(Interleaved25Test, OddAndForeignCharactersDoNotBreakTheLayout)
{
    // A text loaded from a damaged record may hold anything.
    const int modules = Interleaved25Modules(2);
    EXPECT_EQ(Decode(Interleaved25Bars(u"x7", 0, modules), modules), QStringLiteral("07"));
    EXPECT_EQ(Decode(Interleaved25Bars(u"123", 0, modules), modules), QStringLiteral("12"));
    // A bar area narrower than nothing (the text band wider than the field).
    EXPECT_EQ(Interleaved25Bars(u"12", 50, 10).size(), 9u);
}
