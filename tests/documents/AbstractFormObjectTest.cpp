#include "documents/AbstractFormObject.h"

#include "common/RecordBytes.h"
#include "common/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

AbstractFormObject Object(int32_t l, int32_t t, int32_t r, int32_t b)
{
    AbstractFormObject o;
    o.SetRect(l, t, r, b);
    return o;
}

} // namespace

TEST(FormObjectGeometry, SetRectNormalisesCornersAndKeepsTheSizeOnThePage)
{
    EXPECT_EQ(Object(50, 80, 10, 20).GetRect(), (TRect{10, 20, 50, 80}));
    EXPECT_EQ(Object(-5, 0, 20, 10).GetRect(), (TRect{0, 0, 25, 10}));
    EXPECT_EQ(Object(0, 30, 10, -10).GetRect(), (TRect{0, 0, 10, 40}));
    // Far off the page: the width cannot be kept beyond the int32 range.
    EXPECT_EQ(Object(INT32_MIN, 0, INT32_MAX, 1).GetRect(), (TRect{0, 0, INT32_MAX, 1}));
}

TEST(FormObjectGeometry, MovesAndSizesKeepTheOtherDimension)
{
    AbstractFormObject o = Object(100, 200, 150, 260);
    o.MoveRight(30); // narrower than the object: pinned to the left edge
    EXPECT_EQ(o.GetRect(), (TRect{0, 200, 50, 260}));
    o.MoveRight(500);
    EXPECT_EQ(o.GetRect(), (TRect{450, 200, 500, 260}));
    o.MoveBottom(700);
    EXPECT_EQ(o.GetRect(), (TRect{450, 640, 500, 700}));
    o.MoveLeft(10);
    o.MoveTop(20);
    EXPECT_EQ(o.GetRect(), (TRect{10, 20, 60, 80}));
    o.SetWidth(5);
    o.SetHeight(7);
    EXPECT_EQ(o.GetRect(), (TRect{10, 20, 15, 27}));
    // The right edge passes the left one: the corners swap, then the
    // rectangle is pushed back onto the page with its width.
    o.SetWidth(-15);
    EXPECT_EQ(o.GetRect(), (TRect{0, 20, 15, 27}));
}

TEST(FormObjectGeometry, HitCornerMeasuresInwardAndTestsRightBottomFirst)
{
    const AbstractFormObject o = Object(0, 0, 100, 100);
    EXPECT_EQ(o.HitCorner(91, 91), 4);
    EXPECT_EQ(o.HitCorner(90, 90), 0);
    EXPECT_EQ(o.HitCorner(9, 95), 3);
    EXPECT_EQ(o.HitCorner(5, 5), 1);
    EXPECT_EQ(o.HitCorner(95, 9), 2);
    EXPECT_EQ(o.HitCorner(50, 50), 0);
    // A tiny object is near every corner: right-bottom wins.
    EXPECT_EQ(Object(0, 0, 5, 5).HitCorner(2, 2), 4);
}

TEST(FormObjectRecord, NewObjectWritesThe29DefaultBytes)
{
    const QByteArray expected = Bytes({1}) + Le32(0) + Le32(0) + Le32(0) + Le32(0) + Bytes({1, 1, 1, 1})
                                + Le32(0) + Le32(0x00FFFFFF);
    const QByteArray written = Written([](QIODevice& s) { AbstractFormObject().Save(s); });
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.size(), AbstractFormObject::BaseRecordSize);
}

TEST(FormObjectRecord, LoadKeepsEdgesAndNegativeBordersAsStored)
{
    const QByteArray record = Bytes({7}) + Le32(50) + Le32(80) + Le32(10) + Le32(20) + Bytes({0xFE, 0, 3, 0x7F})
                              + Le32(0x123456) + Le32(0x00ABCDEF) + Bytes({0x99});
    ReadBuffer in(record);
    AbstractFormObject o;
    ASSERT_TRUE(o.Load(in));
    EXPECT_EQ(in.pos(), 29); // the byte after the record is not touched
    EXPECT_EQ(o.GetRect(), (TRect{50, 80, 10, 20}));
    EXPECT_EQ(o.GetLeftBorder(), -2);
    EXPECT_EQ(o.GetTopBorder(), 0);
    EXPECT_EQ(o.GetBottomBorder(), 127);
    EXPECT_EQ(o.GetForeColor(), 0x123456);
    EXPECT_EQ(o.GetInnerRect(), (TRect{48, 80, 7, -107}));
    // Saved again, the record comes back byte for byte (the version is written as 1).
    QByteArray again = record.left(29);
    again[0] = 1;
    EXPECT_EQ(Written([&](QIODevice& s) { o.Save(s); }), again);
}

