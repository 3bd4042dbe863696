// The designer document: placement of new fields, the press that picks the
// drag, group and ungroup, drawing order, conversions, text commands, opening
// documents of every kind and tables, checked on the records it saves.

#include "designer/QuillfenDesignerForm.h"
#include "documents/BarcodeObject.h"
#include "documents/MeasureObject.h"
#include "documents/PictureObject.h"
#include "documents/TextObject.h"

#include "common/FieldRecords.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

constexpr int32_t A4Width = 2100;
constexpr int32_t A4Height = 2975;

struct Designer : QuillfenDesignerForm
{
    Designer() : QuillfenDesignerForm({}, A4Width, A4Height) {}
    PageObject& Page() { return *GetCurrentPage(); }
    // At zoom 250 a pixel is a model unit.
    void Press(int32_t x, int32_t y, Qt::KeyboardModifiers modifiers = {})
    {
        MouseDown(x, y, modifiers, Qt::LeftButton);
    }
    void Drag(int32_t x, int32_t y) { MouseMove(x, y, Qt::LeftButton); }
    void Release(int32_t x, int32_t y) { MouseUp(x, y, Qt::LeftButton); }
};

TextObject* AddText(Designer& d, TRect r, const QString& text = {})
{
    auto field = std::make_unique<TextObject>();
    field->SetRect(r.Left, r.Top, r.Right, r.Bottom);
    field->SetText(text);
    return static_cast<TextObject*>(d.AddObject(std::move(field)));
}

std::vector<TRect> Rects(const GroupObject& group)
{
    std::vector<TRect> rects;
    for (int i = 0; i < group.GetCount(); ++i)
        rects.push_back(group.GetObject(i)->GetRect());
    return rects;
}

std::vector<AbstractFormObject*> Children(const GroupObject& group)
{
    std::vector<AbstractFormObject*> children;
    for (int i = 0; i < group.GetCount(); ++i)
        children.push_back(group.GetObject(i));
    return children;
}

} // namespace

TEST(QuillfenDesignerForm, NewFieldsGoRightThenOnANewRowAndStayOnThePage)
{
    Designer d;
    d.GetZoom().SetZoom(QuillfenZoom::MaxZoom);
    for (int i = 0; i < 6; ++i)
        d.PlaceObject(std::make_unique<TextObject>());
    EXPECT_EQ(Rects(d.Page()), (std::vector<TRect>{{10, 10, 410, 150}, {410, 10, 810, 150}, {810, 10, 1210, 150},
                                                   {1210, 10, 1610, 150}, {1610, 10, 2010, 150}, {10, 150, 410, 290}}));
    EXPECT_TRUE(d.IsModified());

    Designer bottom;
    AddText(bottom, {1500, 2900, 1900, 2960});
    bottom.PlaceObject(std::make_unique<TextObject>());
    EXPECT_EQ(bottom.Page().GetObject(1)->GetRect(), (TRect{10, 2915, 410, 2975}));

    // The new field carries its class defaults into the record.
    Designer one;
    one.PlaceObject(std::make_unique<TextObject>());
    EXPECT_EQ(SavedRecord(*one.Page().GetObject(0)), BaseRecord(10, 10, 410, 150) + TextRecordTail(""));
}

