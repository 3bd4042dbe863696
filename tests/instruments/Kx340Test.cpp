#include <gtest/gtest.h>

#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/Kx340Translator.h"
#include "instruments/QuantityTable.h"

#include <string>

namespace {

// The quantities the records give, by name.
using namespace Quantity;

// Record i: record byte, values A and B, their sub-kinds.
void PutRecord(Kx340Translator& t, int index, int recordByte, int a, int b, int subA = 0, int subB = 0)
{
    const int at = 8 * index;
    PutBytes(t, at, {recordByte});
    PutInt16(t, at + 1, a);
    PutInt16(t, at + 3, b);
    PutBytes(t, at + 5, {subA, subB, 0});
}

void PutNumber(Kx340Translator& t, int index, int number)
{
    PutRecord(t, index, 15, number % 10000, number / 10000);
}

// One measurement record after the number 1: bank "1" with its number item,
// then these.
void ExpectRecord(int recordByte, int a, int b, int subA, int subB, std::initializer_list<ExpectedItem> items)
{
    SCOPED_TRACE("record byte " + std::to_string(recordByte) + " sub-kinds " + std::to_string(subA) + "/"
                 + std::to_string(subB));
    Kx340Translator t(1);
    PutNumber(t, 0, 1);
    PutRecord(t, 1, recordByte, a, b, subA, subB);
    InstrumentData data;
    t.DecodeData(data);
    ASSERT_EQ(BankNames(data), QList<QByteArray>{"1"});
    ExpectItem(data.GetBank(0)->GetItem(0), {Quantity::InstrumentNumber, 1, false});
    ExpectItems(data.GetBank(0), 1, items);
}

} // namespace

TEST(Kx340Test, BlankImageGivesNoBanks)
{
    Kx340Translator t(1);
    ExpectBlankImageGivesNoBanks(t);
}

TEST(Kx340Test, NumberRecordsOpenNumberBanks)
{
    Kx340Translator t(0);
    PutRecord(t, 0, 1, 2300, 500);         // before any number: bank "0"
    PutRecord(t, 1, 15, 2345, 1);          // 12345
    PutRecord(t, 2, 5, 100, 95);
    PutRecord(t, 3, 15, 5, -1);            // 5 - 10000
    PutRecord(t, 4, 15 | 0x20, 77, 77);    // type 15 but not a number record
    PutRecord(t, 5, 0x81, 1, 1);           // record bytes 128 and above are not records
    PutRecord(t, 6, 0, 1, 1);
    PutRecord(t, 999, 2, 150, 0);          // the last record
    PutRecord(t, 1000, 15, 9, 0);          // past the last record
    PutRecord(t, 1001, 1, 9, 0);
    InstrumentData data;
    t.DecodeData(data);

    ASSERT_EQ(BankNames(data), (QList<QByteArray>{"0", "12345", "-9995"}));
    for (int i = 0; i < data.GetCount(); ++i)
        EXPECT_EQ(data.GetBank(i)->GetTypeCode(), InstrumentNumber::TypeCode);
    ExpectItems(data.GetBank(0), 0, {{Quantity::InstrumentNumber, 0, false}, {VoltageLN, 230.0, true}, {Frequency, 50.0, false}});
    ExpectItems(data.GetBank(1), 0, {{Quantity::InstrumentNumber, 12345, false}, {ActivePower, 100, true}, {PowerFactor, 0.95, false}});
    ExpectItems(data.GetBank(2), 0, {{Quantity::InstrumentNumber, -9995, false}, {ApplianceCurrent, 1.5, true}, {Frequency, 0.0, false}});
}

TEST(Kx340Test, GroupSameNumberGathersARecurringNumber)
{
    auto decode = [](int group) {
        auto t = std::make_unique<Kx340Translator>(group);
        PutNumber(*t, 0, 5);
        PutRecord(*t, 1, 1, 2300, 500);
        PutNumber(*t, 2, 5);  // the same number again at once: always the same bank
        PutRecord(*t, 3, 1, 2310, 500);
        PutNumber(*t, 4, 6);
        PutRecord(*t, 5, 1, 2320, 500);
        PutNumber(*t, 6, 5);  // back after another number
        PutRecord(*t, 7, 1, 2330, 500);
        PutNumber(*t, 8, 7);  // a number without measurements keeps its bank
        auto data = std::make_unique<InstrumentData>();
        t->DecodeData(*data);
        return data;
    };

    auto grouped = decode(1);
    ASSERT_EQ(BankNames(*grouped), (QList<QByteArray>{"5", "6", "7"}));
    ExpectItems(grouped->GetBank(0), 0,
                {{Quantity::InstrumentNumber, 5, false}, {VoltageLN, 230.0, true}, {Frequency, 50.0, false}, {VoltageLN, 231.0, true}, {Frequency, 50.0, false},
                 {VoltageLN, 233.0, true}, {Frequency, 50.0, false}});
    ExpectItems(grouped->GetBank(1), 0, {{Quantity::InstrumentNumber, 6, false}, {VoltageLN, 232.0, true}, {Frequency, 50.0, false}});
    ExpectItems(grouped->GetBank(2), 0, {{Quantity::InstrumentNumber, 7, false}});

    auto separate = decode(0);
    ASSERT_EQ(BankNames(*separate), (QList<QByteArray>{"5", "6", "5", "7"}));
    ExpectItems(separate->GetBank(0), 0,
                {{Quantity::InstrumentNumber, 5, false}, {VoltageLN, 230.0, true}, {Frequency, 50.0, false}, {VoltageLN, 231.0, true}, {Frequency, 50.0, false}});
    ExpectItems(separate->GetBank(2), 0, {{Quantity::InstrumentNumber, 5, false}, {VoltageLN, 233.0, true}, {Frequency, 50.0, false}});
}