TEST(FormObjectRecord, TruncatedRecordIsDamageAndChangesNothing)
{
    ReadBuffer in(Bytes({1}) + Le32(5) + Le32(6));
    AbstractFormObject o = Object(1, 2, 3, 4);
    EXPECT_FALSE(o.Load(in));
    EXPECT_TRUE(IsStreamDamaged(in));
    EXPECT_EQ(o.GetRect(), (TRect{1, 2, 3, 4}));
}

TEST(FormObjectRecord, XmlGivesMillimetresThenColours)
{
    AbstractFormObject o = Object(105, 20, 300, 45);
    o.SetRightBorder(0);
    o.SetBackColor(0x0000FF);
    const QByteArray xml = Written([&](QIODevice& s) { o.WriteXml(s); });
    EXPECT_EQ(xml, QByteArray("<Left>10.5</Left>\n<Top>2</Top>\n<Right>30</Right>\n<Bottom>4.5</Bottom>\n"
                              "<LeftBorder>0.1</LeftBorder>\n<TopBorder>0.1</TopBorder>\n"
                              "<RightBorder>0</RightBorder>\n<BottomBorder>0.1</BottomBorder>\n"
                              "<ForeColor>0</ForeColor>\n<BackColor>255</BackColor>\n"));
}

TEST(FormObjectCopy, CopiesRectangleBordersAndColours)
{
    AbstractFormObject o = Object(10, 20, 30, 40);
    o.SetTopBorder(5);
    o.SetForeColor(0x112233);
    const auto clone = o.Clone();
    EXPECT_EQ(clone->GetRect(), o.GetRect());
    EXPECT_EQ(clone->GetTopBorder(), 5);
    EXPECT_EQ(clone->GetForeColor(), 0x112233);
    EXPECT_EQ(clone->GetTypeCode(), FourCC("base"));
    EXPECT_EQ(clone->GetExtraFlag(), 0);
    EXPECT_TRUE(clone->GetText().isNull());
}

TEST(FormObjectDrawing, FillsThenDrawsOnlyTheNonZeroBars)
{
    AbstractFormObject o = Object(10, 20, 110, 70);
    o.SetBackColor(0x00FF00);
    o.SetLeftBorder(3);
    o.SetTopBorder(0);
    o.SetRightBorder(2);
    RecordingCanvas canvas;
    o.Draw(canvas, {});
    const auto rects = canvas.Rectangles();
    ASSERT_EQ(rects.size(), 4);
    EXPECT_EQ(rects[0].rect, (TRect{10, 20, 110, 70}));
    EXPECT_EQ(rects[0].brushColor, 0x00FF00);
    EXPECT_EQ(rects[0].penColor, 0x00FF00);
    EXPECT_EQ(rects[1].rect, (TRect{10, 20, 13, 70}));
    EXPECT_EQ(rects[2].rect, (TRect{108, 20, 110, 70}));
    EXPECT_EQ(rects[3].rect, (TRect{10, 69, 110, 70}));
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(rects[i].brushColor, clBlack);
}

TEST(FormObjectDrawing, SelectedDrawsFourRedHandlesAndLeavesTheBrushWhite)
{
    AbstractFormObject o = Object(0, 0, 100, 50);
    RecordingCanvas canvas;
    o.DrawSelected(canvas, {});
    const auto rects = canvas.Rectangles();
    ASSERT_EQ(rects.size(), 9);
    const TRect handles[] = {{0, 0, 10, 10}, {90, 0, 100, 10}, {0, 40, 10, 50}, {90, 40, 100, 50}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rects[5 + i].rect, handles[i]);
        EXPECT_EQ(rects[5 + i].brushColor, clRed);
        EXPECT_EQ(rects[5 + i].penWidth, 0);
    }
    EXPECT_EQ(canvas.GetBrushColor(), clWhite);
}