TEST(QuillfenDesignerForm, PressChoosesTheDrag)
{
    Designer d;
    d.GetZoom().SetZoom(QuillfenZoom::MaxZoom);
    TextObject* a = AddText(d, {100, 100, 300, 200});
    TextObject* b = AddText(d, {400, 160, 600, 260});
    d.SetModified(false);

    // Ctrl: a rubber band even over an object; nothing changes.
    d.Press(150, 150, Qt::ControlModifier);
    EXPECT_NE(dynamic_cast<const MouseActionSelect*>(d.GetAction()), nullptr);
    d.Drag(700, 300);
    d.Release(700, 300);
    EXPECT_EQ(d.GetSelection().Objects(), (std::vector<AbstractFormObject*>{b}));
    EXPECT_FALSE(d.IsModified());

    // Shift adds, and the following drag moves nothing.
    d.Press(150, 150, Qt::ShiftModifier);
    d.Drag(250, 250);
    d.Release(250, 250);
    EXPECT_EQ(d.GetSelection().Objects(), (std::vector<AbstractFormObject*>{b, a}));
    EXPECT_EQ(a->GetRect(), (TRect{100, 100, 300, 200}));

    // A press on one of several selected objects drags them all.
    d.Press(150, 150);
    d.Drag(160, 170);
    d.Release(160, 170);
    EXPECT_EQ(a->GetRect(), (TRect{110, 120, 310, 220}));
    EXPECT_EQ(b->GetRect(), (TRect{410, 180, 610, 280}));
    EXPECT_TRUE(d.IsModified());

    // A press on an unselected object selects only it.
    TextObject* c = AddText(d, {100, 500, 300, 600});
    d.Press(150, 550);
    d.Release(150, 550);
    EXPECT_EQ(d.GetSelection().Objects(), (std::vector<AbstractFormObject*>{c}));

    // 5 units inside a corner resizes that object; the selection stays.
    d.Press(605, 275);
    EXPECT_EQ(d.GetAction()->GetTarget(), b);
    d.Drag(700, 300);
    d.Release(700, 300);
    EXPECT_EQ(b->GetRect(), (TRect{410, 180, 700, 300}));
    EXPECT_EQ(d.GetSelection().Objects(), (std::vector<AbstractFormObject*>{c}));

    // Another button starts nothing.
    d.MouseDown(150, 150, {}, Qt::RightButton);
    EXPECT_EQ(d.GetAction(), nullptr);
}

TEST(QuillfenDesignerForm, StructuralEditsEndARunningDrag)
{
    Designer d;
    d.GetZoom().SetZoom(QuillfenZoom::MaxZoom);
    TextObject* a = AddText(d, {100, 100, 300, 200});
    AddText(d, {400, 100, 600, 200});
    for (auto edit : {&QuillfenDesignerForm::DeleteSelection, &QuillfenDesignerForm::UngroupSelection,
                      &QuillfenDesignerForm::BringToFront, &QuillfenDesignerForm::InsertPage}) {
        d.SelectPage(0);
        d.Press(105, 195); // resize of the first field...
        ASSERT_NE(d.GetAction(), nullptr);
        (d.*edit)();       // ...which the edit may destroy
        EXPECT_EQ(d.GetAction(), nullptr);
        d.Release(900, 900);
    }
    // The resize of a deleted field was never applied to anything.
    EXPECT_EQ(d.GetPage(0)->GetCount(), 2);
    EXPECT_EQ(d.GetPage(0)->GetObject(0)->GetRect().Right, 300);
    (void)a;
}

