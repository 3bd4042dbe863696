#include "documents/GlobalTextObject.h"

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

QByteArray Entry(int32_t gid, const QByteArray& utf8)
{
    return Le32(gid) + Le32(static_cast<int32_t>(utf8.size())) + utf8;
}

} // namespace

TEST(GlobalTextStorage, SlotsAreSavedInOrderAndReadBack)
{
    GlobalTextStorage store;
    store.SetText(999, QStringLiteral("z"));
    store.SetText(3, QString::fromUtf16(u"\u00e9"));
    store.SetText(4, QString(QLatin1StringView(""))); // present but empty
    store.SetText(5, QStringLiteral("gone"));
    store.SetText(5, QString());                       // a null text empties the slot
    store.SetText(1000, QStringLiteral("ignored"));
    store.SetText(-1, QStringLiteral("ignored"));

    const QByteArray expected = Bytes({1}) + Le32(3) + Entry(3, "\xc3\xa9") + Entry(4, "") + Entry(999, "z");
    EXPECT_EQ(Written([&](QIODevice& s) { store.Save(s); }), expected);
    EXPECT_EQ(Written([&](QIODevice& s) { store.WriteXml(s); }),
              QByteArray("<GID>3</GID>\n<Text>\xc3\xa9</Text>\n<GID>4</GID>\n<Text></Text>\n"
                         "<GID>999</GID>\n<Text>z</Text>\n"));

    GlobalTextStorage read;
    ReadBuffer in(expected);
    ASSERT_TRUE(read.Load(in));
    EXPECT_EQ(Written([&](QIODevice& s) { read.Save(s); }), expected);
    EXPECT_TRUE(read.GetText(5).isNull());
    EXPECT_TRUE(read.GetText(1000).isNull());
    EXPECT_FALSE(read.GetText(4).isNull());
}

TEST(GlobalTextStorage, LoadReplacesWhileLoadOverKeepsUnlistedSlots)
{
    const QByteArray record = Bytes({1}) + Le32(1) + Entry(7, "new");
    GlobalTextStorage store;
    store.SetText(2, QStringLiteral("old"));
    ReadBuffer over(record);
    ASSERT_TRUE(store.LoadOver(over));
    EXPECT_EQ(store.GetText(2), QStringLiteral("old"));
    EXPECT_EQ(store.GetText(7), QStringLiteral("new"));

    ReadBuffer in(record);
    ASSERT_TRUE(store.Load(in));
    EXPECT_TRUE(store.GetText(2).isNull());
    EXPECT_EQ(store.GetText(7), QStringLiteral("new"));
}

TEST(GlobalTextStorage, OutOfRangeGidIsSkippedAndItsTextConsumed)
{
    ReadBuffer in(Bytes({1}) + Le32(3) + Entry(1000, "bad") + Entry(-5, "bad") + Entry(8, "ok") + "next");
    GlobalTextStorage store;
    ASSERT_TRUE(store.Load(in));
    EXPECT_EQ(store.GetText(8), QStringLiteral("ok"));
    EXPECT_EQ(in.read(4), "next");
}

TEST(GlobalTextStorage, DamagedCountsAndLengthsStopAtTheStreamEnd)
{
    const QByteArray cases[] = {
        Bytes({1}) + Le32(-1),
        Bytes({1}) + Le32(0x7FFFFFFF) + Entry(1, "a"),
        Bytes({1}) + Le32(2) + Entry(1, "a") + Le32(2) + Le32(500) + "short",
        Bytes({1}) + Le32(1),
        Bytes({1}),
    };
    for (const QByteArray& record : cases) {
        ReadBuffer in(record);
        GlobalTextStorage store;
        EXPECT_FALSE(store.Load(in));
        EXPECT_TRUE(IsStreamDamaged(in));
        EXPECT_TRUE(store.GetText(2).isNull());
    }
}

