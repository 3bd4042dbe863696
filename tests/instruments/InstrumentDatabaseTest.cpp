#include <gtest/gtest.h>

#include "instruments/InstrumentDatabase.h"

namespace {

QByteArray IdOf(const char* id)
{
    return InstrumentDatabaseItem(QByteArrayView(id), {}, {}, 0).GetId();
}

QList<QByteArray> Ids(const InstrumentDatabase& database)
{
    QList<QByteArray> ids;
    for (int i = 0; i < database.GetCount(); ++i)
        ids.append(database.GetItem(i)->GetId().trimmed());
    return ids;
}

} // namespace

TEST(UploadRecordTest, IdsAreRightAlignedInBlanksAndKeepTheirNul)
{
    EXPECT_EQ(IdOf("123"), QByteArray("           123"));
    EXPECT_EQ(IdOf("0"), QByteArray(14, ' '));
    EXPECT_EQ(IdOf(""), QByteArray(14, ' '));
    EXPECT_EQ(IdOf("00"), QByteArray("            00"));
    EXPECT_EQ(IdOf("12345678901234"), QByteArray("12345678901234"));
    EXPECT_EQ(IdOf("1234567890123456"), QByteArray("12345678901234"));

    InstrumentDatabaseItem item(QByteArrayView("12345678901234"), {}, {}, 0);
    EXPECT_EQ(item.GetIdField()[13], '4');
    EXPECT_EQ(item.GetIdField()[14], '\0');
    item.SetId(QByteArrayView("7"));
    EXPECT_EQ(item.GetId(), QByteArray("             7"));
    EXPECT_EQ(item.GetIdField()[14], '\0');
}

TEST(UploadRecordTest, TextsKeepSixteenUnitsZeroFilled)
{
    InstrumentDatabaseItem item(QByteArrayView("1"), QStringLiteral("ABCDEFGHIJKLMNOPQRST"),
                                QStringLiteral("Hall \u017d"), 40000.5);
    EXPECT_EQ(item.GetName(), QStringLiteral("ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(item.GetNameField()[16], 0);
    EXPECT_EQ(item.GetLocation(), QStringLiteral("Hall \u017d"));
    EXPECT_EQ(item.GetLocationField()[6], 0);
    EXPECT_EQ(item.GetLocationField()[15], 0);
    EXPECT_EQ(item.GetDate(), 40000.5);

    item.SetName(QStringLiteral("X"));
    EXPECT_EQ(item.GetName(), QStringLiteral("X"));
    EXPECT_EQ(item.GetNameField()[1], 0);

    InstrumentDatabaseItem empty(QByteArrayView("1"), {}, {}, 0);
    EXPECT_TRUE(std::all_of(empty.GetNameField().begin(), empty.GetNameField().end(), [](char16_t c) { return c == 0; }));
    EXPECT_TRUE(empty.GetLocation().isEmpty());
}

TEST(UploadListTest, SortsNumericIdsInNumericOrderAndDropsBlankIds)
{
    InstrumentDatabase database;
    for (const char* id : {"100", "0", "99", "", "A1", "5", "99"})
        database.Add(InstrumentDatabaseItem(QByteArrayView(id), QString::fromLatin1(id), {}, 0));
    database.Add(InstrumentDatabaseItem(QByteArrayView("99"), QStringLiteral("second 99"), {}, 0));
    database.RemoveBlankIds();
    EXPECT_EQ(Ids(database), (QList<QByteArray>{"100", "99", "A1", "5", "99", "99"}));
    database.SortById();
    EXPECT_EQ(Ids(database), (QList<QByteArray>{"5", "99", "99", "99", "A1", "100"}));
    // Equal IDs keep their order.
    EXPECT_EQ(database.GetItem(3)->GetName(), QStringLiteral("second 99"));
    EXPECT_EQ(database.GetItem(6), nullptr);
    EXPECT_EQ(database.GetItem(-1), nullptr);
    database.Clear();
    EXPECT_EQ(database.GetCount(), 0);
}
