#include <gtest/gtest.h>

#include "common/LegacyStreams.h"
#include "instruments/InstrumentData.h"
#include "storage/File.h"

#include <QBuffer>

#include <climits>

namespace {

struct Imported
{
    bool ok;
    bool damaged;
};

Imported Import(InstrumentData& data, LegacyImportList& list, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const bool ok = data.ImportLegacy(buffer, list);
    return {ok, IsStreamDamaged(buffer)};
}

const QString kEsc(QChar(0x1b));

} // namespace

TEST(LegacyValue, NumbersAfterSymbolsAndMarks)
{
    struct Case
    {
        QString text;
        double value;
        bool over;
    };
    const Case cases[] = {
        {"U" + kEsc + QChar(2) + "LN" + kEsc + QChar(1) + "=230V", 230, false},
        {"R>999M", 999e6, true},
        {"R" + kEsc + QChar(2) + "ISO" + kEsc + QChar(1) + "> 2 G", 2e9, true},
        {QString("I=30 m"), 0.03, false},
        {QString("t=1,5 k"), 1500, false},
        {QString("x=2 K"), 2, false},    // only lower-case k scales
        {QString("x=4 u"), 4, false},    // no micro letter
        {QString("-5m"), -0.005, false},
        {QString("  12"), 12, false},
        {QString("Cos =0.95"), 0.95, false},
        {QString("No number"), 0, false},
        {QString(""), 0, false},
        {QString("a>b>"), 0, true},
        {kEsc + QChar(2) + QString::fromUtf8("\xce\x94") + kEsc + QChar(1) + "U=40V", 40, false},
    };
    for (const Case& c : cases) {
        bool over = !c.over;
        EXPECT_DOUBLE_EQ(InstrumentData::ParseLegacyValue(c.text, over), c.value) << c.text.toStdString();
        EXPECT_EQ(over, c.over) << c.text.toStdString();
    }
}

TEST(LegacyImport, BanksItemsAndTextsInStreamOrder)
{
    const QByteArray bytes = LegacyStream()
                                 .Tag("Data    ")
                                 .Item("Installation 7", 1)
                                 .Item("U=230V", 3)
                                 .Head(5)
                                 .Item("R>999M", 17)
                                 .Item("Note", 2)
                                 .Item("I=30m", 7)
                                 .Tag("DataEof ")
                                 .Raw("trailing")
                                 .Bytes();
    InstrumentData data;
    LegacyImportList list;
    const Imported result = Import(data, list, bytes);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.damaged);

    // Items before the first header gather in a bank named "-1".
    ASSERT_EQ(data.GetCount(), 2);
    EXPECT_EQ(data.GetBank(0)->GetName(), QByteArray("-1"));
    EXPECT_EQ(data.GetBank(1)->GetName(), QByteArray("5"));
    ASSERT_EQ(data.GetBank(0)->GetCount(), 1);
    ASSERT_EQ(data.GetBank(1)->GetCount(), 2);
    const InstrumentItem* voltage = data.GetBank(0)->GetItem(0);
    EXPECT_EQ(voltage->GetValue(), 230);
    EXPECT_EQ(voltage->GetQuantity(), 1);
    EXPECT_TRUE(voltage->IsPrimary());
    const InstrumentItem* insulation = data.GetBank(1)->GetItem(0);
    EXPECT_EQ(insulation->GetValue(), 999e6);
    EXPECT_EQ(insulation->GetQuantity(), 15);
    EXPECT_TRUE(insulation->IsOver());

    // One entry per header and item record; texts belong to no bank.
    ASSERT_EQ(list.size(), 6u);
    ASSERT_TRUE(list[0].Text);
    EXPECT_EQ(list[0].Text->GetWideText(), QString("Installation 7"));
    EXPECT_EQ(list[1].Item, voltage);
    EXPECT_EQ(list[2].Item, nullptr);
    EXPECT_FALSE(list[2].Text);
    EXPECT_EQ(list[3].Item, insulation);
    ASSERT_TRUE(list[4].Text);
    EXPECT_EQ(list[4].Text->GetWideText(), QString("Note"));
    EXPECT_EQ(list[5].Item, data.GetBank(1)->GetItem(1));
    EXPECT_DOUBLE_EQ(list[5].Item->GetValue(), 0.03);
}

