#include <gtest/gtest.h>

#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "instruments/Kx440Translator.h"
#include "instruments/QuantityTable.h"
#include "platform/DateTime.h"

namespace {

// The quantities the records give, by name.
using namespace Quantity;

} // namespace

TEST(Kx440Test, BlankImageGivesNoBanks)
{
    Kx440Translator t;
    ExpectBlankImageGivesNoBanks(t);
}

TEST(Kx440Test, HeadersAlwaysOpenNewBanksAndDatesJoinThem)
{
    Kx440Translator t;
    PutInt16Header(t, 8 * 0, 12);
    PutMeasurement(t, 8, 1, 230);
    PutBytes(t, 16, {2, 0x56, 0x34, 0x12, 0xFF, 0x24, 0x12, 0x23});
    PutInt16Header(t, 8 * 3, 12);
    PutMeasurement(t, 32, 30, 0, 1000);
    PutInt16Header(t, 8 * 9998, 4);
    PutMeasurement(t, 8 * 9999, 1, 5);   // the last record of the area
    PutMeasurement(t, 8 * 10000, 1, 6);  // past the area
    InstrumentData data;
    t.DecodeData(data);

    TDateTime date = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(2023, 12, 24, date) && TryEncodeTime(12, 34, 56, 0, time));
    ASSERT_EQ(BankNames(data), (QList<QByteArray>{"12", "12", "4"}));
    for (int i = 0; i < data.GetCount(); ++i)
        EXPECT_EQ(data.GetBank(i)->GetTypeCode(), InstrumentNumber::TypeCode);
    ExpectItems(data.GetBank(0), 0, {{Voltage, 230, true}, {1000, date + time, false}});
    ExpectItems(data.GetBank(1), 0, {{ProtectionTestVoltage, 1000, true}});
    ExpectItems(data.GetBank(2), 0, {{Voltage, 5, true}});
}

TEST(Kx440Test, InsulationKindsSelectTheDecade)
{
    ExpectLoneMeasurement<Kx440Translator>(5, 0, 500, 2500, {{InsulationResistance, 1999000000.0, true, true}, {InsulationTestVoltage, 500, false}});
    ExpectLoneMeasurement<Kx440Translator>(2, 0, 250, 1234, {{InsulationResistance, 1234000.0, true}, {InsulationTestVoltage, 250, false}});
    // Far beyond 32 bits; and x1 is not read.
    ExpectLoneMeasurement<Kx440Translator>(8, 32767, 10000, 1999, {{InsulationResistance, 1999000000000.0, true}, {InsulationTestVoltage, 9999, false, true}});
    ExpectLoneMeasurement<Kx440Translator>(31, 500, 1500, 0, {{InsulationResistance, 1500000.0, true}, {InsulationTestVoltage, 500, false}});
    ExpectLoneMeasurement<Kx440Translator>(34, 10000, 2000, 7, {{InsulationResistance, 1999000000.0, true, true}, {InsulationTestVoltage, 9999, false, true}});
    ExpectLoneMeasurement<Kx440Translator>(37, 1000, 1500, 0, {{InsulationResistance, 1500000000000.0, true}, {InsulationTestVoltage, 1000, false}});
}

TEST(Kx440Test, ValuesAreLimitedFromAboveOnly)
{
    ExpectLoneMeasurement<Kx440Translator>(2, 0, -20000, -5, {{InsulationResistance, -5000.0, true}, {InsulationTestVoltage, -20000, false}});
    ExpectLoneMeasurement<Kx440Translator>(3, 0, 0, -32768, {{InsulationResistance, -327680000.0, true}, {InsulationTestVoltage, 0, false}});
    ExpectLoneMeasurement<Kx440Translator>(23, 5, 1200, -3000, {{PolarizationIndex, 0.05, true}, {AbsorptionRatio, 9.99, false, true}, {Capacitance, -0.00003, false}});
    ExpectLoneMeasurement<Kx440Translator>(23, 1000, 100, 1000, {{PolarizationIndex, 9.99, true, true}, {AbsorptionRatio, 1.0, false}, {Capacitance, 0.00000999, false, true}});
    ExpectLoneMeasurement<Kx440Translator>(15, 150, 2000, 32767, {{AbsorptionRatio, 1.5, true}, {Capacitance, 0.00000999, false, true}});
    ExpectLoneMeasurement<Kx440Translator>(30, 32767, 2000, 0, {{ProtectionTestVoltage, 1999, true, true}});
    // Voltage: no limit at all.
    ExpectLoneMeasurement<Kx440Translator>(1, 32767, 0, 0, {{Voltage, 32767, true}});
    ExpectLoneMeasurement<Kx440Translator>(1, -32768, 0, 0, {{Voltage, -32768, true}});
}

TEST(Kx440Test, KindsWithoutItems)
{
    for (int kind : {0, 9, 14, 16, 22, 24, 29, 38, 127, 0x80, 0x83, 0xFF})
        ExpectLoneMeasurement<Kx440Translator>(kind, 100, 100, 100, {});
}

TEST(Kx440Test, IsMadeByTheFactoryForItsCode)
{
    ExpectFactoryModel<Kx440Translator>(ModelCode::Kx440, "Kx440", false);
    // Whole transfer blocks that hold all 10000 records.
    const auto t = CreateTranslatorForModel(ModelCode::Kx440, 0);
    EXPECT_GE(t->GetDataLength(), 80000);
    EXPECT_EQ(t->GetDataLength() % t->GetBlockSize(), 0);
}
