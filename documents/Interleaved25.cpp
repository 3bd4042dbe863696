#include "documents/Interleaved25.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace {

// Narrow/wide patterns of the digits, one element per bit from bit 4 down.
constexpr std::array<uint8_t, 10> DigitPatterns = {
    0b00110, // 0 nnwwn
    0b10001, // 1 wnnnw
    0b01001, // 2 nwnnw
    0b11000, // 3 wwnnn
    0b00101, // 4 nnwnw
    0b10100, // 5 wnwnn
    0b01100, // 6 nwwnn
    0b00011, // 7 nnnww
    0b10010, // 8 wnnwn
    0b01010, // 9 nwnwn
};

// The pattern spread over the bar bits (9, 7, 5, 3, 1) or the space bits
// (8, 6, 4, 2, 0) of a pair word: bits 9 and 8 are the first bar and space.
constexpr uint16_t Spread(uint8_t pattern, int shift)
{
    uint16_t word = 0;
    for (int k = 0; k < 5; ++k)
        if (pattern & (0x10 >> k))
            word |= static_cast<uint16_t>(1u << (9 - 2 * k - shift));
    return word;
}

constexpr std::array<uint16_t, 10> MakeTable(int shift)
{
    std::array<uint16_t, 10> table{};
    for (int d = 0; d < 10; ++d)
        table[d] = Spread(DigitPatterns[d], shift);
    return table;
}

constexpr std::array<uint16_t, 10> BarBits = MakeTable(0);
constexpr std::array<uint16_t, 10> SpaceBits = MakeTable(1);

int DigitOf(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'0' && u <= u'9' ? u - u'0' : 0;
}

} // namespace

int Interleaved25Modules(int digitCount)
{
    return digitCount / 2 * 14 + 8;
}

std::vector<BarcodeBar> Interleaved25Bars(QStringView digits, int x0, int x1)
{
    const int pairs = static_cast<int>(digits.size() / 2);
    const int modules = Interleaved25Modules(pairs * 2);
    // The module width is a single-precision value; an edge is the exact sum
    // of the origin and that width times a module count (a float times a
    // small integer is exact in double precision), truncated toward zero.
    const float h = static_cast<float>(double(x1) - double(x0)) / static_cast<float>(modules);
    const auto edge = [h](double origin, int module) {
        return static_cast<int>(std::clamp(origin + double(h) * module, double(INT_MIN), double(INT_MAX)));
    };
    const double start = x0;

    std::vector<BarcodeBar> bars;
    bars.reserve(static_cast<size_t>(pairs) * 5 + 4);
    bars.push_back({edge(start, 0), edge(start, 1)});
    bars.push_back({edge(start, 2), edge(start, 3)});

    for (int i = 0; i < pairs; ++i) {
        const double origin = edge(start, 4 + 14 * i);
        unsigned word = BarBits[DigitOf(digits[2 * i])] | SpaceBits[DigitOf(digits[2 * i + 1])];
        int module = 0;
        for (int k = 0; k < 5; ++k) {
            const int barWidth = word & 0x200 ? 2 : 1;
            const int spaceWidth = word & 0x100 ? 2 : 1;
            bars.push_back({edge(origin, module), edge(origin, module + barWidth)});
            module += barWidth + spaceWidth;
            word <<= 2;
        }
    }

    bars.push_back({edge(start, modules - 4), edge(start, modules - 2)});
    bars.push_back({edge(start, modules - 1), edge(start, modules)});
    return bars;
}
