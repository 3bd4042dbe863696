#include <gtest/gtest.h>

#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "instruments/Kx460.h"
#include "platform/DateTime.h"

#include <string>

namespace {

constexpr int DateTime = 1000;

void PutHeader(Kx460Translator& t, int index, int number)
{
    PutBytes(t, 8 * index, {0, 0xFF});
    PutInt16(t, 8 * index + 2, number);
}

// A measurement alone, before any header: bank "0" with these items.
void ExpectMeasurement(int kind, int v, int s, std::initializer_list<ExpectedItem> items)
{
    SCOPED_TRACE("kind " + std::to_string(kind));
    Kx460Translator t;
    PutMeasurement(t, 0, kind, v, s, 0x7FFF);
    InstrumentData data;
    t.DecodeData(data);
    if (items.size() == 0) {
        EXPECT_EQ(data.GetCount(), 0);
        return;
    }
    ASSERT_EQ(BankNames(data), QList<QByteArray>{"0"});
    ExpectItems(data.GetBank(0), 0, items);
}

struct ClockGuard
{
    explicit ClockGuard(const QDateTime& now) { SetClock([now] { return now; }); }
    ~ClockGuard() { SetClock(nullptr); }
};

TDateTime At(int year, int month, int day, int hour, int minute, int second)
{
    TDateTime date = 0;
    TDateTime time = 0;
    EXPECT_TRUE(TryEncodeDate(year, month, day, date));
    EXPECT_TRUE(TryEncodeTime(hour, minute, second, 0, time));
    return date + time;
}

} // namespace

TEST(Kx460Test, BlankImageGivesNoBanks)
{
    Kx460Translator t;
    InstrumentData data;
    data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("old")));
    t.DecodeData(data);
    EXPECT_EQ(data.GetCount(), 0);
}

TEST(Kx460Test, HeadersAlwaysOpenNewBanks)
{
    Kx460Translator t;
    PutMeasurement(t, 0, 0, 500, 2300);  // before any header: bank "0"
    PutHeader(t, 1, 7);
    PutMeasurement(t, 16, 18, 123, 0);
    PutHeader(t, 3, 8);                  // no records: removed
    PutHeader(t, 4, 7);                  // the same number again: a second bank
    PutMeasurement(t, 40, 20, 150, 0);
    PutHeader(t, 6, -3);
    PutBytes(t, 56, {3, 1, 1, 1, 1, 1, 1, 1}); // unknown record type
    PutMeasurement(t, 8 * 9999, 15, 42, 0);    // the last record of the area
    PutMeasurement(t, 8 * 10000, 15, 43, 0);   // past the area
    InstrumentData data;
    t.DecodeData(data);

    ASSERT_EQ(BankNames(data), (QList<QByteArray>{"0", "7", "7", "-3"}));
    for (int i = 0; i < data.GetCount(); ++i)
        EXPECT_EQ(data.GetBank(i)->GetTypeCode(), InstrumentNumber::TypeCode);
    ExpectItems(data.GetBank(0), 0, {{1, 230.0, true, false, "KD420"}, {8, 50.0, false}});
    ExpectItems(data.GetBank(1), 0, {{41, 12.3, true}});
    ExpectItems(data.GetBank(2), 0, {{43, 0.0015, true}});
    ExpectItems(data.GetBank(3), 0, {{18, 0.00042, true, false, "KD420"}});
}

