#include "documents/GroupObject.h"
#include "documents/LabelObject.h"
#include "documents/PageObject.h"
#include "documents/TextObject.h"

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::unique_ptr<LabelObject> Label(TRect r)
{
    auto l = std::make_unique<LabelObject>();
    l->SetRect(r.Left, r.Top, r.Right, r.Bottom);
    return l;
}

struct Number
{
    QString text;
    int32_t x;
    int32_t y;
};

void ExpectNumbers(const RecordingCanvas& canvas, const std::vector<Number>& expected)
{
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].x, expected[i].x);
        EXPECT_EQ(texts[i].y, expected[i].y);
        EXPECT_EQ(texts[i].font, (FontSpec{14, 0, 400, false, "Arial"}));
    }
}

// Red corner handles mark a selected object.
int Handles(const RecordingCanvas& canvas)
{
    int n = 0;
    for (const CanvasCall& call : canvas.Rectangles())
        n += call.brushColor == clRed && call.rect.Width() == 10 && call.rect.Height() == 10;
    return n;
}

// A page of a label, a group of two labels (one in a nested group) and a label.
class NumberedPage : public ::testing::Test
{
protected:
    NumberedPage() : page(nullptr)
    {
        first = page.AddObject(Label({10, 20, 110, 120}));
        auto group = std::make_unique<GroupObject>(nullptr);
        group->AddObject(Label({200, 210, 250, 260}));
        auto inner = std::make_unique<GroupObject>(nullptr);
        inner->AddObject(Label({300, 310, 350, 360}));
        group->AddObject(std::move(inner));
        second = page.AddObject(std::move(group));
        third = page.AddObject(Label({500, 600, 700, 800}));
    }

    PageObject page;
    AbstractFormObject* first;
    AbstractFormObject* second;
    AbstractFormObject* third;
};

} // namespace

TEST(LabelObject, IsABorderlessRectangleThatRoundTrips)
{
    LabelObject label;
    EXPECT_EQ(label.GetTypeCode(), FourCC("labl"));
    EXPECT_EQ(label.GetLeftBorder() | label.GetTopBorder() | label.GetRightBorder() | label.GetBottomBorder(), 0);
    label.SetRect(40, 50, 640, 350);
    label.SetBackColor(0x00FFEEDD);

    // The record and XML are the base object's.
    AbstractFormObject base;
    base.SetRect(40, 50, 640, 350);
    base.SetBackColor(0x00FFEEDD);
    base.SetLeftBorder(0);
    base.SetTopBorder(0);
    base.SetRightBorder(0);
    base.SetBottomBorder(0);
    const QByteArray bytes = SavedRecord(label);
    EXPECT_EQ(bytes, SavedRecord(base));
    EXPECT_EQ(WrittenXml(label), WrittenXml(base));

    LabelObject read;
    read.SetLeftBorder(3);
    ReadBuffer in(bytes);
    ASSERT_TRUE(read.Load(in));
    EXPECT_EQ(read.GetRect(), (TRect{40, 50, 640, 350}));
    EXPECT_EQ(read.GetLeftBorder(), 0);

    const auto clone = label.Clone();
    ASSERT_TRUE(dynamic_cast<LabelObject*>(clone.get()));
    EXPECT_EQ(SavedRecord(*clone), bytes);

    // Drawn as the base draws: its back colour and no border bars.
    RecordingCanvas canvas;
    label.Draw(canvas, DrawContext{});
    ASSERT_EQ(canvas.calls.size(), 1);
    EXPECT_EQ(canvas.calls[0].rect, (TRect{40, 50, 640, 350}));
    EXPECT_EQ(canvas.calls[0].brushColor, 0x00FFEEDD);
}

TEST_F(NumberedPage, FieldNumbersStandAtTopLeftCornersAndNestUnderGroups)
{
    RecordingCanvas canvas;
    page.DrawWithSelection(canvas, [](const AbstractFormObject*) { return false; }, true);
    // A group's children are numbered while it draws, before its own number.
    ExpectNumbers(canvas, {{"1", 10, 20},
                           {"2:1", 200, 210},
                           {"2:2:1", 300, 310},
                           {"2:2", 300, 310},
                           {"2", 200, 210},
                           {"3", 500, 600}});
    EXPECT_EQ(Handles(canvas), 0);
}

TEST_F(NumberedPage, SelectedChildrenGetHandlesAndNumbersCanBeHidden)
{
    RecordingCanvas canvas;
    const std::set<const AbstractFormObject*> selection = {second, third};
    page.DrawWithSelection(canvas, [&](const AbstractFormObject* o) { return selection.count(o) > 0; }, false);
    EXPECT_TRUE(canvas.Texts().isEmpty());
    EXPECT_EQ(Handles(canvas), 8);
    // The group's handles sit on the corners of its union.
    const auto rects = canvas.Rectangles();
    EXPECT_TRUE(std::any_of(rects.begin(), rects.end(), [](const CanvasCall& c) {
        return c.brushColor == clRed && c.rect == TRect{340, 350, 350, 360};
    }));
    // The canvas is left in the field-number font either way.
    EXPECT_EQ(canvas.GetFont(), (FontSpec{14, 0, 400, false, "Arial"}));
}

TEST_F(NumberedPage, PlainDrawingShowsNoNumbers)
{
    RecordingCanvas numbered;
    page.DrawWithSelection(numbered, [](const AbstractFormObject*) { return false; }, true);
    RecordingCanvas canvas;
    // A prefix handed in from outside does not reach the page's groups.
    page.Draw(canvas, DrawContext{QStringLiteral("9")});
    EXPECT_TRUE(canvas.Texts().isEmpty());
    EXPECT_EQ(canvas.Rectangles().size(), 4);

    // With no selection at all, the same as Draw.
    RecordingCanvas unselected;
    page.DrawWithSelection(unselected, {}, true);
    EXPECT_TRUE(unselected.Texts().isEmpty());
    EXPECT_EQ(unselected.Rectangles().size(), 4);
}

TEST(GroupDrawing, ChildrenAreDrawnInOrderAndLabelledOnlyUnderAPrefix)
{
    GroupObject group(nullptr);
    auto text = std::make_unique<TextObject>();
    text->SetRect(0, 0, 100, 50);
    text->SetText(QStringLiteral("T"));
    group.AddObject(std::move(text));
    group.AddObject(Label({5, 60, 40, 90}));

    RecordingCanvas plain;
    group.Draw(plain, DrawContext{});
    ASSERT_EQ(plain.Texts().size(), 1);
    EXPECT_EQ(plain.Texts()[0].text, QStringLiteral("T"));
    // The label is drawn last, over the text field.
    EXPECT_EQ(plain.calls.last().rect, (TRect{5, 60, 40, 90}));

    RecordingCanvas labelled;
    group.Draw(labelled, DrawContext{QStringLiteral("7")});
    ASSERT_EQ(labelled.Texts().size(), 3);
    EXPECT_EQ(labelled.Texts()[1].text, QStringLiteral("7:1"));
    EXPECT_EQ(labelled.Texts()[2].text, QStringLiteral("7:2"));
    EXPECT_EQ(labelled.Texts()[2].y, 60);
}