TEST(QuillfenDesignerForm, GroupUngroupAndDrawingOrder)
{
    Designer d;
    TextObject* a = AddText(d, {0, 0, 100, 100}, "A");
    TextObject* b = AddText(d, {100, 0, 200, 100}, "B");
    TextObject* c = AddText(d, {200, 0, 300, 100}, "C");
    TextObject* e = AddText(d, {300, 0, 400, 100}, "D");

    // To front with C and A selected (C first): B, D, C, A; to back: C, A, B, D.
    d.GetSelection().AddObject(c);
    d.GetSelection().AddObject(a);
    d.BringToFront();
    EXPECT_EQ(Children(d.Page()), (std::vector<AbstractFormObject*>{b, e, c, a}));
    d.SendToBack();
    EXPECT_EQ(Children(d.Page()), (std::vector<AbstractFormObject*>{c, a, b, e}));

    // One object does not group.
    d.GetSelection().Clear();
    d.GetSelection().AddObject(b);
    d.GroupSelection();
    EXPECT_EQ(d.Page().GetCount(), 4);

    // Two groups, one nested in the other, in selection order.
    d.GetSelection().AddObject(a);
    d.GroupSelection(); // [B, A] on top
    auto* inner = d.GetSelection().GetObject(0);
    d.GetSelection().AddObject(e);
    d.GroupSelection(); // [[B, A], D]
    auto* outer = static_cast<GroupObject*>(d.GetSelection().GetObject(0));
    ASSERT_EQ(d.Page().GetCount(), 2);
    EXPECT_EQ(Children(*outer), (std::vector<AbstractFormObject*>{inner, e}));
    const QByteArray text = Le32(ObjectCode::Text);
    const auto field = [&](TRect r, const QByteArray& t) { return text + BaseRecord(r.Left, r.Top, r.Right, r.Bottom) + TextRecordTail(t); };
    const QByteArray group = Le32(ObjectCode::Group);
    EXPECT_EQ(SavedRecord(d.Page()),
              Bytes({1}) + Le32(2) + field({200, 0, 300, 100}, "C") + group + Bytes({1}) + Le32(2) + group
                  + Bytes({1}) + Le32(2) + field({100, 0, 200, 100}, "B") + field({0, 0, 100, 100}, "A")
                  + field({300, 0, 400, 100}, "D"));

    // Ungrouping a selection of the outer group and C dissolves only the
    // outer group; its inner group stays a group. The selection ends empty.
    d.GetSelection().Clear();
    d.GetSelection().AddObject(outer);
    d.GetSelection().AddObject(c);
    d.UngroupSelection();
    EXPECT_EQ(Children(d.Page()), (std::vector<AbstractFormObject*>{c, inner, e}));
    EXPECT_EQ(d.GetSelection().GetCount(), 0);

    // Ungrouping two selected groups dissolves both.
    d.GetSelection().AddObject(c);
    d.GetSelection().AddObject(e);
    d.GroupSelection();
    d.GetSelection().AddObject(inner);
    d.UngroupSelection();
    EXPECT_EQ(d.Page().GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(d.Page().GetObject(i)->IsGroup());
}

TEST(QuillfenDesignerForm, ConversionKeepsPlaceStyleAndTextByTheNewKindsRules)
{
    Designer d;
    TextObject* text = AddText(d, {100, 100, 500, 200}, "A12B3");
    text->SetTopBorder(5);
    text->SetForeColor(0x0000FF);
    text->SetBackColor(0x00FF00);
    text->SetSize(55);
    text->SetAlign(7);
    auto picture = std::make_unique<PictureObject>();
    picture->SetRect(600, 100, 700, 200);
    AbstractFormObject* pictureField = d.AddObject(std::move(picture));
    const QByteArray pictureBefore = SavedRecord(*pictureField);
    d.SetModified(false);

    d.GetSelection().AddObject(text);
    d.GetSelection().AddObject(pictureField);
    d.ConvertSelection(1);
    const auto* barcode = dynamic_cast<const BarcodeObject*>(d.Page().GetObject(0));
    ASSERT_NE(barcode, nullptr);
    EXPECT_EQ(barcode->GetText(), "1230");
    EXPECT_EQ(barcode->GetRect(), (TRect{100, 100, 500, 200}));
    EXPECT_EQ(barcode->GetTopBorder(), 5);
    EXPECT_EQ(barcode->GetLeftBorder(), 1);
    EXPECT_EQ(barcode->GetStoredForeColor(), 0x0000FF);
    EXPECT_EQ(barcode->GetStoredBackColor(), 0x00FF00);
    EXPECT_EQ(barcode->GetSize(), 55);
    EXPECT_EQ(barcode->GetAlign(), 7);
    EXPECT_EQ(SavedRecord(*d.Page().GetObject(1)), pictureBefore);
    EXPECT_EQ(d.GetSelection().GetCount(), 0);
    EXPECT_TRUE(d.IsModified());

    // Codes outside 1..6 convert nothing but still end the selection.
    d.GetSelection().AddObject(d.Page().GetObject(0));
    d.ConvertSelection(7);
    EXPECT_NE(dynamic_cast<const BarcodeObject*>(d.Page().GetObject(0)), nullptr);
    EXPECT_EQ(d.GetSelection().GetCount(), 0);

    d.GetSelection().AddObject(d.Page().GetObject(0));
    d.ConvertSelection(6);
    EXPECT_NE(dynamic_cast<const MeasureObject*>(d.Page().GetObject(0)), nullptr);
}

TEST(QuillfenDesignerForm, TextCommandsMarkTheDocumentModified)
{
    Designer d;
    TextObject* fixed = AddText(d, {0, 0, 100, 100}, "fixed");
    TextObject* filled = AddText(d, {100, 0, 200, 100}, "filled");
    filled->SetType(TextObject::EditableText);
    d.InsertPage();
    TextObject* other = AddText(d, {0, 0, 100, 100}, "other page");
    other->SetType(3);

    d.SetModified(false);
    d.DeleteEditableText();
    EXPECT_TRUE(d.IsModified());
    EXPECT_EQ(fixed->GetText(), "fixed");
    EXPECT_EQ(filled->GetText(), "");
    EXPECT_EQ(other->GetText(), "");

    d.SelectPage(0);
    d.GetSelection().AddObject(fixed);
    d.SetModified(false);
    d.DeleteSelectedText();
    EXPECT_TRUE(d.IsModified());
    EXPECT_EQ(fixed->GetText(), "");
}

TEST(QuillfenDesignerForm, DoubleClickEditsOnlyATextField)
{
    Designer d;
    EXPECT_EQ(d.TextFieldToEdit(50, 50), nullptr); // nothing selected

    auto picture = std::make_unique<PictureObject>();
    picture->SetRect(0, 0, 100, 100);
    d.GetSelection().AddObject(d.AddObject(std::move(picture)));
    EXPECT_EQ(d.TextFieldToEdit(50, 50), nullptr);

    d.GetSelection().Clear();
    TextObject* a = AddText(d, {200, 0, 300, 100});
    TextObject* b = AddText(d, {300, 0, 400, 100});
    d.GetSelection().AddObject(a);
    d.GetSelection().AddObject(b);
    d.GroupSelection();
    EXPECT_EQ(d.TextFieldToEdit(350, 50), b);
    EXPECT_EQ(d.TextFieldToEdit(50, 50), nullptr); // inside no field of the group
}

TEST(QuillfenDesignerForm, PagesInsertAfterTheCurrentOneAndClearTheSelection)
{
    Designer d;
    AddText(d, {0, 0, 10, 10}, "first");
    d.InsertPage();
    AddText(d, {0, 0, 10, 10}, "third");
    d.SelectPage(0);
    d.GetSelection().AddObject(d.Page().GetObject(0));
    d.InsertPage();
    EXPECT_EQ(d.GetCurrentPageIndex(), 1);
    EXPECT_EQ(d.GetSelection().GetCount(), 0);
    EXPECT_EQ(d.GetPage(2)->GetObject(0)->GetText(), "third");
    d.DeletePage();
    EXPECT_EQ(d.GetPageCount(), 2);
}

TEST(QuillfenDesignerForm, TablesHaveOuterAndInnerBorders)
{
    Designer d;
    d.AddTable({2, 3, 250, 100, 3, 1, FieldKind::Text});
    ASSERT_EQ(d.Page().GetCount(), 1);
    auto* table = static_cast<GroupObject*>(d.Page().GetObject(0));
    EXPECT_EQ(d.GetSelection().Objects(), (std::vector<AbstractFormObject*>{table}));
    ASSERT_EQ(table->GetCount(), 6);
    const auto borders = [](const AbstractFormObject* o) {
        return std::array{o->GetLeftBorder(), o->GetTopBorder(), o->GetRightBorder(), o->GetBottomBorder()};
    };
    EXPECT_EQ(borders(table->GetObject(0)), (std::array{3, 3, 1, 1}));
    EXPECT_EQ(borders(table->GetObject(1)), (std::array{1, 3, 1, 1}));
    EXPECT_EQ(borders(table->GetObject(5)), (std::array{1, 1, 3, 3}));
    EXPECT_EQ(table->GetObject(5)->GetRect(), (TRect{500, 100, 750, 200}));

    Designer single;
    single.AddTable({1, 1, 100, 100, 4, 1, FieldKind::Barcode});
    const auto* cell = static_cast<GroupObject*>(single.Page().GetObject(0))->GetObject(0);
    EXPECT_EQ(cell->GetTypeCode(), ObjectCode::Barcode);
    EXPECT_EQ(borders(cell), (std::array{4, 4, 4, 4}));
}

TEST(QuillfenDesignerForm, OpeningTellsTemplatesFromDocumentsThatMustNotBeOverwritten)
{
    QTemporaryDir dir;
    const auto write = [&](const char* name, int32_t type, bool withForm) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        Designer source;
        AddText(source, {10, 20, 30, 40}, QString::fromLatin1(name));
        FileWriter writer(path, type);
        if (withForm)
            source.WriteSection(writer);
        writer.BeginSection(Tag::Data);
        EXPECT_TRUE(writer.Commit());
        return path;
    };
    Designer d;
    EXPECT_EQ(d.OpenFile(write("template", Tag::Temp, true)), QuillfenDesignerForm::OpenResult::Template);
    EXPECT_EQ(d.Page().GetObject(0)->GetText(), "template");
    EXPECT_EQ(d.OpenFile(write("form", Tag::Form, true)), QuillfenDesignerForm::OpenResult::OtherDocument);
    EXPECT_EQ(d.OpenFile(write("bar", Tag::Bar, true)), QuillfenDesignerForm::OpenResult::OtherDocument);
    EXPECT_EQ(d.Page().GetObject(0)->GetText(), "bar");
    EXPECT_EQ(d.OpenFile(write("data", Tag::Data, false)), QuillfenDesignerForm::OpenResult::NoPages);
    EXPECT_EQ(d.Page().GetObject(0)->GetText(), "bar");
    EXPECT_EQ(d.OpenFile(dir.filePath("missing")), QuillfenDesignerForm::OpenResult::CannotOpen);

    // A cut file loads nothing and leaves the document as it was, its
    // modified state included; so does a file of foreign bytes.
    const QString cut = write("cut", Tag::Temp, true);
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 8);
    file.close();
    d.SetModified(true);
    EXPECT_EQ(d.OpenFile(cut), QuillfenDesignerForm::OpenResult::NotLoaded);
    EXPECT_EQ(d.Page().GetObject(0)->GetText(), "bar");
    EXPECT_TRUE(d.IsModified());
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write("PK\x03\x04 not ours");
    file.close();
    EXPECT_EQ(d.OpenFile(cut), QuillfenDesignerForm::OpenResult::NotQuillfen);
    EXPECT_EQ(d.Page().GetObject(0)->GetText(), "bar");
    EXPECT_TRUE(d.IsModified());
    EXPECT_EQ(d.GetZoom().GetZoom(), QuillfenZoom::DefaultZoom);

    // Saving writes a template that opens as one.
    QString error;
    ASSERT_TRUE(d.SaveFile(dir.filePath("saved.qfs"), error));
    EXPECT_FALSE(d.IsModified());
    EXPECT_EQ(d.OpenFile(dir.filePath("saved.qfs")), QuillfenDesignerForm::OpenResult::Template);
    EXPECT_FALSE(d.SaveFile(dir.filePath("no/such/dir/x.qfs"), error));
}
