#include "documents/GlobalTextObject.h"
#include "documents/MouseAction.h"
#include "documents/PageObject.h"
#include "documents/QuillfenSelection.h"
#include "documents/QuillfenZoom.h"
#include "documents/TextObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Point
{
    int32_t x;
    int32_t y;
};

class MouseActionTest : public ::testing::Test
{
protected:
    TextObject* Add(TRect r)
    {
        auto text = std::make_unique<TextObject>();
        text->SetRect(r.Left, r.Top, r.Right, r.Bottom);
        return static_cast<TextObject*>(page.AddObject(std::move(text)));
    }

    // A drag as the designer feeds it: press, moves, bounds, release.
    void Drag(MouseAction& action, const TRect& dragged, const std::vector<Point>& path,
              TRect bounds = {0, 0, 2100, 2975})
    {
        action.MouseDown(path.front().x, path.front().y, dragged);
        for (size_t i = 1; i < path.size(); ++i)
            action.MouseMove(path[i].x, path[i].y);
        action.SetBounds(bounds.Right, bounds.Bottom);
        action.MouseUp(path.back().x, path.back().y);
    }

    GlobalTextStorage store;
    PageObject page{&store};
    QuillfenSelection selection;
    QuillfenZoom zoom{100, nullptr, 2100, 2975};
};

TEST_F(MouseActionTest, SnapRoundsUpToTheGrid)
{
    MouseActionNull none(&zoom); // grid 1
    EXPECT_EQ(none.Snap(-7), -7);
    MouseActionMoveSelection ten(&selection, 10, &zoom);
    for (auto [v, snapped] : std::vector<std::pair<int32_t, int32_t>>{{23, 30}, {30, 30}, {0, 0}, {-15, -10}, {-20, -20}})
        EXPECT_EQ(ten.Snap(v), snapped) << v;
    MouseActionMoveSelection off(&selection, 0, &zoom);
    EXPECT_EQ(off.Snap(23), 23);
}

TEST_F(MouseActionTest, MoveSnapsTheBoxCornerAndClampsAgainstThePage)
{
    TextObject* a = Add({1000, 100, 1100, 150});
    TextObject* b = Add({1150, 160, 1200, 200});
    selection.AddGroupObjects(page);
    const TRect box = selection.GetBounds();

    // The box's corner is 50 left of the press point; 1950 is on the grid.
    std::unique_ptr<MouseAction> move = std::make_unique<MouseActionMoveSelection>(&selection, 10, &zoom);
    move->MouseDown(1050, 103, box);
    move->MouseMove(1400, 103);
    EXPECT_EQ(move->GetRect(), (TRect{1350, 100, 1550, 200}));
    EXPECT_EQ(a->GetRect(), (TRect{1000, 100, 1100, 150})) << "nothing moves before the release";
    move->MouseMove(1996, 3);
    EXPECT_EQ(move->GetRect(), (TRect{1950, 0, 2150, 100}));
    move->MouseMove(2000, 101);
    EXPECT_EQ(move->GetRect(), (TRect{1950, 100, 2150, 200}));
    move->SetBounds(2100, 2975);
    move->MouseUp(0, 0);
    EXPECT_EQ(a->GetRect(), (TRect{1900, 100, 2000, 150}));
    EXPECT_EQ(b->GetRect(), (TRect{2050, 160, 2100, 200}));
    EXPECT_FALSE(move->GetFocusRect());

    // Past the left edge the action does not clamp: the box moves by the
    // same amount, and an object pushed off the page comes back to 0.
    MouseActionMoveSelection left(&selection, 1, &zoom);
    Drag(left, selection.GetBounds(), {{1950, 150}, {-20, 150}});
    EXPECT_EQ(a->GetRect(), (TRect{0, 100, 100, 150}));
    EXPECT_EQ(b->GetRect(), (TRect{80, 160, 130, 200}));
}

TEST_F(MouseActionTest, CornerResizesNormaliseOnRelease)
{
    TextObject* t = Add({100, 100, 300, 200});
    MouseActionLeftTopSize leftTop(t, 1, &zoom);
    Drag(leftTop, t->GetRect(), {{100, 100}, {400, 250}});
    EXPECT_EQ(t->GetRect(), (TRect{300, 200, 400, 250}));

    MouseActionRightBottomSize rightBottom(t, 10, &zoom);
    Drag(rightBottom, t->GetRect(), {{400, 250}, {437, 281}});
    EXPECT_EQ(t->GetRect(), (TRect{300, 200, 440, 290}));

    MouseActionLeftBottomSize leftBottom(t, 10, &zoom);
    Drag(leftBottom, t->GetRect(), {{300, 290}, {251, 301}});
    EXPECT_EQ(t->GetRect(), (TRect{260, 200, 440, 310}));

    // A corner beyond the page bound shifts the whole rectangle back.
    MouseActionRightTopSize rightTop(t, 10, &zoom);
    Drag(rightTop, t->GetRect(), {{440, 200}, {1210, 151}}, {0, 0, 1000, 1000});
    EXPECT_EQ(t->GetRect(), (TRect{50, 160, 1000, 310}));
}

TEST_F(MouseActionTest, RubberBandSelectsOnlyChildrenWhollyInside)
{
    TextObject* inside = Add({110, 110, 190, 190});
    Add({100, 150, 150, 180});               // touches the band's left edge
    Add({100, 100, 200, 200});               // exactly the band
    Add({150, 150, 250, 250});               // reaches out of it
    auto group = std::make_unique<GroupObject>(&store);
    auto* child = group->AddObject(std::make_unique<TextObject>());
    child->SetRect(120, 120, 130, 130);
    AbstractFormObject* grouped = page.AddObject(std::move(group));
    TextObject* stale = Add({900, 900, 950, 950});

    for (const std::vector<Point>& path : {std::vector<Point>{{100, 100}, {160, 170}, {200, 200}},
                                            std::vector<Point>{{200, 200}, {100, 100}}}) {
        selection.Clear();
        selection.AddObject(stale); // the band replaces the selection
        MouseActionSelect band(&page, &selection, &zoom);
        Drag(band, {}, path);
        ASSERT_EQ(selection.GetCount(), 2);
        EXPECT_EQ(selection.GetObject(0), inside);
        EXPECT_EQ(selection.GetObject(1), grouped); // the group, not its child
    }
}

TEST_F(MouseActionTest, FocusRectangleIsShownOnlyDuringTheDrag)
{
    MouseActionSelect band(&page, &selection, &zoom);
    EXPECT_FALSE(band.GetFocusRect());
    band.MouseDown(250, 250, {});
    band.MouseMove(0, 0);
    EXPECT_EQ(band.GetFocusRect(), (TRect{0, 0, 100, 100})); // zoom 100: 250 units are 100 pixels
    zoom.SetZoom(30);
    band.MouseMove(7, 9);
    EXPECT_EQ(band.GetFocusRect(), (TRect{0, 1, 30, 30}));
    band.MouseUp(7, 9);
    EXPECT_FALSE(band.GetFocusRect());

    TextObject* t = Add({10, 10, 50, 50});
    selection.AddObject(t);
    MouseActionNull none(&zoom);
    Drag(none, t->GetRect(), {{20, 20}, {300, 300}});
    EXPECT_FALSE(none.GetFocusRect());
    EXPECT_EQ(t->GetRect(), (TRect{10, 10, 50, 50}));
    EXPECT_EQ(selection.GetCount(), 1);
}

} // namespace
