#include <gtest/gtest.h>

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"
#include "documents/BarcodeObject.h"

TEST(BarcodeObjectTest, NewBarcodeRecordAndXml)
{
    const BarcodeObject barcode;
    EXPECT_EQ(barcode.GetTypeCode(), FourCC("bar "));
    EXPECT_EQ(barcode.GetText(), QStringLiteral("00000000"));
    EXPECT_EQ(SavedRecord(barcode), BaseRecord() + TextRecordTail("00000000"));
    EXPECT_EQ(WrittenXml(barcode), DefaultBaseXml() + "<String>00000000</String>\n<Align>4</Align>\n"
                                                      "<Font>Arial</Font>\n<Size>40</Size>\n<Type>0</Type>\n");
}

TEST(BarcodeObjectTest, RecordRoundTripKeepsWhatWasStored)
{
    // A record as another build stored it: Type 7 and odd, non-digit text are
    // kept as read, so saving gives back the same bytes.
    const QByteArray record = BaseRecord(10, 20, 510, 220, 2, 0x123456, 0xABCDEF)
                              + TextRecordTail("12a", 2, "Courier New", 35, 7);
    BarcodeObject barcode;
    qint64 left = -1;
    ASSERT_TRUE(LoadRecord(barcode, record + "next", &left));
    EXPECT_EQ(left, 4);
    EXPECT_EQ(barcode.GetType(), 7);
    EXPECT_EQ(barcode.GetText(), QStringLiteral("12a"));
    EXPECT_EQ(SavedRecord(barcode), record);

    const auto clone = barcode.Clone();
    EXPECT_EQ(clone->GetTypeCode(), FourCC("bar "));
    EXPECT_EQ(SavedRecord(*clone), record);
}

TEST(BarcodeObjectTest, SetTextKeepsAnEvenNumberOfDigits)
{
    BarcodeObject barcode;
    barcode.SetText(QStringLiteral("12-34x5"));
    EXPECT_EQ(barcode.GetText(), QStringLiteral("123450"));

    barcode.SetText(QString(40, u'7').replace(0, 1, u'1'));
    EXPECT_EQ(barcode.GetText(), QStringLiteral("1") + QString(29, u'7'));

    // Only the first 30 characters count, digits or not.
    barcode.SetText(QString(29, u'-') + QStringLiteral("12"));
    EXPECT_EQ(barcode.GetText(), QStringLiteral("10"));

    barcode.SetText(QString());
    EXPECT_EQ(barcode.GetText(), QString(""));
    EXPECT_FALSE(barcode.GetText().isNull());

    barcode.SetText(QStringLiteral("12") + QChar(0) + QStringLiteral("34"));
    EXPECT_EQ(barcode.GetText(), QStringLiteral("12"));
}

TEST(BarcodeObjectTest, TypeIsPlainOrFilled)
{
    BarcodeObject barcode;
    barcode.SetType(5);
    EXPECT_EQ(barcode.GetType(), 1);
    EXPECT_TRUE(barcode.IsFillable());
    barcode.SetType(-1);
    EXPECT_EQ(barcode.GetType(), 1);
    barcode.SetType(0);
    EXPECT_EQ(barcode.GetType(), 0);
    EXPECT_FALSE(barcode.IsFillable());
}

TEST(BarcodeObjectTest, TextBandFollowsTheAlignment)
{
    BarcodeObject barcode;
    barcode.SetRect(100, 200, 700, 500); // inner rectangle 101, 201, 699, 499
    barcode.SetSize(40);
    struct Case
    {
        int align;
        TRect band;
        TRect bars;
    };
    const Case cases[] = {
        {0, {101, 201, 699, 241}, {101, 241, 699, 499}},
        {6, {101, 201, 699, 241}, {101, 241, 699, 499}},
        {2, {101, 459, 699, 499}, {101, 201, 699, 459}},
        {8, {101, 459, 699, 499}, {101, 201, 699, 459}},
        {9, {101, 201, 141, 499}, {141, 201, 699, 499}},
        {11, {101, 201, 141, 499}, {141, 201, 699, 499}},
        {15, {659, 201, 699, 499}, {101, 201, 659, 499}},
        {17, {659, 201, 699, 499}, {101, 201, 659, 499}},
        {1, {}, {101, 201, 699, 499}},
        {4, {}, {101, 201, 699, 499}},
        {7, {}, {101, 201, 699, 499}},
        {12, {}, {101, 201, 699, 499}},
        {14, {}, {101, 201, 699, 499}},
    };
    for (const Case& c : cases) {
        barcode.SetAlign(c.align);
        EXPECT_EQ(barcode.GetTextBand(), c.band) << c.align;
        EXPECT_EQ(barcode.GetBarArea(), c.bars) << c.align;
    }
}

