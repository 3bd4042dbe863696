#include <gtest/gtest.h>

#include "common/ScopedGuards.h"
#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/Kx420Translator.h"
#include "instruments/QuantityTable.h"
#include "platform/DateTime.h"

#include <QDateTime>

#include <vector>

namespace {

// The quantities the records give, by name.
using namespace Quantity;

constexpr int Record(int index) { return Kx420Translator::RecordStart + 8 * index; }

void PutHeader(InstrumentTranslator& t, int index, std::initializer_list<int> digits)
{
    PutBytes(t, Record(index), {0});
    PutBytes(t, Record(index) + 1, digits);
}

// Decodes one measurement record (after no header: bank "0").
std::unique_ptr<InstrumentData> DecodeOne(int kind, int first, int second)
{
    Kx420Translator t(1);
    PutMeasurement(t, Record(0), kind, first, second);
    auto data = std::make_unique<InstrumentData>();
    t.DecodeData(*data);
    return data;
}

const InstrumentBank* OnlyBank(const std::unique_ptr<InstrumentData>& data)
{
    EXPECT_EQ(data->GetCount(), 1);
    return data->GetBank(0);
}

} // namespace

TEST(Kx420DecodeTest, ErasedMemoryGivesNoBanks)
{
    Kx420Translator t(1);
    InstrumentData data;
    data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("old")));
    t.DecodeData(data);
    EXPECT_EQ(data.GetCount(), 0);

    // The data area's header block is not decoded, nor what lies past the records.
    PutBytes(t, Kx420Translator::DataHeaderStart, {1, 0, 5, 0, 0, 0, 0, 0});
    PutMeasurement(t, Record(Kx420Translator::RecordCount), 0, 5);
    t.DecodeData(data);
    EXPECT_EQ(data.GetCount(), 0);
}

TEST(Kx420DecodeTest, HeadersNameBanksByTheirBcdDigits)
{
    Kx420Translator t(0);
    PutHeader(t, 0, {0x00, 0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFF});
    PutMeasurement(t, Record(1), 4, 2300);
    PutHeader(t, 2, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}); // no digit at all
    PutMeasurement(t, Record(3), 4, 2300);
    PutHeader(t, 4, {0x1A, 0xB2, 0xFF, 0xFF, 0xFF, 0xFF, 0xC3});
    PutMeasurement(t, Record(5), 4, 2300);
    PutHeader(t, 6, {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34});
    PutMeasurement(t, Record(9999), 4, 2300); // the very last record counts too
    InstrumentData data;
    t.DecodeData(data);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"001234", "0", "123", "12345678901234"}));
    for (int i = 0; i < data.GetCount(); ++i)
        EXPECT_NE(dynamic_cast<::InstrumentNumber*>(data.GetBank(i)), nullptr);
}

