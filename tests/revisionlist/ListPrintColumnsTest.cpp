#include "revisionlist/ListPrintColumns.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {
using Bands = std::vector<std::vector<int>>;

// The columns of the list's default set, in its order, and the record
// number's margin before them.
const std::vector<int> DefaultWidths{120, 80, 100, 300, 80, 100, 80, 100, 100, 100, 100, 100};
constexpr int Lead = 50;
} // namespace

TEST(ListPrintColumnsTest, ALineThatFitsOrScalesReadablyStaysOnOneSheet)
{
    // Room to spare, and exactly the width: as they are.
    for (const double printable : {600.0, 200.0}) {
        const ListColumnSheets sheets = LayListColumns({100, 50}, Lead, printable);
        EXPECT_EQ(sheets.scale, 1.0);
        EXPECT_EQ(sheets.bands, (Bands{{0, 1}}));
        EXPECT_EQ(sheets.widths, (std::vector<int>{100, 50}));
    }
    // Half as wide again as the paper: scaled to two thirds, widths kept.
    const ListColumnSheets scaled = LayListColumns({250, 150}, Lead, 300);
    EXPECT_DOUBLE_EQ(scaled.scale, 300.0 / 450);
    EXPECT_EQ(scaled.bands, (Bands{{0, 1}}));
    EXPECT_EQ(scaled.widths, (std::vector<int>{250, 150}));
    // No columns, or no paper: one sheet as it is.
    EXPECT_EQ(LayListColumns({}, Lead, 600).bands, Bands{{}});
    EXPECT_EQ(LayListColumns({100}, Lead, 0).scale, 1.0);
}

TEST(ListPrintColumnsTest, WideColumnsContinueOnSheetsThatRepeatTheFirst)
{
    // A4 portrait less 10 mm margins in thirds of a millimetre: the default
    // columns need 1410, at two thirds the sheet holds 855.
    const ListColumnSheets sheets = LayListColumns(DefaultWidths, Lead, 570);
    EXPECT_DOUBLE_EQ(sheets.scale, 2.0 / 3);
    EXPECT_EQ(sheets.widths, DefaultWidths);
    EXPECT_EQ(sheets.bands, (Bands{{0, 1, 2, 3, 4, 5}, {0, 6, 7, 8, 9, 10, 11}}));
    // Landscape: 1410 at two thirds is 940, more than 860 (1290 / 1.5).
    EXPECT_EQ(LayListColumns(DefaultWidths, Lead, 860).bands,
              (Bands{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 10, 11}}));

    // Every sheet starts with the first column, every other column is on
    // exactly one sheet in order, and each sheet fits at two thirds.
    for (const double printable : {100.0, 200.0, 333.0, 570.0, 900.0}) {
        const ListColumnSheets laid = LayListColumns(DefaultWidths, Lead, printable);
        std::vector<int> others;
        for (const std::vector<int>& band : laid.bands) {
            ASSERT_GE(band.size(), 2u) << printable;
            EXPECT_EQ(band.front(), 0);
            others.insert(others.end(), band.begin() + 1, band.end());
            int width = Lead;
            for (const int column : band)
                width += laid.widths[size_t(column)];
            EXPECT_LE(width * laid.scale, printable + 1e-9) << printable;
        }
        std::vector<int> expected(DefaultWidths.size() - 1);
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(others, expected) << printable;
    }

    // A column wider than a sheet is cut to what the sheet leaves beside the
    // margin and the first column, which itself takes at most half of it.
    const ListColumnSheets cut = LayListColumns({1000, 5000, 40}, Lead, 200);
    EXPECT_EQ(cut.widths, (std::vector<int>{125, 125, 40}));
    EXPECT_EQ(cut.bands, (Bands{{0, 1}, {0, 2}}));
    // A lone column too wide is cut to the sheet.
    EXPECT_EQ(LayListColumns({5000}, Lead, 200).widths, std::vector<int>{250});
}
