// Copy, cut and paste of fields through the system clipboard: the block's
// bytes, pasting into the same and into another document, and blocks that
// come damaged from outside.

#include "designer/FieldClipboard.h"
#include "designer/QuillfenDesignerForm.h"
#include "documents/GlobalTextObject.h"
#include "documents/TextObject.h"

#include "common/FieldRecords.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

struct Designer : QuillfenDesignerForm
{
    Designer() : QuillfenDesignerForm({}, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight) {}
    PageObject& Page() { return *GetCurrentPage(); }
    AbstractFormObject* Add(TRect r, const QString& text = {})
    {
        auto field = std::make_unique<TextObject>();
        field->SetRect(r.Left, r.Top, r.Right, r.Bottom);
        field->SetText(text);
        return AddObject(std::move(field));
    }
};

QByteArray TextChild(TRect r, const QByteArray& text = {})
{
    return Le32(ObjectCode::Text) + BaseRecord(r.Left, r.Top, r.Right, r.Bottom) + TextRecordTail(text);
}

} // namespace

TEST(FieldClipboard, CopiesExactlyTheGroupRecordOfTheSelection)
{
    QGuiApplication::clipboard()->clear();
    Designer d;
    d.CopySelection();
    EXPECT_EQ(FieldsOnClipboard(), Bytes({1, 0, 0, 0, 0}));
    d.Paste();
    EXPECT_EQ(d.Page().GetCount(), 0);

    d.GetSelection().AddObject(d.Add({10, 10, 410, 150}));
    d.CopySelection();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QStringLiteral("application/x-quillfen2-fields")));
    EXPECT_EQ(data->data(QStringLiteral("application/x-quillfen2-fields")),
              Bytes({1}) + Le32(1) + TextChild({10, 10, 410, 150}));
}

TEST(FieldClipboard, PastesCopiesOnTopSelectedAndGroupsStayGroups)
{
    Designer d;
    AbstractFormObject* a = d.Add({0, 0, 100, 100}, "a");
    AbstractFormObject* b = d.Add({100, 0, 200, 100}, "b");
    AbstractFormObject* c = d.Add({200, 0, 300, 100}, "c");

    // One field: one new field at the same place, selected alone; twice.
    d.GetSelection().AddObject(b);
    d.CopySelection();
    d.SetModified(false);
    d.Paste();
    d.Paste();
    ASSERT_EQ(d.Page().GetCount(), 5);
    EXPECT_TRUE(d.IsModified());
    EXPECT_EQ(d.GetSelection().Objects(), (std::vector<AbstractFormObject*>{d.Page().GetObject(4)}));
    EXPECT_EQ(SavedRecord(*d.Page().GetObject(3)), SavedRecord(*b));
    EXPECT_EQ(SavedRecord(*d.Page().GetObject(4)), SavedRecord(*b));

    // Three fields in selection order, all selected, on top of the page.
    d.GetSelection().Clear();
    for (AbstractFormObject* o : {c, a, b})
        d.GetSelection().AddObject(o);
    d.CopySelection();
    d.Paste();
    ASSERT_EQ(d.Page().GetCount(), 8);
    EXPECT_EQ(d.GetSelection().GetCount(), 3);
    EXPECT_EQ(d.Page().GetObject(5)->GetText(), "c");
    EXPECT_EQ(d.Page().GetObject(7)->GetText(), "b");
    EXPECT_TRUE(d.GetSelection().Contains(d.Page().GetObject(5)));

    // A group arrives as one group.
    d.GroupSelection();
    d.CopySelection();
    d.Paste();
    EXPECT_EQ(d.GetSelection().GetCount(), 1);
    const AbstractFormObject* pasted = d.GetSelection().GetObject(0);
    EXPECT_TRUE(pasted->IsGroup());
    EXPECT_EQ(static_cast<const GroupObject*>(pasted)->GetCount(), 3);
}

TEST(FieldClipboard, CutFieldsArriveInAnotherDocumentWithItsGlobalTexts)
{
    Designer source;
    source.GetGlobalTexts()->SetText(3, QStringLiteral("source text"));
    auto global = std::make_unique<GlobalTextObject>(source.GetGlobalTexts());
    global->SetRect(50, 60, 150, 160);
    global->SetGID(3);
    source.GetSelection().AddObject(source.AddObject(std::move(global)));
    source.GetSelection().AddObject(source.Add({300, 300, 400, 400}, "plain"));
    source.CopySelection();
    source.DeleteSelection();
    EXPECT_EQ(source.Page().GetCount(), 0);

    Designer target;
    target.GetGlobalTexts()->SetText(3, QStringLiteral("target text"));
    target.Paste();
    ASSERT_EQ(target.Page().GetCount(), 2);
    EXPECT_EQ(target.Page().GetObject(0)->GetRect(), (TRect{50, 60, 150, 160}));
    EXPECT_EQ(target.Page().GetObject(0)->GetText(), "target text");
    EXPECT_EQ(target.Page().GetObject(1)->GetText(), "plain");
}

TEST(FieldClipboard, DamagedBlocksPasteNothing)
{
    GlobalTextStorage store;
    const QByteArray good = Bytes({1}) + Le32(2) + TextChild({0, 0, 10, 10}, "x") + TextChild({0, 0, 20, 20}, "y");
    ASSERT_NE(UnpackFields(good, &store), nullptr);
    // Every cut of the block, a count beyond its bytes, an unknown kind, a
    // negative text length and bytes left over.
    for (qsizetype n = 0; n < good.size(); ++n)
        EXPECT_EQ(UnpackFields(good.left(n), &store), nullptr) << n;
    EXPECT_EQ(UnpackFields(Bytes({1}) + Le32(INT32_MAX) + TextChild({0, 0, 10, 10}), &store), nullptr);
    EXPECT_EQ(UnpackFields(Bytes({1}) + Le32(1) + Le32(FourCC("zzzz")) + QByteArray(40, '\0'), &store), nullptr);
    EXPECT_EQ(UnpackFields(Bytes({1}) + Le32(1) + Le32(ObjectCode::Page) + Bytes({1}) + Le32(0), &store), nullptr);
    QByteArray negative = Bytes({1}) + Le32(1) + TextChild({0, 0, 10, 10});
    negative.replace(4 + 4 + AbstractFormObject::BaseRecordSize + 1, 4, Le32(-5));
    EXPECT_EQ(UnpackFields(negative, &store), nullptr);
    EXPECT_EQ(UnpackFields(good + "!", &store), nullptr);

    // Through the clipboard: nothing is added, and so is a foreign format.
    Designer d;
    PutFieldsOnClipboard(good.left(good.size() - 1));
    d.Paste();
    QGuiApplication::clipboard()->setText(QStringLiteral("not ours"));
    d.Paste();
    EXPECT_EQ(d.Page().GetCount(), 0);
    EXPECT_FALSE(d.IsModified());
}