TEST(Kx460Test, DateRecordsAreBuiltFromTheirBcdFields)
{
    ClockGuard clock(QDateTime(QDate(2030, 6, 1), QTime(8, 15, 30)));
    Kx460Translator t;
    PutHeader(t, 0, 1);
    PutBytes(t, 8, {2, 0x56, 0x34, 0x12, 0xFF, 0x24, 0x12, 0x23}); // 24.12.2023 12:34:56
    PutBytes(t, 16, {2, 0x00, 0x00, 0x00, 0x00, 0x29, 0x02, 0x24}); // 29.2.2024 (a leap day)
    PutBytes(t, 24, {2, 0x00, 0x00, 0x00, 0x00, 0x29, 0x02, 0x23}); // no 29.2.2023
    PutBytes(t, 32, {2, 0x00, 0x60, 0x10, 0x00, 0x01, 0x01, 0x23}); // minute 60
    PutBytes(t, 40, {2, 0x00, 0x00, 0x00, 0x00, 0x01, 0x13, 0x23}); // month 13
    PutBytes(t, 48, {2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}); // erased fields
    InstrumentData data;
    t.DecodeData(data);

    ASSERT_EQ(BankNames(data), QList<QByteArray>{"1"});
    const InstrumentBank& bank = *data.GetBank(0);
    ASSERT_EQ(bank.GetCount(), 6);
    ExpectItem(bank.GetItem(0), {DateTime, At(2023, 12, 24, 12, 34, 56), false});
    ExpectItem(bank.GetItem(1), {DateTime, At(2024, 2, 29, 0, 0, 0), false});
    // Invalid fields give the clock's time of day with no date.
    for (int i = 2; i < 6; ++i) {
        const InstrumentItem& item = *bank.GetItem(i);
        EXPECT_EQ(item.GetQuantity(), DateTime);
        EXPECT_FALSE(item.IsPrimary() || item.IsOver());
        EXPECT_GE(item.GetValue(), 0.0);
        EXPECT_LT(item.GetValue(), 1.0);
        int hour = 0, minute = 0, second = 0, msec = 0;
        DecodeTime(item.GetValue(), hour, minute, second, msec);
        EXPECT_EQ(QTime(hour, minute, second), QTime(8, 15, 30)) << "item " << i;
    }
}

TEST(Kx460Test, PairedKindsKeepTheMainValueSecond)
{
    ExpectMeasurement(6, 250, 1200, {{13, 1200, true, false, "KD420"}, {23, 1.99, false, true}});
    ExpectMeasurement(9, -199, -10000, {{13, -9999, true, true, "KD420"}, {23, -1.99, false}});
    ExpectMeasurement(2, 1000, 4000, {{1, 399.9, true, true, "KD420"}, {8, 99.9, false, true}});
    ExpectMeasurement(3, 500, 1234, {{12, 12.34, true, false, "KD420"}, {8, 50.0, false}});
    ExpectMeasurement(5, -999, -3999, {{12, -39.99, true, false, "KD420"}, {8, -99.9, false}});
    ExpectMeasurement(10, 95, 5000, {{14, 5000, true, false, "KD420"}, {23, 0.95, false}});
    ExpectMeasurement(13, 200, 10000, {{14, 9999, true, true, "KD420"}, {23, 1.99, false, true}});
    // Welding circuits: the no-load voltage is the second value.
    ExpectMeasurement(21, 2000, 2000, {{42, 199.9, true, true}, {44, 199.9, false, true}});
    ExpectMeasurement(21, 650, 1200, {{42, 120.0, true}, {44, 65.0, false}});
}

TEST(Kx460Test, SingleValueKinds)
{
    ExpectMeasurement(14, 3000, 9999, {{5, 0.03, true, false, "KD420"}});
    ExpectMeasurement(14, 4000, 0, {{5, 0.03999, true, true, "KD420"}});
    ExpectMeasurement(15, -4000, 0, {{18, -0.03999, true, true, "KD420"}});
    ExpectMeasurement(16, 3500, 0, {{19, 0.0035, true, false, "KD420"}});
    ExpectMeasurement(18, 2000, 9999, {{41, 199.9, true, true}});
    ExpectMeasurement(20, 1999, 9999, {{43, 0.01999, true}});
    // Kinds without items, including those above 127.
    for (int kind : {17, 19, 22, 127, 128, 200, 255})
        ExpectMeasurement(kind, 1, 1, {});
}

TEST(Kx460Test, IsMadeByTheFactoryForItsCode)
{
    const auto t = CreateTranslatorForModel(ModelCode::Kx460, 0);
    const auto* model = dynamic_cast<const Kx460Translator*>(t.get());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(t->GetModelName(), QByteArray("Kx460"));
    EXPECT_TRUE(t->UsesNumberedBlocks());
    // The 10000 records end inside block 312, which is read whole.
    const int blocks = (t->GetDataLength() + t->GetBlockSize() - 1) / t->GetBlockSize();
    EXPECT_EQ(blocks, 313);
    EXPECT_TRUE(t->Contains(t->GetDataStart(), blocks * t->GetBlockSize()));
}
