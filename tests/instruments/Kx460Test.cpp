#include <gtest/gtest.h>

#include "common/ScopedGuards.h"
#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "instruments/Kx460Translator.h"
#include "instruments/QuantityTable.h"
#include "platform/DateTime.h"

namespace {

// The quantities the records give, by name.
using namespace Quantity;


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
    ExpectBlankImageGivesNoBanks(t);
}

TEST(Kx460Test, HeadersAlwaysOpenNewBanks)
{
    Kx460Translator t;
    PutMeasurement(t, 0, 0, 500, 2300);  // before any header: bank "0"
    PutInt16Header(t, 8 * 1, 7);
    PutMeasurement(t, 16, 18, 123, 0);
    PutInt16Header(t, 8 * 3, 8);                  // no records: removed
    PutInt16Header(t, 8 * 4, 7);                  // the same number again: a second bank
    PutMeasurement(t, 40, 20, 150, 0);
    PutInt16Header(t, 8 * 6, -3);
    PutBytes(t, 56, {3, 1, 1, 1, 1, 1, 1, 1}); // unknown record type
    PutMeasurement(t, 8 * 9999, 15, 42, 0);    // the last record of the area
    PutMeasurement(t, 8 * 10000, 15, 43, 0);   // past the area
    InstrumentData data;
    t.DecodeData(data);

    ASSERT_EQ(BankNames(data), (QList<QByteArray>{"0", "7", "7", "-3"}));
    for (int i = 0; i < data.GetCount(); ++i)
        EXPECT_EQ(data.GetBank(i)->GetTypeCode(), InstrumentNumber::TypeCode);
    ExpectItems(data.GetBank(0), 0, {{VoltageLN, 230.0, true, false, "KD420"}, {Frequency, 50.0, false}});
    ExpectItems(data.GetBank(1), 0, {{VoltageU1M, 12.3, true}});
    ExpectItems(data.GetBank(2), 0, {{CurrentIWP, 0.0015, true}});
    ExpectItems(data.GetBank(3), 0, {{ProtectiveConductorCurrent, 0.00042, true, false, "KD420"}});
}

TEST(Kx460Test, DateRecordsAreBuiltFromTheirBcdFields)
{
    ScopedClock clock(QDateTime(QDate(2030, 6, 1), QTime(8, 15, 30)));
    Kx460Translator t;
    PutInt16Header(t, 8 * 0, 1);
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
    ExpectLoneMeasurement<Kx460Translator>(6, 250, 1200, 0x7FFF, {{ActivePower, 1200, true, false, "KD420"}, {PowerFactor, 1.99, false, true}});
    ExpectLoneMeasurement<Kx460Translator>(9, -199, -10000, 0x7FFF, {{ActivePower, -9999, true, true, "KD420"}, {PowerFactor, -1.99, false}});
    ExpectLoneMeasurement<Kx460Translator>(2, 1000, 4000, 0x7FFF, {{VoltageLN, 399.9, true, true, "KD420"}, {Frequency, 99.9, false, true}});
    ExpectLoneMeasurement<Kx460Translator>(3, 500, 1234, 0x7FFF, {{ApplianceCurrent, 12.34, true, false, "KD420"}, {Frequency, 50.0, false}});
    ExpectLoneMeasurement<Kx460Translator>(5, -999, -3999, 0x7FFF, {{ApplianceCurrent, -39.99, true, false, "KD420"}, {Frequency, -99.9, false}});
    ExpectLoneMeasurement<Kx460Translator>(10, 95, 5000, 0x7FFF, {{ApparentPower, 5000, true, false, "KD420"}, {PowerFactor, 0.95, false}});
    ExpectLoneMeasurement<Kx460Translator>(13, 200, 10000, 0x7FFF, {{ApparentPower, 9999, true, true, "KD420"}, {PowerFactor, 1.99, false, true}});
    // Welding circuits: the no-load voltage is the second value.
    ExpectLoneMeasurement<Kx460Translator>(21, 2000, 2000, 0x7FFF, {{VoltageU0P, 199.9, true, true}, {OpenCircuitVoltage, 199.9, false, true}});
    ExpectLoneMeasurement<Kx460Translator>(21, 650, 1200, 0x7FFF, {{VoltageU0P, 120.0, true}, {OpenCircuitVoltage, 65.0, false}});
}

TEST(Kx460Test, SingleValueKinds)
{
    ExpectLoneMeasurement<Kx460Translator>(14, 3000, 9999, 0x7FFF, {{TrippingCurrent, 0.03, true, false, "KD420"}});
    ExpectLoneMeasurement<Kx460Translator>(14, 4000, 0, 0x7FFF, {{TrippingCurrent, 0.03999, true, true, "KD420"}});
    ExpectLoneMeasurement<Kx460Translator>(15, -4000, 0, 0x7FFF, {{ProtectiveConductorCurrent, -0.03999, true, true, "KD420"}});
    ExpectLoneMeasurement<Kx460Translator>(16, 3500, 0, 0x7FFF, {{TouchCurrent, 0.0035, true, false, "KD420"}});
    ExpectLoneMeasurement<Kx460Translator>(18, 2000, 9999, 0x7FFF, {{VoltageU1M, 199.9, true, true}});
    ExpectLoneMeasurement<Kx460Translator>(20, 1999, 9999, 0x7FFF, {{CurrentIWP, 0.01999, true}});
    // Kinds without items, including those above 127.
    for (int kind : {17, 19, 22, 127, 128, 200, 255})
        ExpectLoneMeasurement<Kx460Translator>(kind, 1, 1, 1, {});
}

TEST(Kx460Test, IsMadeByTheFactoryForItsCode)
{
    ExpectFactoryModel<Kx460Translator>(ModelCode::Kx460, "Kx460", false);
    // The 10000 records end inside block 312, which is read whole.
    const auto t = CreateTranslatorForModel(ModelCode::Kx460, 0);
    const int blocks = (t->GetDataLength() + t->GetBlockSize() - 1) / t->GetBlockSize();
    EXPECT_EQ(blocks, 313);
    EXPECT_TRUE(t->Contains(t->GetDataStart(), blocks * t->GetBlockSize()));
}