TEST(Kx420DecodeTest, GroupSameNumberDecidesWhetherARepeatedHeaderContinuesItsBank)
{
    for (int group : {0, 1}) {
        Kx420Translator t(group);
        PutMeasurement(t, Record(0), 9, 215); // before any header: bank "0"
        PutHeader(t, 1, {0x55, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        PutMeasurement(t, Record(2), 9, 1);
        PutHeader(t, 3, {0x66, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        PutMeasurement(t, Record(4), 9, 2);
        PutHeader(t, 5, {0x55, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        PutMeasurement(t, Record(6), 9, 3);
        PutHeader(t, 7, {0xF0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}); // "0" again
        PutMeasurement(t, Record(8), 9, 4);
        InstrumentData data;
        t.DecodeData(data);
        if (group == 1) {
            EXPECT_EQ(BankNames(data), (QList<QByteArray>{"0", "55", "66"}));
            ExpectItems(data.GetBank(0), 0, {{Temperature, 21.5, true}, {Temperature, 0.4, true}});
            ExpectItems(data.GetBank(1), 0, {{Temperature, 0.1, true}, {Temperature, 0.3, true}});
        } else {
            EXPECT_EQ(BankNames(data), (QList<QByteArray>{"0", "55", "66", "55", "0"}));
            ExpectItems(data.GetBank(3), 0, {{Temperature, 0.3, true}});
        }
    }
}

TEST(Kx420DecodeTest, BanksWithoutItemsAreRemoved)
{
    Kx420Translator t(1);
    PutHeader(t, 0, {0x11, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    PutMeasurement(t, Record(1), 7, 100);   // kind without items
    PutMeasurement(t, Record(2), 64, 100);
    PutMeasurement(t, Record(3), 255, 100);
    PutBytes(t, Record(4), {3, 0, 1, 0});     // unknown record type
    PutHeader(t, 5, {0x22, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    PutMeasurement(t, Record(6), 45, 2301);
    InstrumentData data;
    t.DecodeData(data);
    EXPECT_EQ(BankNames(data), QList<QByteArray>{"22"});
    ExpectItems(data.GetBank(0), 0, {{ResidualVoltage, 230.1, true}});
}

TEST(Kx420DecodeTest, InsulationClampsEachValueToItsOwnLimit)
{
    ExpectItems(OnlyBank(DecodeOne(0, 4000, 500)), 0, {{InsulationResistance, 3999000.0, true, true}, {InsulationTestVoltage, 500.0, false, false}});
    ExpectItems(OnlyBank(DecodeOne(0, 3999, -1000)), 0, {{InsulationResistance, 3999000.0, true, false}, {InsulationTestVoltage, -999.0, false, true}});
    ExpectItems(OnlyBank(DecodeOne(1, -4000, 999)), 0, {{InsulationResistance, -39990000.0, true, true}, {InsulationTestVoltage, 999.0, false, false}});
    ExpectItems(OnlyBank(DecodeOne(2, 12, 250)), 0, {{InsulationResistance, 1200000.0, true}, {InsulationTestVoltage, 250.0, false}});
}

TEST(Kx420DecodeTest, TwoValueKindsUseTheirTables)
{
    ExpectItems(OnlyBank(DecodeOne(3, 1234, 500)), 0, {{ApplianceCurrent, 12.34, true}, {Frequency, 50.0, false}});
    ExpectItems(OnlyBank(DecodeOne(4, 2300, 1000)), 0, {{VoltageLN, 230.0, true}, {Frequency, 99.9, false, true}});
    ExpectItems(OnlyBank(DecodeOne(5, 10000, 200)), 0, {{ActivePower, 9999.0, true, true}, {PowerFactor, 1.99, false, true}});
    ExpectItems(OnlyBank(DecodeOne(6, 9999, -199)), 0, {{ApparentPower, 9999.0, true}, {PowerFactor, -1.99, false}});
    // Both values of a protective-conductor test are main results.
    ExpectItems(OnlyBank(DecodeOne(8, 2000, 150)), 0, {{ProtectiveConductorResistance, 19.99, true, true}, {ResistorVoltage, 1.5, true}});
    ExpectItems(OnlyBank(DecodeOne(35, 4000, 10000)),
                0, {{TouchCurrent, 0.003999, true, true}, {VoltageUF, 9.999, false, true}});
    ExpectItems(OnlyBank(DecodeOne(42, 12, 9999)), 0, {{TouchCurrent, 0.000012, true}, {VoltageUF, 9.999, false}});
}

TEST(Kx420DecodeTest, AdapterKindsCarryTheirNoteOnTheMainItemOnly)
{
    ExpectItems(OnlyBank(DecodeOne(18, 2300, 500)), 0, {{VoltageLN, 230.0, true, false, "KD420"}, {Frequency, 50.0, false}});
    ExpectItems(OnlyBank(DecodeOne(22, 4000, 500)), 0, {{ApplianceCurrent, 39.99, true, true, "KD420"}, {Frequency, 50.0, false}});
    ExpectItems(OnlyBank(DecodeOne(26, 5000, 95)), 0, {{ActivePower, 5000.0, true, false, "KD420"}, {PowerFactor, 0.95, false}});
    ExpectItems(OnlyBank(DecodeOne(30, 5000, 200)), 0, {{ApparentPower, 5000.0, true, false, "KD420"}, {PowerFactor, 1.99, false, true}});
    ExpectItems(OnlyBank(DecodeOne(31, 3000, 0)), 0, {{TrippingCurrent, 0.03, true, false, "KD420"}});
    ExpectItems(OnlyBank(DecodeOne(32, 4000, 0)), 0, {{ProtectiveConductorCurrent, 0.03999, true, true, "KD420"}});
    ExpectItems(OnlyBank(DecodeOne(33, 250, 0)), 0, {{TouchCurrent, 0.00025, true, false, "KD420"}});
}

TEST(Kx420DecodeTest, KindRangesEndWhereTheirRowsEnd)
{
    ExpectItems(OnlyBank(DecodeOne(17, 2300, 500)), 0, {{VoltageLN, 230.0, true, false, "KD420"}, {Frequency, 50.0, false}});
    ExpectItems(OnlyBank(DecodeOne(19, 2300, 500)), 0, {{VoltageLN, 230.0, true, false, "KD420"}, {Frequency, 50.0, false}});
    ExpectItems(OnlyBank(DecodeOne(20, 1234, 500)), 0, {{ApplianceCurrent, 12.34, true, false, "KD420"}, {Frequency, 50.0, false}});
    ExpectItems(OnlyBank(DecodeOne(23, 9999, 200)), 0, {{ActivePower, 9999.0, true, false, "KD420"}, {PowerFactor, 1.99, false, true}});
    ExpectItems(OnlyBank(DecodeOne(25, 100, 95)), 0, {{ActivePower, 100.0, true, false, "KD420"}, {PowerFactor, 0.95, false}});
    ExpectItems(OnlyBank(DecodeOne(27, 10000, 95)), 0, {{ApparentPower, 9999.0, true, true, "KD420"}, {PowerFactor, 0.95, false}});
    ExpectItems(OnlyBank(DecodeOne(29, 100, 95)), 0, {{ApparentPower, 100.0, true, false, "KD420"}, {PowerFactor, 0.95, false}});
    for (int kind : {7, 14, 15, 16, 34, 46, 51, 57, 64, 100, 127, 128, 255}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(DecodeOne(kind, 100, 100)->GetCount(), 0);
    }
}

TEST(Kx420DecodeTest, SingleValueKindsUseTheirLimitsAndScales)
{
    struct Case
    {
        int Kind;
        int Raw;
        ExpectedItem Item;
    };
    const Case cases[] = {
        {9, -4000, {Temperature, -399.9, true, true}},
        {10, 2000, {TrippingCurrent, 0.01999, true, true}},
        {40, 1500, {TrippingCurrent, 0.015, true}},
        {11, 9999, {Revolutions, 9999.0, true}},
        {11, 10000, {Revolutions, 9999.0, true, true}},
        {12, 30, {SubstitutedLeakageCurrent, 0.0003, true}},
        {13, -2000, {ProtectiveConductorCurrent, -0.01999, true, true}},
        {41, 1999, {ProtectiveConductorCurrent, 0.01999, true}},
        {36, 3999, {LeakageCurrentM1, 0.003999, true}},
        {37, 4000, {LeakageCurrentM2, 0.003999, true, true}},
        {38, 3000, {LeakageCurrentM3, 0.003, true}},
        {43, 3000, {LeakageCurrentM3, 0.003, true}},
        {39, 3000, {LeakageCurrentM4, 0.001999, true, true}},
        {44, 2000, {LeakageCurrentM4, 0.001999, true, true}},
        {45, 3999, {ResidualVoltage, 399.9, true}},
        {58, 1999, {ClampCurrent, 0.1999, true}},
        {59, 2000, {ClampCurrent, 1.999, true, true}},
        {60, 150, {ClampCurrent, 1.5, true}},
        {62, 2300, {VoltageU1M, 199.9, true, true}},
        {63, 500, {CurrentIWP, 0.005, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Kind);
        ExpectItems(OnlyBank(DecodeOne(c.Kind, c.Raw, 12345)), 0, {c.Item});
    }
}

TEST(Kx420DecodeTest, OpenCircuitKindTakesTheSecondValueAsMainResult)
{
    ExpectItems(OnlyBank(DecodeOne(61, 250, 2500)), 0, {{VoltageU0P, 199.9, true, true}, {OpenCircuitVoltage, 19.9, false, true}});
    ExpectItems(OnlyBank(DecodeOne(61, 150, 1999)), 0, {{VoltageU0P, 199.9, true, false}, {OpenCircuitVoltage, 15.0, false, false}});
}

TEST(Kx420DecodeTest, DateRecordsGoToTheCurrentBank)
{
    ScopedClock clock(QDateTime(QDate(2020, 1, 1), QTime(6, 0)));
    Kx420Translator t(1);
    PutHeader(t, 0, {0x42, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    PutBytes(t, Record(1), {2, 0x30, 0x15, 0x10, 0x00, 0x24, 0x12, 0x19});
    PutBytes(t, Record(2), {2, 0x30, 0x15, 0x10, 0x00, 0x32, 0x12, 0x19}); // 32 December
    InstrumentData data;
    t.DecodeData(data);
    ASSERT_EQ(BankNames(data), QList<QByteArray>{"42"});
    const InstrumentBank* bank = data.GetBank(0);
    ASSERT_EQ(bank->GetCount(), 2);
    EXPECT_EQ(bank->GetItem(0)->GetQuantity(), 1000);
    EXPECT_EQ(DateTimeToQDateTime(bank->GetItem(0)->GetValue()), QDateTime(QDate(2019, 12, 24), QTime(10, 15, 30)));
    EXPECT_FALSE(bank->GetItem(0)->IsPrimary());
    EXPECT_EQ(bank->GetItem(1)->GetQuantity(), 1000);
    EXPECT_DOUBLE_EQ(bank->GetItem(1)->GetValue(), 0.25);
}

// ------------------------------------------------------------------ settings

namespace {

struct Settings
{
    int Language;
    int Beep;
    float BeepLimit;
};

Settings Read(const InstrumentSetup& setup)
{
    const InstrumentSetupBank* group = setup.FindBank(0);
    EXPECT_NE(group, nullptr);
    EXPECT_EQ(setup.GetCount(), 1);
    if (!group || group->GetCount() != 3)
        return {-1, -1, -1};
    EXPECT_EQ(group->GetItem(0)->GetId(), 7);
    EXPECT_EQ(group->GetItem(1)->GetId(), 8);
    EXPECT_EQ(group->GetItem(2)->GetId(), 9);
    auto* language = dynamic_cast<InstrumentSetupItemChoice*>(group->GetItem(0));
    auto* beep = dynamic_cast<InstrumentSetupItemChoice*>(group->GetItem(1));
    auto* limit = dynamic_cast<InstrumentSetupItemNumber*>(group->GetItem(2));
    if (!language || !beep || !limit)
        return {-1, -1, -1};
    EXPECT_EQ(limit->GetUnit(), QStringLiteral("\u03A9"));
    return {language->GetSelected(), beep->GetSelected(), limit->GetValue()};
}

InstrumentSetupItemNumber* Limit(InstrumentSetup& setup)
{
    return dynamic_cast<InstrumentSetupItemNumber*>(setup.FindBank(0)->FindItem(9));
}

InstrumentSetupItemChoice* Choice(InstrumentSetup& setup, int id)
{
    return dynamic_cast<InstrumentSetupItemChoice*>(setup.FindBank(0)->FindItem(id));
}

} // namespace

TEST(Kx420SetupTest, DecodesTheThreeSettings)
{
    Kx420Translator t(1);
    PutBytes(t, 0, {1, 0, 0x2C, 0x01});
    InstrumentSetup setup;
    setup.AddBank(std::make_unique<InstrumentSetupBank>(3));
    t.DecodeSetup(setup);
    const Settings s = Read(setup);
    EXPECT_EQ(s.Language, 1);
    EXPECT_EQ(s.Beep, 0);
    EXPECT_FLOAT_EQ(s.BeepLimit, 3.0f);
}

TEST(Kx420SetupTest, ErasedSetupGivesValidChoicesAndTheWordsFullRange)
{
    Kx420Translator t(1);
    InstrumentSetup setup;
    t.DecodeSetup(setup);
    const Settings s = Read(setup);
    EXPECT_EQ(s.Language, 1); // 0xFF: the last option
    EXPECT_EQ(s.Beep, 1);
    // 0xFFFF read unsigned, and accepted by the setting's own limits.
    EXPECT_FLOAT_EQ(s.BeepLimit, 655.35f);
    EXPECT_TRUE(Limit(setup)->SetValue(655.35f));
    EXPECT_FALSE(Limit(setup)->SetValue(656.0f));
    EXPECT_FALSE(Limit(setup)->SetValue(-1.0f));
}

TEST(Kx420SetupTest, FactorySettingsEncodeToKnownBytes)
{
    Kx420Translator t(1);
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    const Settings s = Read(setup);
    EXPECT_EQ(s.Language, 0);
    EXPECT_EQ(s.Beep, 1);
    EXPECT_FLOAT_EQ(s.BeepLimit, 1.0f);

    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetByte(0), 0);
    EXPECT_EQ(t.GetByte(1), 1);
    EXPECT_EQ(t.GetUInt16(2), 100);
    EXPECT_EQ(t.GetByte(4), 0xFF);
    EXPECT_EQ(t.GetByte(511), 0xFF);

    // Zero switches the beep off and is allowed.
    EXPECT_TRUE(Limit(setup)->SetValue(0.0f));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetUInt16(2), 0);
}

TEST(Kx420SetupTest, EditingOneSettingChangesOnlyItsBytes)
{
    Kx420Translator t(1);
    for (int i = 0; i < 512; ++i)
        t.SetByte(i, static_cast<uint8_t>(i * 37 + 11));
    PutBytes(t, 0, {0, 1, 0x2C, 0x01});
    InstrumentSetup setup;
    t.DecodeSetup(setup);

    std::vector<uint8_t> expected = t.GetImage();
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetImage(), expected); // decode then encode is the identity

    ASSERT_TRUE(Limit(setup)->SetValue(1.15f)); // x 100 rounded, not truncated to 114
    t.EncodeSetup(setup);
    expected[2] = 115;
    expected[3] = 0;
    EXPECT_EQ(t.GetImage(), expected);

    Choice(setup, 7)->SetSelected(1);
    t.EncodeSetup(setup);
    expected[0] = 1;
    EXPECT_EQ(t.GetImage(), expected);

    Choice(setup, 8)->SetSelected(0);
    t.EncodeSetup(setup);
    expected[1] = 0;
    EXPECT_EQ(t.GetImage(), expected);
}

TEST(Kx420SetupTest, MissingItemsAndOutOfRangeValuesWriteNothingWrong)
{
    Kx420Translator t(1);
    InstrumentSetup setup;
    t.EncodeSetup(setup); // no group 0
    auto* other = setup.AddBank(std::make_unique<InstrumentSetupBank>(1));
    other->AddItem(std::make_unique<InstrumentSetupItemChoice>(7, 265, 0));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetByte(0), 0xFF);

    auto* group = setup.AddBank(std::make_unique<InstrumentSetupBank>(0));
    group->AddItem(std::make_unique<InstrumentSetupItemChoice>(8, 269, 0));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetByte(0), 0xFF);
    EXPECT_EQ(t.GetByte(1), 0);
    EXPECT_EQ(t.GetUInt16(2), 0xFFFF);

    // A description made elsewhere, without the word's limit: saturated, never wrapped.
    group->AddItem(std::make_unique<InstrumentSetupItemNumber>(9, 1999.0f, QStringLiteral("\u03A9"), 0.0f, 0.0f, true));
    group->AddItem(std::make_unique<InstrumentSetupItemChoice>(7, 265, 9));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetUInt16(2), 0xFFFF);
    EXPECT_EQ(t.GetByte(0), 1); // index past the options: the last option
}