TEST(LegacyImport, TextsAreUtf16AndEndAtANul)
{
    LegacyStream stream;
    stream.Tag("Data    ").Item(QString::fromUtf8("P\xc5\x99\xc3\xad") + QChar(0) + "junk", 0);
    // An odd length leaves the last byte out of the text.
    stream.Tag("DataItem").Int(3).Raw(QByteArray("A\0B", 3)).Int(1).Int(0).Int(0);
    stream.Tag("DataEof ");
    InstrumentData data;
    LegacyImportList list;
    EXPECT_TRUE(Import(data, list, stream.Bytes()).ok);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Text->GetWideText(), QString::fromUtf8("P\xc5\x99\xc3\xad"));
    EXPECT_EQ(list[1].Text->GetWideText(), QString("A"));
    EXPECT_EQ(data.GetCount(), 0);
}

TEST(LegacyImport, ForeignStartAddsNothing)
{
    InstrumentData data;
    LegacyImportList list;
    const Imported result = Import(data, list, LegacyStream().Tag("Template").Head(1).Tag("DataEof ").Bytes());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(data.GetCount(), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(Import(data, list, QByteArray()).ok);
}

TEST(LegacyImport, BrokenBodiesEndKeepingWhatWasRead)
{
    const LegacyStream start = LegacyStream().Tag("Data    ").Head(3).Item("U=1V", 3);
    struct Case
    {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"unknown tag", LegacyStream(start).Tag("DataXXXX").Item("U=2V", 3).Tag("DataEof ").Bytes()},
        {"no end tag", start.Bytes()},
        {"tag cut short", LegacyStream(start).Raw("DataE").Bytes()},
        {"header cut short", LegacyStream(start).Tag("DataHead").Int(0).Bytes()},
        {"negative length", LegacyStream(start).Tag("DataItem").Int(-2).Raw(QByteArray(40, 'x')).Bytes()},
        {"length past the end", LegacyStream(start).Tag("DataItem").Int(30).Raw(QByteArray(20, 'x')).Bytes()},
        {"huge length", LegacyStream(start).Tag("DataItem").Int(INT_MAX).Raw(QByteArray(20, 'x')).Bytes()},
        {"length over the text limit",
         LegacyStream(start).Tag("DataItem").Int(2064).Raw(QByteArray(2064 + 12, 'x')).Tag("DataEof ").Bytes()},
        {"kind cut short", LegacyStream(start).Tag("DataItem").Int(2).Raw("ab").Int(3).Bytes()},
    };
    for (const Case& c : cases) {
        InstrumentData data;
        LegacyImportList list;
        const Imported result = Import(data, list, c.bytes);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_TRUE(result.damaged) << c.what;
        ASSERT_EQ(data.GetCount(), 1) << c.what;
        EXPECT_EQ(data.GetBank(0)->GetCount(), 1) << c.what;
        EXPECT_EQ(list.size(), 2u) << c.what;
    }

    // The longest text the old buffer held is still read.
    InstrumentData data;
    LegacyImportList list;
    EXPECT_TRUE(Import(data, list, LegacyStream().Tag("Data    ").Item(QString(1031, 'x'), 0).Tag("DataEof ").Bytes()).ok);
    EXPECT_EQ(list.at(0).Text->GetWideText().size(), 1031);
}

TEST(LegacyImport, KindsOutsideTheTableGiveItemsWithoutARow)
{
    InstrumentData data;
    LegacyImportList list;
    ASSERT_TRUE(Import(data, list, LegacyStream().Tag("Data    ").Item("x=5", INT_MAX).Tag("DataEof ").Bytes()).ok);
    const InstrumentItem* item = data.GetBank(0)->GetItem(0);
    EXPECT_EQ(item->GetQuantity(), INT_MAX - 2);
    EXPECT_EQ(item->GetText(7, 0), QByteArray("=5 "));
}
