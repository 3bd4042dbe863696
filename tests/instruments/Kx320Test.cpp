#include <gtest/gtest.h>

#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "instruments/Kx320Translator.h"
#include "instruments/QuantityTable.h"

#include <string>

namespace {

// The quantities the records give, by name.
using namespace Quantity;

// Record i: bank byte, type (bits 0-4) with range (bits 6-7), values A, B, C.
void PutRecord(Kx320Translator& t, int index, int bank, int type, int range, int a, int b, int c)
{
    const int at = 8 * index;
    PutBytes(t, at, {bank, type | range << 6});
    PutInt16(t, at + 2, a);
    PutInt16(t, at + 4, b);
    PutInt16(t, at + 6, c);
}

// One record alone in bank byte 0 gives bank "1": its number item, then these.
void ExpectRecord(int type, int range, int a, int b, int c, std::initializer_list<ExpectedItem> items)
{
    SCOPED_TRACE("type " + std::to_string(type) + " range " + std::to_string(range));
    Kx320Translator t;
    PutRecord(t, 0, 0, type, range, a, b, c);
    InstrumentData data;
    t.DecodeData(data);
    ASSERT_EQ(data.GetCount(), 1);
    ExpectItem(data.GetBank(0)->GetItem(0), {Bank, 1, false});
    ExpectItems(data.GetBank(0), 1, items);
}

} // namespace

TEST(Kx320Test, BlankImageGivesNoBanks)
{
    Kx320Translator t;
    ExpectBlankImageGivesNoBanks(t);
}

TEST(Kx320Test, RecordsGatherInNumberedBanksBySlot)
{
    Kx320Translator t;
    PutRecord(t, 0, 2, 1, 0, 230, 0, 0);    // bank "3"
    PutRecord(t, 1, 0, 6, 0, 12, 0, 0);     // bank "1"
    PutRecord(t, 5, 2, 2, 0, 231, 0, 0);    // bank "3" again, after another bank
    PutRecord(t, 7, 4, 17, 0, 1, 1, 1);     // unknown type, a bank of its own
    PutRecord(t, 1019, 253, 1, 0, 5, 0, 0); // the last record
    PutBytes(t, 8 * 1020, {0, 1});          // past the last record: not a record
    InstrumentData data;
    t.DecodeData(data);

    ASSERT_EQ(BankNames(data), (QList<QByteArray>{"3", "1", "5", "254"}));
    for (int i = 0; i < data.GetCount(); ++i)
        EXPECT_EQ(data.GetBank(i)->GetTypeCode(), InstrumentBank::TypeCode);
    ExpectItems(data.GetBank(0), 0,
                {{Bank, 3, false}, {VoltageLPE, 230, true}, {VoltageLN, 0, false}, {VoltageLN, 0, false},
                 {VoltageLN, 231, true}, {VoltageLN, 0, false}, {VoltageLN, 0, false}});
    ExpectItems(data.GetBank(1), 0, {{Bank, 1, false}, {LoopImpedance, 12, true}, {ShortCircuitCurrent, 0, false}, {VoltageLN, 0, false}});
    ExpectItems(data.GetBank(2), 0, {{Bank, 5, false}, {VoltageLN, 1, false}, {VoltageLN, 1, false}});
    ExpectItems(data.GetBank(3), 0, {{Bank, 254, false}, {VoltageLPE, 5, true}, {VoltageLN, 0, false}, {VoltageLN, 0, false}});
}

TEST(Kx320Test, RangeBitsChooseTheDecodingOfTheSecondValue)
{
    // Loop impedance with range 1: the short-circuit current in tenths.
    ExpectRecord(5, 1, 123, 456, 229, {{LoopImpedance, 12.3, true}, {ShortCircuitCurrent, 45.6, false}, {VoltageLN, 229, false}});
    // Bit 5 of the type byte is not part of the type.
    ExpectRecord(5 | 0x20, 1, 123, 456, 229, {{LoopImpedance, 12.3, true}, {ShortCircuitCurrent, 45.6, false}, {VoltageLN, 229, false}});
    // Voltages: ULPE second and the frequency in tenths third.
    ExpectRecord(0, 0, 230, 231, 500, {{VoltageLN, 230, true}, {VoltageLPE, 231, false}, {Frequency, 50.0, false}});
    ExpectRecord(0, 3, 230, 231, 500, {{VoltageLN, 230, true}, {LoopImpedance, 2.31, false}, {Frequency, 50.0, false}});
    ExpectRecord(4, 3, 15, 2000, 230, {{LoopImpedance, 0.15, true}, {ShortCircuitCurrent, 1.999, false, true}, {VoltageLN, 230, false}});
    ExpectRecord(8, 3, 1500, 100, 230, {{ResistorCurrent, 1.5, true}, {Frequency, 10.0, false}, {VoltageLN, 230, false}});
    // Protective conductor with its test current; range bits do not apply.
    ExpectRecord(24, 3, 12, 200, 230, {{ProtectiveConductorResistance, 0.12, true}, {ResistorCurrent, 0.2, false}, {VoltageLN, 230, false}});
    ExpectRecord(23, 2, 1234, 7, 230, {{ShortCircuitCurrent, 1.234, true}, {VoltageLN, 7, false}, {VoltageLN, 230, false}});
}

