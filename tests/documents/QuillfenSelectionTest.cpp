#include "documents/GlobalTextObject.h"
#include "documents/MeasureObject.h"
#include "documents/PageObject.h"
#include "documents/PictureObject.h"
#include "documents/QuillfenSelection.h"
#include "instruments/InstrumentItem.h"

#include "common/FieldRecords.h"

#include <gtest/gtest.h>

namespace {

template <typename T, typename... Args>
T* Place(PageObject& page, TRect r, Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    object->SetRect(r.Left, r.Top, r.Right, r.Bottom);
    return static_cast<T*>(page.AddObject(std::move(object)));
}

class SelectionTest : public ::testing::Test
{
protected:
    GlobalTextStorage store;
    PageObject page{&store};
    QuillfenSelection selection;
};

TEST_F(SelectionTest, ListHoldsEachObjectOnceAndNeverReadsOutsideIt)
{
    auto* a = Place<TextObject>(page, {10, 10, 50, 50});
    auto* b = Place<PictureObject>(page, {60, 30, 90, 70});
    selection.AddObject(a);
    selection.AddObject(a);
    selection.AddObject(nullptr);
    EXPECT_EQ(selection.GetCount(), 1);
    selection.AddGroupObjects(page); // a stays first, b follows
    ASSERT_EQ(selection.GetCount(), 2);
    EXPECT_EQ(selection.GetObject(0), a);
    EXPECT_EQ(selection.GetObject(1), b);
    EXPECT_EQ(selection.GetObject(2), nullptr);
    EXPECT_EQ(selection.GetObject(-1), nullptr);

    {
        QuillfenSelection other;
        other.AddGroupObjects(page);
    } // destroying a selection destroys none of its objects
    selection.Clear();
    EXPECT_EQ(page.GetCount(), 2);
    EXPECT_EQ(selection.GetObject(0), nullptr);
    EXPECT_FALSE(selection.HasTextObject());
}

TEST_F(SelectionTest, GeometryMovesEveryObjectAndAnswersCommonValues)
{
    auto* a = Place<TextObject>(page, {10, 10, 50, 50});
    auto* b = Place<PictureObject>(page, {60, 30, 90, 70});
    EXPECT_FALSE(selection.ContainsPoint(20, 20)); // nothing selected
    selection.AddObject(a);
    selection.AddObject(b);

    EXPECT_EQ(selection.GetBounds(), (TRect{10, 10, 90, 70}));
    EXPECT_TRUE(selection.ContainsPoint(11, 69));
    EXPECT_FALSE(selection.ContainsPoint(10, 40)); // on the border
    EXPECT_FALSE(selection.ContainsPoint(50, 70));
    EXPECT_EQ(selection.GetHeight(), 40);
    EXPECT_EQ(selection.GetWidth(), QuillfenSelection::Mixed);
    EXPECT_EQ(selection.GetLeft(), QuillfenSelection::Mixed);

    selection.MoveTo(100, 200);
    EXPECT_EQ(a->GetRect(), (TRect{100, 200, 140, 240}));
    EXPECT_EQ(b->GetRect(), (TRect{150, 220, 180, 260}));

    selection.SetTop(5);
    EXPECT_EQ(selection.GetTop(), 5);
    EXPECT_EQ(b->GetRect(), (TRect{150, 5, 180, 45}));
    selection.SetWidth(70);
    EXPECT_EQ(a->GetRect(), (TRect{100, 5, 170, 45}));
    EXPECT_EQ(selection.GetWidth(), 70);
    // An object wider than the new right edge goes to 0 at its size.
    selection.SetRight(30);
    EXPECT_EQ(a->GetRect(), (TRect{0, 5, 70, 45}));
    EXPECT_EQ(selection.GetRight(), 70);

    selection.SetBottomBorder(4);
    EXPECT_EQ(selection.GetBottomBorder(), 4);
    b->SetBottomBorder(2);
    EXPECT_EQ(selection.GetBottomBorder(), QuillfenSelection::Mixed);
}

TEST_F(SelectionTest, MovingAGroupMovesItsChildren)
{
    auto group = std::make_unique<GroupObject>(&store);
    auto* child = static_cast<TextObject*>(group->AddObject(std::make_unique<TextObject>()));
    child->SetRect(200, 200, 300, 260);
    AbstractFormObject* placed = page.AddObject(std::move(group));
    selection.AddObject(placed);
    selection.MoveTo(20, 30);
    EXPECT_EQ(child->GetRect(), (TRect{20, 30, 120, 90}));
}

TEST_F(SelectionTest, TextPropertiesConcernOnlyTextKinds)
{
    auto* text = Place<TextObject>(page, {0, 0, 10, 10});
    auto* picture = Place<PictureObject>(page, {0, 0, 10, 10});
    auto* global = Place<GlobalTextObject>(page, {0, 0, 10, 10}, &store);
    auto* other = Place<PictureObject>(page, {0, 0, 10, 10});

    selection.AddObject(picture);
    selection.AddObject(other);
    EXPECT_EQ(selection.GetSize(), QuillfenSelection::Mixed); // no text object
    EXPECT_EQ(selection.GetFontName(), std::nullopt);
    EXPECT_EQ(selection.GetFirstTextObject(), nullptr);

    text->SetSize(55);
    selection.AddObject(text);
    EXPECT_EQ(selection.GetSize(), 55); // the pictures do not count
    EXPECT_EQ(selection.GetFirstTextObject(), text);

    selection.AddObject(global);
    text->SetFontName("Arial");
    global->SetFontName("arial");
    EXPECT_EQ(selection.GetFontName(), std::nullopt); // compared case-sensitively
    const QByteArray longName(40, 'F');
    selection.SetFontName(longName);
    EXPECT_EQ(selection.GetFontName(), longName.left(31));
    EXPECT_EQ(global->GetFontName(), longName.left(31));

    // Each kind keeps its own Type rule: a global text stays editable.
    selection.SetType(TextObject::FixedText);
    EXPECT_EQ(text->GetType(), TextObject::FixedText);
    EXPECT_EQ(global->GetType(), TextObject::EditableText);
    EXPECT_EQ(selection.GetType(), QuillfenSelection::Mixed);

    selection.SetAlign(7);
    selection.SetAlign(18); // not an alignment: ignored
    EXPECT_EQ(selection.GetAlign(), 7);
    selection.SetGID(12);
    EXPECT_EQ(selection.GetGID(), 12);
    EXPECT_TRUE(selection.HasGlobalTextObject());
    EXPECT_FALSE(selection.HasMeasureObject());
}

TEST_F(SelectionTest, ColoursComeFromTheFirstObjectsStoredSetting)
{
    EXPECT_EQ(selection.GetForeColor(), 0);
    auto* measure = Place<MeasureObject>(page, {0, 0, 10, 10});
    auto* text = Place<TextObject>(page, {0, 0, 10, 10});
    text->SetForeColor(clRed);
    // A value above the limit shows in the limit's colour, but the panel
    // edits the colour the field stores.
    MeasureLimit limit;
    limit.SetMaximum(1);
    limit.SetMaxType(MeasureLimit::ChangeTextColor);
    limit.SetMaxColor(0x00FF00);
    measure->SetLimit(&limit);
    const InstrumentItem item(5.0, 0, true, false);
    measure->SetValue(&item);
    ASSERT_EQ(measure->GetForeColor(), 0x00FF00);

    selection.AddObject(measure);
    selection.AddObject(text);
    EXPECT_EQ(selection.GetForeColor(), clBlack);
    selection.SetBackColor(0x123456);
    EXPECT_EQ(text->GetStoredBackColor(), 0x123456);
    EXPECT_EQ(selection.GetBackColor(), 0x123456);
}

TEST_F(SelectionTest, MeasurePropertiesAndSymbols)
{
    auto* first = Place<MeasureObject>(page, {0, 0, 10, 10});
    auto* second = Place<MeasureObject>(page, {0, 0, 10, 10});
    Place<PictureObject>(page, {0, 0, 10, 10});
    selection.AddGroupObjects(page);

    EXPECT_EQ(selection.GetLimit(), nullptr);
    MeasureLimit limit;
    limit.SetMinimum(-3);
    second->SetLimit(&limit);
    EXPECT_EQ(selection.GetLimit(), second->GetLimit());
    selection.SetLimit(&limit);
    ASSERT_NE(first->GetLimit(), nullptr);
    EXPECT_NE(first->GetLimit(), second->GetLimit()); // each its own copy
    EXPECT_EQ(first->GetLimit()->GetMinimum(), -3);
    selection.SetLimit(nullptr);
    EXPECT_EQ(second->GetLimit(), nullptr);

    selection.SetDecimalPosition(3);
    selection.SetDecimalPosition(9); // outside 0..5: ignored
    EXPECT_EQ(selection.GetDecimalPosition(), 3);
    first->SetFormat(1);
    EXPECT_EQ(selection.GetFormat(), QuillfenSelection::Mixed);

    first->AddSymbol(2);
    second->AddSymbol(40);
    selection.AddSymbol(5);
    const std::vector<bool> checks = selection.CheckSymbols(10); // 40 is not in the list
    EXPECT_EQ(checks, (std::vector<bool>{false, false, true, false, false, true, false, false, false, false}));
    selection.RemoveSymbol(5);
    EXPECT_FALSE(first->HasSymbol(5));
    EXPECT_TRUE(second->HasSymbol(40));
    EXPECT_TRUE(selection.CheckSymbols(0).empty());

    // A file may hold a negative code: it checks nothing, not an item before the list.
    MeasureObject source;
    source.AddSymbol(7);
    QByteArray record = SavedRecord(source);
    record.replace(record.lastIndexOf(Le32(7)), 4, Le32(-5));
    auto* loaded = Place<MeasureObject>(page, {0, 0, 10, 10});
    ASSERT_TRUE(LoadRecord(*loaded, record));
    ASSERT_EQ(loaded->GetSymbol(0), -5);
    selection.Clear();
    selection.AddObject(loaded);
    EXPECT_EQ(selection.CheckSymbols(3), (std::vector<bool>{false, false, false}));
}

} // namespace
