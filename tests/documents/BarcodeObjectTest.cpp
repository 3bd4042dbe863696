#include <gtest/gtest.h>

#include "common/FieldRecords.h"
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
