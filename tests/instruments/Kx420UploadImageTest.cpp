#include <gtest/gtest.h>

#include "common/ScopedGuards.h"
#include "instruments/InstrumentDatabase.h"
#include "instruments/Kx420Translator.h"
#include "platform/DateTime.h"

#include <QDateTime>

#include <initializer_list>
#include <vector>

namespace {

constexpr int RecordAt(int index) { return Kx420Translator::UploadRecordStart + 36 * index; }
constexpr int LocationAt(int index) { return Kx420Translator::LocationTableStart + 24 * index; }

TDateTime DateOf(int year, int month, int day)
{
    TDateTime value = 0;
    EXPECT_TRUE(TryEncodeDate(year, month, day, value));
    return value;
}

void Put(std::vector<uint8_t>& image, int offset, std::initializer_list<int> bytes)
{
    for (int byte : bytes)
        image[static_cast<std::size_t>(offset++)] = static_cast<uint8_t>(byte);
}

std::vector<uint8_t> Bytes(const InstrumentTranslator& t, int offset, int length)
{
    return {t.GetImage().begin() + offset, t.GetImage().begin() + offset + length};
}

// 16 units packed as the instrument's 12-bit codes.
std::vector<uint8_t> Packed(const QString& text)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 16; i += 2) {
        const unsigned a = i < text.size() ? text.at(i).unicode() : 0;
        const unsigned b = i + 1 < text.size() ? text.at(i + 1).unicode() : 0;
        bytes.push_back(static_cast<uint8_t>(a & 0xFF));
        bytes.push_back(static_cast<uint8_t>((a >> 8) | (b & 0xF) << 4));
        bytes.push_back(static_cast<uint8_t>(b >> 4));
    }
    return bytes;
}

class Kx420UploadTest : public ::testing::Test
{
protected:
    ScopedClock clock{QDateTime(QDate(2011, 3, 15), QTime(9, 8, 7))};

    void Add(const char* id, const QString& name, const QString& location, TDateTime date = 0)
    {
        database.Add(InstrumentDatabaseItem(QByteArrayView(id), name, location, date));
    }

    InstrumentDatabase database;
    Kx420Translator t{1};
};

} // namespace

TEST_F(Kx420UploadTest, OneRecordImageByteForByte)
{
    Add("123456", QStringLiteral("AB"), QStringLiteral("Room 1"), DateOf(2011, 3, 15));
    t.EncodeDatabase(database);

    std::vector<uint8_t> expected(262144, 0xFF);
    Put(expected, 545, {0x07, 0x08, 0x09}); // seconds, minutes, hours
    Put(expected, 549, {0x15, 0x03, 0x11}); // day, month, year - 2000
    Put(expected, RecordAt(0), {0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34, 0x56});
    Put(expected, RecordAt(0) + 7, {0x41, 0x20, 0x04});
    for (int i = 10; i < 31; ++i)
        expected[static_cast<std::size_t>(RecordAt(0) + i)] = 0;
    Put(expected, RecordAt(0) + 32, {0x01, 0x00, 0x8B, 0x79}); // location 1; 11 + 3 x 128 + 15 x 2048
    const std::vector<uint8_t> room = Packed(QStringLiteral("Room 1"));
    std::copy(room.begin(), room.end(), expected.begin() + LocationAt(1));
    EXPECT_EQ(t.GetImage(), expected);
}

TEST_F(Kx420UploadTest, IdsAndNamesArePacked)
{
    Add("A1B2", QStringLiteral("\u017Dup\u20AC"), QStringLiteral(" "));
    Add("98765432109876", QStringLiteral("0123456789abcdefXYZ"), QStringLiteral(" "));
    t.EncodeDatabase(database);
    // Sorted: "          A1B2" comes before the 14-digit ID.
    EXPECT_EQ(Bytes(t, RecordAt(0), 7), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF1, 0xF2}));
    // A unit beyond 12 bits travels as "?".
    EXPECT_EQ(Bytes(t, RecordAt(0) + 7, 6), (std::vector<uint8_t>{0x7D, 0x51, 0x07, 0x70, 0xF0, 0x03}));
    EXPECT_EQ(Bytes(t, RecordAt(1), 7), (std::vector<uint8_t>{0x98, 0x76, 0x54, 0x32, 0x10, 0x98, 0x76}));
    EXPECT_EQ(Bytes(t, RecordAt(1) + 7, 24), Packed(QStringLiteral("0123456789abcdef")));
    EXPECT_EQ(t.GetByte(RecordAt(1) + 31), 0xFF);
}

