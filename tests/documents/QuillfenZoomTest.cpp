#include "documents/QuillfenZoom.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Zoom, ClampsAndResizesThePanel)
{
    std::vector<std::pair<int32_t, int32_t>> sizes;
    QuillfenZoom zoom(100, [&](int32_t w, int32_t h) { sizes.emplace_back(w, h); }, 2100, 2970);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes.back(), std::make_pair(840, 1188));

    zoom.SetZoom(10);
    EXPECT_EQ(zoom.GetZoom(), 20);
    zoom.SetZoom(300);
    EXPECT_EQ(zoom.GetZoom(), 250);
    EXPECT_EQ(sizes.back(), std::make_pair(2100, 2970));

    zoom.SetPageSize(2970, 2100); // the panel follows at the next SetZoom
    EXPECT_EQ(sizes.size(), 3u);
    zoom.SetZoom(zoom.GetZoom());
    EXPECT_EQ(sizes.back(), std::make_pair(2970, 2100));
}

TEST(Zoom, ConversionsTruncateTowardZero)
{
    QuillfenZoom zoom(100, nullptr, 2100, 2970);
    EXPECT_EQ(zoom.ScreenToModel(840), 2100);
    EXPECT_EQ(zoom.ScreenToModel(1), 2);
    EXPECT_EQ(zoom.ScreenToModel(-1), -2);
    zoom.SetZoom(30);
    EXPECT_EQ(zoom.ModelToScreen(7), 0);
    EXPECT_EQ(zoom.ModelToScreen(-7), 0);
    EXPECT_EQ(zoom.ModelToScreen(9), 1);
    // Values far beyond any page saturate instead of wrapping.
    zoom.SetZoom(20);
    EXPECT_EQ(zoom.ScreenToModel(INT32_MAX), INT32_MAX);
    EXPECT_EQ(zoom.ScreenToModel(INT32_MIN), INT32_MIN);
}