TEST(Kx340Test, InsulationResistanceTakesTheDecadeFromItsSubKind)
{
    ExpectRecord(3, -150, 500, 3, 0, {{InsulationResistance, 1500000.0, true}, {InsulationTestVoltage, 500, false}});
    ExpectRecord(3, 150, 500, 2, 0, {{InsulationResistance, 15000000.0, true}, {InsulationTestVoltage, 500, false}});
    ExpectRecord(3, 150, 10000, 4, 0, {{InsulationResistance, 150000.0, true}, {InsulationTestVoltage, 9999, false, true}});
    // Clamped before its magnitude is taken: over range, shown as ">".
    ExpectRecord(3, -32768, 250, 4, 0, {{InsulationResistance, 3999000.0, true, true}, {InsulationTestVoltage, 250, false}});
    ExpectRecord(3, 4000, 250, 2, 0, {{InsulationResistance, 399900000.0, true, true}, {InsulationTestVoltage, 250, false}});
    // Another sub-kind gives no resistance; the test voltage still counts.
    ExpectRecord(3, 150, 500, 5, 0, {{InsulationTestVoltage, 500, false}});
    ExpectRecord(3, 150, 500, 0, 0, {{InsulationTestVoltage, 500, false}});
}

TEST(Kx340Test, ProtectiveConductorRangeComesFromItsSubKind)
{
    ExpectRecord(4, 2500, 0, 4, 0, {{ProtectiveConductorResistance, 2.5, true}});
    ExpectRecord(4, 4000, 0, 4, 0, {{ProtectiveConductorResistance, 3.999, true, true}});
    ExpectRecord(4, 2500, 0, 1, 0, {{ProtectiveConductorResistance, 19.99, true, true}});
    ExpectRecord(4, -1999, 0, 0, 0, {{ProtectiveConductorResistance, -19.99, true}});
    ExpectRecord(14, 1000, 1000, 0, 0, {{ProtectiveConductorResistance, 0.999, true, true}, {ResistorVoltage, 9.99, false, true}});
}

TEST(Kx340Test, CurrentsAndSpeedStoreTheirMainValueSecond)
{
    ExpectRecord(9, 77, 1450, 0, 0, {{Revolutions, 1450, true}});
    ExpectRecord(10, 77, 250, 0, 0, {{ProtectiveConductorCurrent, 0.0025, true}});
    ExpectRecord(11, 1234, 700, 0, 0, {{TouchCurrent, 0.0007, true}, {VoltageUF, 1.234, false}});
    ExpectRecord(11, 10000, 4000, 0, 0, {{TouchCurrent, 0.003999, true, true}, {VoltageUF, 9.999, false, true}});
}

TEST(Kx340Test, TypeTableGivesQuantitiesScalesAndLimits)
{
    ExpectRecord(1, 4000, 2000, 0, 0, {{VoltageLN, 399.9, true, true}, {Frequency, 199.9, false, true}});
    ExpectRecord(2, 1999, -2000, 0, 0, {{ApplianceCurrent, 19.99, true}, {Frequency, -199.9, false, true}});
    ExpectRecord(6, 3999, 1000, 0, 0, {{ApparentPower, 3999, true}, {PowerFactor, 9.99, false, true}});
    ExpectRecord(8, -4000, 1, 0, 0, {{Temperature, -399.9, true, true}});
    ExpectRecord(12, 123, 1, 0, 0, {{SubstitutedLeakageCurrent, 0.00123, true}});
    ExpectRecord(13, 2000, 1, 0, 0, {{DifferentialLeakageCurrent, 0.01999, true, true}});
    ExpectRecord(16, 500, 1, 0, 0, {{Frequency, 50.0, true}});
    ExpectRecord(17, 95, 1, 0, 0, {{PowerFactor, 0.95, true}});
    ExpectRecord(18, 120, 1, 0, 0, {{ResistorVoltage, 1.2, true}});
    ExpectRecord(19, 10000, 1, 0, 0, {{InsulationTestVoltage, 9999, true, true}});
    ExpectRecord(20, 1500, 1, 0, 0, {{VoltageUF, 1.5, true}});
    // The record byte's upper bits are not part of the type.
    ExpectRecord(0x40 | 17, 95, 1, 0, 0, {{PowerFactor, 0.95, true}});
    // Types without a row: the bank only.
    ExpectRecord(7, 1, 1, 0, 0, {});
    ExpectRecord(21, 1, 1, 0, 0, {});
    ExpectRecord(32, 1, 1, 0, 0, {});
}

TEST(Kx340Test, SettingsAreNotReadButTheDescriptionIsCleared)
{
    Kx340Translator t(1);
    InstrumentSetup setup;
    setup.AddBank(std::make_unique<InstrumentSetupBank>(0));
    t.DecodeSetup(setup);
    EXPECT_EQ(setup.GetCount(), 0);
    EXPECT_EQ(t.GetGroupSameNumber(), 1);
}

TEST(Kx340Test, IsMadeByTheFactoryForItsCode)
{
    ExpectFactoryModel<Kx340Translator>(ModelCode::Kx340, "Kx340", false);
    const auto t = CreateTranslatorForModel(ModelCode::Kx340, 1);
    EXPECT_EQ(dynamic_cast<const Kx340Translator&>(*t).GetGroupSameNumber(), 1);
    EXPECT_FALSE(t->UsesNumberedBlocks());
}