TEST(GlobalTextField, FieldsWithOneGidShareTheirText)
{
    GlobalTextStorage store;
    GlobalTextObject a(&store), b(&store), c(&store);
    a.SetGID(5);
    b.SetGID(5);
    c.SetGID(6);
    a.SetText(QStringLiteral("Customer"));
    EXPECT_EQ(b.GetDisplayText(), QStringLiteral("Customer"));
    EXPECT_TRUE(c.GetText().isNull());
    b.SetText(QString());
    EXPECT_TRUE(a.GetText().isNull());
    EXPECT_TRUE(Written([&](QIODevice& s) { store.Save(s); }) == Bytes({1}) + Le32(0));

    a.SetGID(1000);
    a.SetGID(-1);
    EXPECT_EQ(a.GetGID(), 5);
    a.SetType(0);
    EXPECT_EQ(a.GetType(), 1);
    EXPECT_TRUE(a.IsFillable());
    EXPECT_EQ(a.GetTypeCode(), FourCC("glob"));
}

TEST(GlobalTextField, DrawsTheSharedText)
{
    GlobalTextStorage store;
    store.SetText(9, QStringLiteral("Q"));
    GlobalTextObject field(&store);
    field.SetGID(9);
    field.SetRect(0, 0, 100, 42);
    field.SetAlign(0);
    RecordingCanvas canvas;
    field.Draw(canvas, {});
    ASSERT_EQ(canvas.Texts().size(), 1);
    EXPECT_EQ(canvas.Texts()[0].text, QStringLiteral("Q"));
}

TEST(GlobalTextField, RecordAndXmlAddTheGidToTheTextField)
{
    GlobalTextStorage store;
    GlobalTextObject field(&store);
    field.SetGID(42);
    field.SetText(QStringLiteral("shared, not in the field record"));
    const QByteArray record = SavedRecord(field);
    const QByteArray textPart = BaseRecord() + TextRecordTail("", 4, "Arial", 40, TextObject::EditableText);
    EXPECT_EQ(record, textPart + Bytes({1}) + Le32(42));

    GlobalTextObject read(&store);
    ReadBuffer in(record);
    ASSERT_TRUE(read.Load(in));
    EXPECT_EQ(read.GetGID(), 42);
    EXPECT_EQ(read.GetText(), QStringLiteral("shared, not in the field record"));

    const QByteArray xml = WrittenXml(field);
    EXPECT_TRUE(xml.endsWith("<Type>1</Type>\n<GID>42</GID>\n"));
    EXPECT_TRUE(xml.contains("<String></String>\n"));
}

TEST(GlobalTextField, BadGidInARecordKeepsTheDefaultAndTruncationIsDamage)
{
    GlobalTextStorage store;
    GlobalTextObject field(&store);
    QByteArray record = SavedRecord(field);
    record.chop(4);
    ReadBuffer bad(record + Le32(1000));
    ASSERT_TRUE(field.Load(bad));
    EXPECT_EQ(field.GetGID(), 0);

    ReadBuffer cut(record + Bytes({7}));
    EXPECT_FALSE(field.Load(cut));
    EXPECT_TRUE(IsStreamDamaged(cut));
}

TEST(GlobalTextField, CloneSharesTheStorageAndAPlainCopyKeepsTheText)
{
    GlobalTextStorage store;
    GlobalTextObject field(&store);
    field.SetGID(3);
    field.SetText(QStringLiteral("T"));
    const auto clone = field.Clone();
    auto* copy = dynamic_cast<GlobalTextObject*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetStorage(), &store);
    EXPECT_EQ(copy->GetGID(), 3);
    copy->SetText(QStringLiteral("U"));
    EXPECT_EQ(field.GetText(), QStringLiteral("U"));

    // A text field copied from a global one holds the shared text as its own.
    const TextObject plain(static_cast<const TextObject&>(field));
    EXPECT_EQ(plain.GetText(), QStringLiteral("U"));
}

TEST(GlobalTextField, WithoutStorageShowsNothing)
{
    GlobalTextObject field(nullptr);
    field.SetText(QStringLiteral("x"));
    EXPECT_TRUE(field.GetText().isNull());
}