namespace {

// Inner rectangle (1, 1, 641, 199): 640 wide, so the eight default digits'
// 64 modules are 10 units each.
BarcodeObject DrawnBarcode(int align)
{
    BarcodeObject barcode;
    barcode.SetRect(0, 0, 642, 200);
    barcode.SetAlign(align);
    barcode.SetForeColor(0x0000AA);
    barcode.SetBackColor(0x00EEEE);
    return barcode;
}

// The bars: every rectangle drawn after the background and the four borders.
QList<CanvasCall> Bars(const RecordingCanvas& canvas)
{
    return canvas.Rectangles().mid(5);
}

} // namespace

TEST(BarcodeObjectTest, DrawsStartDigitPairsAndStopInTheForeColour)
{
    const BarcodeObject barcode = DrawnBarcode(4);
    RecordingCanvas canvas;
    barcode.Draw(canvas, DrawContext{});

    EXPECT_TRUE(canvas.Texts().isEmpty());
    const QList<CanvasCall> bars = Bars(canvas);
    ASSERT_EQ(bars.size(), 2 + 4 * 5 + 2);
    // Start, the first pair "00" (narrow, narrow, wide, wide, narrow bars,
    // with spaces of the same pattern), and the stop.
    const std::vector<std::pair<int, int>> expected = {{1, 11},    {21, 31},   {41, 51},  {61, 71},
                                                       {81, 101},  {121, 141}, {161, 171}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bars[i].rect, (TRect{expected[i].first, 1, expected[i].second, 199})) << i;
    }
    EXPECT_EQ(bars[22].rect, (TRect{601, 1, 621, 199}));
    EXPECT_EQ(bars[23].rect, (TRect{631, 1, 641, 199}));
    for (const CanvasCall& bar : bars) {
        EXPECT_EQ(bar.brushColor, 0x0000AA);
        EXPECT_EQ(bar.penColor, 0x0000AA);
        EXPECT_EQ(bar.penWidth, 1);
    }
    EXPECT_EQ(canvas.GetBrushColor(), 0x00EEEE);
}

TEST(BarcodeObjectTest, DigitsGoInTheirBandAndTheBarsBesideIt)
{
    BarcodeObject bottom = DrawnBarcode(2);
    bottom.SetText(QStringLiteral("1234"));
    RecordingCanvas canvas;
    bottom.Draw(canvas, DrawContext{});

    // Band (1, 159, 641, 199), left-aligned: a character every 20 units.
    const QList<CanvasCall> texts = canvas.Texts();
    ASSERT_EQ(texts.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i].text, QString(QChar(u'1' + i)));
        EXPECT_EQ(texts[i].x, 1 + 20 * i);
        EXPECT_EQ(texts[i].y, 159);
        EXPECT_EQ(texts[i].textColor, 0x0000AA);
    }
    const QList<CanvasCall> bars = Bars(canvas);
    ASSERT_EQ(bars.size(), 2 + 2 * 5 + 2);
    for (const CanvasCall& bar : bars) {
        EXPECT_EQ(bar.rect.Top, 1);
        EXPECT_EQ(bar.rect.Bottom, 159);
    }

    // Turned digits on the left: the bars start after the band.
    BarcodeObject left = DrawnBarcode(10);
    RecordingCanvas turned;
    left.Draw(turned, DrawContext{});
    // Turned text is drawn a run at a time.
    ASSERT_EQ(turned.Texts().size(), 1);
    EXPECT_EQ(turned.Texts().front().text, QStringLiteral("00000000"));
    EXPECT_EQ(turned.Texts().front().font.Escapement, 900);
    EXPECT_EQ(Bars(turned).front().rect.Left, 41);
    EXPECT_EQ(Bars(turned).back().rect.Right, 641);
}

TEST(BarcodeObjectTest, EmptyBarcodeDrawsStartAndStopOnly)
{
    BarcodeObject barcode = DrawnBarcode(4);
    barcode.SetRect(0, 0, 82, 50); // 80 wide: eight modules of 10
    barcode.SetText(QString());
    RecordingCanvas canvas;
    barcode.Draw(canvas, DrawContext{});
    QList<TRect> rects;
    for (const CanvasCall& bar : Bars(canvas))
        rects.append(bar.rect);
    EXPECT_EQ(rects, (QList<TRect>{{1, 1, 11, 49}, {21, 1, 31, 49}, {41, 1, 61, 49}, {71, 1, 81, 49}}));
}