TEST(Kx320Test, ResidualCurrentTestsCarryTheRatedCurrent)
{
    ExpectRecord(14, 0, 25, 12, 0x0102, {{TrippingTime, 0.025, true, false, "30 mA"}, {RcdTouchVoltage, 1.2, false}});
    // Touch voltage: the range picks the second value's type (ZS in three ranges, or the current).
    ExpectRecord(9, 3, 15, 250, 0, {{RcdTouchVoltage, 1.5, true, false, "6 mA"}, {ResistorCurrent, 0.25, false}});
    ExpectRecord(9, 0, 15, 250, 5, {{RcdTouchVoltage, 1.5, true, false, "500 mA"}, {LoopImpedance, 25.0, false}});
    ExpectRecord(12, 2, 150, 10, 3, {{TrippingCurrent, 0.000015, true, false, "100 mA"}, {RcdTouchVoltage, 1.0, false}});
    ExpectRecord(16, 0, 40, 10, 4, {{TrippingTimeFiveTimes, 0.04, true, false, "300 mA"}, {RcdTouchVoltage, 1.0, false}});
    ExpectRecord(10, 0, 30, 10, 1, {{TrippingCurrent, 0.00003, true, false, "10 mA"}, {RcdTouchVoltage, 1.0, false}});
    // Selectors 6 and 7 name no rated current.
    ExpectRecord(15, 0, 25, 12, 6, {{TrippingTime, 0.025, true}, {RcdTouchVoltage, 1.2, false}});
    ExpectRecord(11, 0, 25, 12, -1, {{TrippingCurrent, 0.000025, true}, {RcdTouchVoltage, 1.2, false}});
}

TEST(Kx320Test, ValuesAreClampedToTheRangeWithTheOverFlag)
{
    ExpectRecord(6, 0, 2000, -2000, 1999, {{LoopImpedance, 1999, true, true}, {ShortCircuitCurrent, -1999, false, true}, {VoltageLN, 1999, false}});
    ExpectRecord(6, 0, -32768, 32767, -1999,
                 {{LoopImpedance, -1999, true, true}, {ShortCircuitCurrent, 1999, false, true}, {VoltageLN, -1999, false}});
}

TEST(Kx320Test, MainResultTypesTheOtherTestsDoNotReach)
{
    ExpectRecord(2, 0, 231, 5, 230, {{VoltageLN, 231, true}, {VoltageLN, 5, false}, {VoltageLN, 230, false}});
    ExpectRecord(3, 2, 500, 7, 230, {{Frequency, 50.0, true}, {VoltageLN, 7, false}, {VoltageLN, 230, false}});
    ExpectRecord(7, 2, 45, 1234, 230, {{LoopImpedance, 0.45, true}, {ShortCircuitCurrent, 12.34, false}, {VoltageLN, 230, false}});
    ExpectRecord(13, 1, 300, 15, 2, {{TrippingCurrent, 0.00003, true, false, "30 mA"}, {RcdTouchVoltage, 1.5, false}});
    // Past type 8 the range bits no longer shift the second value's type.
    ExpectRecord(20, 3, 150, 7, 230, {{ShortCircuitCurrent, 150, true}, {VoltageLN, 7, false}, {VoltageLN, 230, false}});
    ExpectRecord(21, 0, 150, 7, 230, {{ShortCircuitCurrent, 15.0, true}, {VoltageLN, 7, false}, {VoltageLN, 230, false}});
    ExpectRecord(22, 0, 150, 7, 230, {{ShortCircuitCurrent, 1.5, true}, {VoltageLN, 7, false}, {VoltageLN, 230, false}});
}

TEST(Kx320Test, UnknownTypesStillGiveTheirOtherValues)
{
    for (int type : {17, 18, 19, 25, 31})
        ExpectRecord(type, 3, 1, 2, 3, {{VoltageLN, 2, false}, {VoltageLN, 3, false}});
}

TEST(Kx320Test, IsMadeByTheFactoryForItsCode)
{
    ExpectFactoryModel<Kx320Translator>(ModelCode::Kx320, "Kx320", false);
    EXPECT_FALSE(CreateTranslatorForModel(ModelCode::Kx320, 0)->UsesNumberedBlocks());
}