TEST_F(Kx420UploadTest, LocationsAreSharedAndTheBlankOneIsNeverWritten)
{
    Add("1", {}, QStringLiteral("Hall"));
    Add("2", {}, QStringLiteral(" "));
    Add("3", {}, QStringLiteral("Cellar"));
    Add("4", {}, QStringLiteral("Hall"));
    Add("5", {}, QStringLiteral("hall")); // compared exactly
    t.EncodeDatabase(database);
    const int expectedIndex[] = {1, 0, 2, 1, 3};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(t.GetUInt16(RecordAt(i) + 32), expectedIndex[i]) << i;
    EXPECT_EQ(Bytes(t, LocationAt(0), 24), std::vector<uint8_t>(24, 0xFF));
    EXPECT_EQ(Bytes(t, LocationAt(1), 24), Packed(QStringLiteral("Hall")));
    EXPECT_EQ(Bytes(t, LocationAt(2), 24), Packed(QStringLiteral("Cellar")));
    EXPECT_EQ(Bytes(t, LocationAt(3), 24), Packed(QStringLiteral("hall")));
    EXPECT_EQ(Bytes(t, LocationAt(4), 24), std::vector<uint8_t>(24, 0xFF));
}

TEST_F(Kx420UploadTest, FullLocationTableSendsFurtherLocationsToEntryZero)
{
    for (int i = 0; i < 1003; ++i)
        Add(QByteArray::number(10000 + i).constData(), {}, QStringLiteral("L%1").arg(i));
    t.EncodeDatabase(database);
    EXPECT_EQ(t.GetUInt16(RecordAt(0) + 32), 1);
    EXPECT_EQ(t.GetUInt16(RecordAt(998) + 32), 999);
    EXPECT_EQ(Bytes(t, LocationAt(999), 24), Packed(QStringLiteral("L998")));
    for (int i = 999; i < 1003; ++i)
        EXPECT_EQ(t.GetUInt16(RecordAt(i) + 32), 0) << i;
    // Nothing beyond the table's 1000 entries.
    EXPECT_EQ(Bytes(t, LocationAt(1000), Kx420Translator::UploadRecordStart - LocationAt(1000)),
              std::vector<uint8_t>(static_cast<std::size_t>(Kx420Translator::UploadRecordStart - LocationAt(1000)), 0xFF));
}

TEST_F(Kx420UploadTest, AtMost4000RecordsAfterSortingAndTheCallersListIsChanged)
{
    for (int i = 4000; i >= 0; --i)
        Add(QByteArray::number(i + 1).constData(), QStringLiteral("N%1").arg(i + 1), QStringLiteral(" "));
    Add("0", QStringLiteral("no id"), QStringLiteral(" "));
    Add("", QStringLiteral("empty id"), QStringLiteral(" "));
    t.EncodeDatabase(database);

    ASSERT_EQ(database.GetCount(), 4001);
    EXPECT_EQ(database.GetItem(0)->GetId().trimmed(), QByteArray("1"));
    EXPECT_EQ(database.GetItem(4000)->GetId().trimmed(), QByteArray("4001"));
    EXPECT_EQ(Bytes(t, RecordAt(0), 7), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF1}));
    EXPECT_EQ(Bytes(t, RecordAt(3999), 7), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x40, 0x00}));
    EXPECT_EQ(Bytes(t, RecordAt(3999) + 7, 24), Packed(QStringLiteral("N4000")));
    const int end = RecordAt(4000);
    EXPECT_EQ(Bytes(t, end, t.GetImageSize() - end), std::vector<uint8_t>(static_cast<std::size_t>(t.GetImageSize() - end), 0xFF));
}

TEST_F(Kx420UploadTest, DatesOutsideTheSevenYearBitsGiveTheNoDateWord)
{
    Add("1", {}, QStringLiteral(" "), 0); // the zero date the revision list sends
    Add("2", {}, QStringLiteral(" "), DateOf(2000, 1, 1));
    Add("3", {}, QStringLiteral(" "), DateOf(2127, 12, 31) + 0.75);
    Add("4", {}, QStringLiteral(" "), DateOf(2128, 1, 1));
    Add("5", {}, QStringLiteral(" "), DateOf(1999, 12, 31));
    t.EncodeDatabase(database);
    EXPECT_EQ(t.GetUInt16(RecordAt(0) + 34), 0xFFFF);
    EXPECT_EQ(t.GetUInt16(RecordAt(1) + 34), 0 | 1 << 7 | 1 << 11);
    EXPECT_EQ(t.GetUInt16(RecordAt(2) + 34), 127 | 12 << 7 | 31 << 11);
    EXPECT_EQ(t.GetUInt16(RecordAt(3) + 34), 0xFFFF);
    EXPECT_EQ(t.GetUInt16(RecordAt(4) + 34), 0xFFFF);
}

TEST_F(Kx420UploadTest, EmptyListWritesOnlyTheTimeStamp)
{
    ScopedClock lateClock(QDateTime(QDate(2099, 12, 31), QTime(23, 59, 58)));
    t.EncodeDatabase(database);
    std::vector<uint8_t> expected(262144, 0xFF);
    Put(expected, 545, {0x58, 0x59, 0x23, 0xFF, 0x31, 0x12, 0x99});
    EXPECT_EQ(t.GetImage(), expected);
}
