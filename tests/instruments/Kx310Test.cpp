#include <gtest/gtest.h>

#include "common/SlotTestTools.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/Kx310Translator.h"
#include "instruments/QuantityTable.h"

#include <vector>

namespace {

// The quantities the records give, by name.
using namespace Quantity;

constexpr int General = 0;
constexpr int Copper = Kx310Translator::CopperGroup;
constexpr int Aluminium = Kx310Translator::AluminiumGroup;
const QString SquareMillimetres = QStringLiteral("mm\x1b\x03") + QStringLiteral("2\x1b\x01");

// One case per kind of the layout (and a few kinds that give nothing).
const std::vector<SlotCase> KindCases = {
    {0, {1234}, {{InsulationResistance, 1.234e6, true, false, "50V"}}},
    {1, {1234}, {{InsulationResistance, 1.234e7, true, false, "50V"}}},
    {2, {1234}, {{InsulationResistance, 1.234e8, true, false, "50V"}}},
    {3, {-120}, {{InsulationResistance, 1.2e8, true, false, "50V"}}},
    {4, {5}, {{InsulationResistance, 5e7, true, false, "50V"}}},
    {5, {-15}, {{Temperature, -15, true, false, "PT100"}}},
    {6, {2305}, {{Voltage, 199.9, true, true}}},
    {7, {-230}, {{Voltage, -230, true}}},
    {8, {7}, {{InsulationResistance, 7e3, true, false, "100V"}}},
    {9, {7}, {{InsulationResistance, 7e4, true, false, "100V"}}},
    {10, {7}, {{InsulationResistance, 7e5, true, false, "100V"}}},
    {11, {-7}, {{InsulationResistance, 7e6, true, false, "100V"}}},
    {12, {7}, {{InsulationResistance, 7e7, true, false, "100V"}}},
    {13, {15}, {{ProtectiveConductorResistance, 0.15, true}}},
    {14, {15}, {{ProtectiveConductorResistance, 1.5, true}}},
    {15, {15}, {{ProtectiveConductorResistance, 15, true}}},
    {16, {9}, {{InsulationResistance, 9e3, true, false, "250V"}}},
    {17, {9}, {{InsulationResistance, 9e4, true, false, "250V"}}},
    {18, {9}, {{InsulationResistance, 9e5, true, false, "250V"}}},
    {19, {9}, {{InsulationResistance, 9e6, true, false, "250V"}}},
    {20, {9}, {{InsulationResistance, 9e7, true, false, "250V"}}},
    {21, {25}, {{Temperature, 25, true}}},
    {22, {25}, {}},
    {23, {512}, {{ProtectionTestVoltage, 512, true}}},
    {24, {11}, {{InsulationResistance, 11e3, true, false, "500V"}}},
    {25, {11}, {{InsulationResistance, 11e4, true, false, "500V"}}},
    {26, {11}, {{InsulationResistance, 11e5, true, false, "500V"}}},
    {27, {2500}, {{InsulationResistance, 1999e6, true, true, "500V"}}},
    {28, {11}, {{InsulationResistance, 11e7, true, false, "500V"}}},
    {29, {2301}, {{VoltageLN, 199.9, true, true}}},
    {30, {230}, {{VoltageLN, 230, true}}},
    {31, {230}, {}},
    {32, {13}, {{InsulationResistance, 13e3, true, false, "1000V"}}},
    {33, {13}, {{InsulationResistance, 13e4, true, false, "1000V"}}},
    {34, {13}, {{InsulationResistance, 13e5, true, false, "1000V"}}},
    {35, {13}, {{InsulationResistance, 13e6, true, false, "1000V"}}},
    {36, {13}, {{InsulationResistance, 13e7, true, false, "1000V"}}},
    {37, {1500}, {{ConductorLength, 1.5, true}}},
    {38, {1500}, {{ConductorLength, 15, true}}},
    {39, {1500}, {{ConductorLength, 150, true}}},
    {40, {1500}, {{ConductorLength, 1500, true}}},
    {41, {1500}, {{ConductorLength, 15000, true}}},
    {42, {1}, {}},
    {46, {1}, {}},
    {47, {85}, {{Temperature, 85, true, false, "PT1000"}}},
    {48, {1}, {}},
    {127, {1}, {}},
    {-1, {1}, {}},
    {-128, {1}, {}},
};

// Checks a bank made of its number item and then `items`.
void ExpectNumberedBank(const InstrumentData& data, int number, std::initializer_list<ExpectedItem> items)
{
    const InstrumentBank* bank = data.GetBank(data.FindBankByNumber(number));
    ASSERT_NE(bank, nullptr) << number;
    ASSERT_GE(bank->GetCount(), 1);
    ExpectItem(bank->GetItem(0), {0, static_cast<double>(number), false});
    ExpectItems(bank, 1, items);
}

// The setup area the factory settings give: words, check words and the 32
// bytes after the last section that no encoder touches.
QByteArray FactorySetupArea()
{
    QByteArray area;
    area += Words({125, 282, 350, 500, 1000, 1500, 2500, 4000, 6000, 0, 0, 0, 0, 0, 0});
    area += QByteArray::fromHex("18b9");
    area += Words({1000, 1500, 2500, 4000, 6000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    area += QByteArray::fromHex("71f4");
    area += Words({6000, 100});
    area += QByteArray(26, '\0');
    area += QByteArray::fromHex("1f2a");
    area += QByteArray(32, '\xFF');
    return area;
}

} // namespace

TEST(Kx310DataTest, BlankImageGivesNoBanks)
{
    Kx310Translator t;
    ExpectBlankImageGivesNoBanks(t);
}

TEST(Kx310DataTest, EveryKindDecodesToItsQuantityScaleAndNote)
{
    Kx310Translator t;
    ExpectSlotCases(t, false, KindCases);
}

TEST(Kx310DataTest, RawValuesAreClampedToTheRangeWithTheOverFlag)
{
    Kx310Translator t;
    PutThreeByteSlot(t, 0, 0, 7, 2000);
    PutThreeByteSlot(t, 1, 0, 7, -2000);
    PutThreeByteSlot(t, 2, 0, 7, 1999);
    PutThreeByteSlot(t, 3, 0, 7, -32768);
    // The absolute value of an insulation resistance is taken after clamping.
    PutThreeByteSlot(t, 4, 0, 0, -2500);
    PutThreeByteSlot(t, 5, 0, 13, 32767);
    InstrumentData data;
    t.DecodeData(data);
    ExpectNumberedBank(data, 1,
                       {{Voltage, 1999, true, true},
                        {Voltage, -1999, true, true},
                        {Voltage, 1999, true, false},
                        {Voltage, -1999, true, true},
                        {InsulationResistance, 1999000, true, true, "50V"},
                        {ProtectiveConductorResistance, 19.99, true, true}});
}

TEST(Kx310DataTest, SlotsGatherInBanksByNumberWhereverTheyLie)
{
    Kx310Translator t;
    // Bank byte 4 first (in the second block), then 0, then 4 again in the
    // last slot; 254 is the highest bank byte that is not erased memory.
    PutThreeByteSlot(t, 9, 4, 7, 1);
    PutThreeByteSlot(t, 10, 0, 7, 2);
    PutThreeByteSlot(t, 1999, 4, 7, 3);
    PutThreeByteSlot(t, 1000, 254, 7, 4);
    // An erased bank byte hides a slot whatever it holds.
    PutThreeByteSlot(t, 11, 0xFF, 7, 5);
    // The bytes after the last block belong to no slot.
    PutBytes(t, 8000, {0, 0, 0, 0, 0, 0, 0, 0, 7, 9, 0});
    InstrumentData data;
    t.DecodeData(data);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"5", "1", "255"}));
    ExpectNumberedBank(data, 5, {{Voltage, 1, true}, {Voltage, 3, true}});
    ExpectNumberedBank(data, 1, {{Voltage, 2, true}});
    ExpectNumberedBank(data, 255, {{Voltage, 4, true}});
}

TEST(Kx310DataTest, BanksGatherWhateverTheGroupingOption)
{
    for (int groupSameNumber : {0, 1}) {
        SCOPED_TRACE(groupSameNumber);
        const std::unique_ptr<InstrumentTranslator> t = CreateTranslatorForModel(3, groupSameNumber);
        ASSERT_NE(t, nullptr);
        PutThreeByteSlot(*t, 0, 2, 7, 1);
        PutThreeByteSlot(*t, 9, 0, 7, 2);
        PutThreeByteSlot(*t, 17, 2, 7, 3);
        InstrumentData data;
        t->DecodeData(data);
        EXPECT_EQ(BankNames(data), (QList<QByteArray>{"3", "1"}));
        ExpectNumberedBank(data, 3, {{Voltage, 1, true}, {Voltage, 3, true}});
    }
}

TEST(Kx310DataTest, EverySlotPositionOfABlockIsRead)
{
    Kx310Translator t;
    for (int j = 0; j < 8; ++j)
        PutThreeByteSlot(t, 8 * 249 + j, j, 30, 100 + j);
    InstrumentData data;
    t.DecodeData(data);
    ASSERT_EQ(data.GetCount(), 8);
    for (int j = 0; j < 8; ++j)
        ExpectNumberedBank(data, j + 1, {{1, 100.0 + j, true}});
}

TEST(Kx310SetupTest, FactoryDescriptionHasTheTimesAndCrossSections)
{
    Kx310Translator t;
    InstrumentSetup setup;
    setup.AddBank(std::make_unique<InstrumentSetupBank>(7));
    t.GetDefaultSetup(setup);
    ASSERT_EQ(setup.GetCount(), 3);
    EXPECT_EQ(setup.GetBank(0)->GetId(), General);
    EXPECT_EQ(setup.GetBank(1)->GetId(), Copper);
    EXPECT_EQ(setup.GetBank(2)->GetId(), Aluminium);

    ASSERT_EQ(setup.GetBank(0)->GetCount(), 2);
    EXPECT_EQ(NumberItem(setup, 0, 0)->GetId(), 0);
    EXPECT_EQ(NumberItem(setup, 0, 0)->GetValue(), 120.0f);
    EXPECT_EQ(NumberItem(setup, 0, 0)->GetUnit(), QStringLiteral("s"));
    EXPECT_EQ(NumberItem(setup, 0, 1)->GetId(), 1);
    EXPECT_EQ(NumberItem(setup, 0, 1)->GetValue(), 2.0f);

    const float copper[] = {0.125f, 0.282f, 0.35f, 0.5f, 1, 1.5f, 2.5f, 4, 6, 0, 0, 0, 0, 0, 0};
    const float aluminium[] = {1, 1.5f, 2.5f, 4, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(setup.GetBank(1)->GetCount(), 15);
    ASSERT_EQ(setup.GetBank(2)->GetCount(), 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(NumberItem(setup, 1, i)->GetId(), Kx310Translator::CopperItem);
        EXPECT_EQ(NumberItem(setup, 1, i)->GetValue(), copper[i]) << i;
        EXPECT_EQ(NumberItem(setup, 1, i)->GetUnit(), SquareMillimetres);
        EXPECT_EQ(NumberItem(setup, 2, i)->GetId(), Kx310Translator::AluminiumItem);
        EXPECT_EQ(NumberItem(setup, 2, i)->GetValue(), aluminium[i]) << i;
    }
}

TEST(Kx310SetupTest, SettingsKeepTheirLimits)
{
    Kx310Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    EXPECT_FALSE(SetNumber(setup, General, 0, 59));
    EXPECT_TRUE(SetNumber(setup, General, 0, 0));
    EXPECT_TRUE(SetNumber(setup, General, 0, 1000));
    EXPECT_FALSE(SetNumber(setup, General, 0, 1001));
    EXPECT_FALSE(SetNumber(setup, General, 1, 1.5f));
    EXPECT_TRUE(SetNumber(setup, General, 1, 2));

    // Cross-sections lie within 0.125 .. 10 mm² and are never 0.
    InstrumentSetupItemNumber* first = NumberItem(setup, 1, 0);
    EXPECT_FALSE(first->SetValue(0));
    EXPECT_FALSE(first->SetValue(0.1f));
    EXPECT_FALSE(first->SetValue(10.5f));
    EXPECT_TRUE(first->SetValue(10));
}

TEST(Kx310SetupTest, FactorySettingsEncodeToTheExactArea)
{
    ExpectFactorySetupEncodesTo<Kx310Translator>(FactorySetupArea());
}

TEST(Kx310SetupTest, TimesAreStoredAsSecondsTimesFifty)
{
    Kx310Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    // Below the minimum power-off time is raised to it; 0 (never) stays.
    InstrumentSetupBank* general = setup.FindBank(General);
    general->Clear();
    general->AddItem(std::make_unique<InstrumentSetupItemNumber>(0, 30.0f, QString(), 0.0f, 0.0f, true));
    general->AddItem(std::make_unique<InstrumentSetupItemNumber>(1, 7.5f, QString(), 0.0f, 0.0f, true));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetUInt16(8128), 3000);
    EXPECT_EQ(t.GetUInt16(8130), 375);

    ASSERT_TRUE(SetNumber(setup, General, 0, 0));
    ASSERT_TRUE(SetNumber(setup, General, 1, 0));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetUInt16(8128), 0);
    EXPECT_EQ(t.GetUInt16(8130), 0);
    EXPECT_EQ(t.GetUInt16(8158), StoredCheck(t, 8128));
}

TEST(Kx310SetupTest, LongTimesReadBackUnsigned)
{
    Kx310Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    ASSERT_TRUE(SetNumber(setup, General, 0, 1000));
    ASSERT_TRUE(SetNumber(setup, General, 1, 700));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetUInt16(8128), 50000);
    EXPECT_EQ(t.GetUInt16(8130), 35000);

    InstrumentSetup read;
    t.DecodeSetup(read);
    EXPECT_FLOAT_EQ(NumberItem(read, 0, 0)->GetValue(), 1000.0f);
    EXPECT_FLOAT_EQ(NumberItem(read, 0, 1)->GetValue(), 700.0f);
}

TEST(Kx310SetupTest, CrossSectionListsWriteAtMostFifteenItems)
{
    Kx310Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    SetListValues(setup, Copper, Kx310Translator::CopperItem,
                  {0.75f, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0.3f, 0.4f, 0.6f, 0.7f, 9.9f, 9.9f, 9.9f, 9.9f, 9.9f});
    SetListValues(setup, Aluminium, Kx310Translator::AluminiumItem, {0.2826f, 16});
    t.EncodeSetup(setup);

    EXPECT_EQ(ImageBytes(t, 8064, 30),
              Words({750, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 300, 400, 600, 700}));
    // Rounded to the nearest thousandth; a short list keeps the factory words.
    EXPECT_EQ(ImageBytes(t, 8096, 30),
              Words({283, 16000, 2500, 4000, 6000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(t.GetUInt16(8094), StoredCheck(t, 8064));
    EXPECT_EQ(t.GetUInt16(8126), StoredCheck(t, 8096));
    EXPECT_EQ(ImageBytes(t, 8128, 4), Words({6000, 100}));
}

TEST(Kx310SetupTest, DecodedAreaRebuildsTheDescription)
{
    Kx310Translator t;
    const QByteArray area = FactorySetupArea();
    PutArea(t, 8064, area);
    PutInt16(t, 8064, 1234);
    PutInt16(t, 8128, 9000);
    InstrumentSetup setup;
    setup.AddBank(std::make_unique<InstrumentSetupBank>(9));
    t.DecodeSetup(setup);

    ASSERT_EQ(setup.GetCount(), 3);
    EXPECT_EQ(setup.GetBank(0)->GetCount(), 2);
    EXPECT_FLOAT_EQ(NumberItem(setup, 0, 0)->GetValue(), 180.0f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 0, 1)->GetValue(), 2.0f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 1, 0)->GetValue(), 1.234f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 1, 1)->GetValue(), 0.282f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 2, 4)->GetValue(), 6.0f);
    EXPECT_EQ(NumberItem(setup, 2, 14)->GetUnit(), SquareMillimetres);

    // Encoding the decoded description reproduces every word.
    Kx310Translator again;
    again.EncodeSetup(setup);
    ExpectSameSetupWords(again, t);
}

TEST(Kx310TranslatorTest, FactoryMakesItForItsCodeWithWritableSettings)
{
    ExpectFactoryModel<Kx310Translator>(3, "Kx310.2", true);
}
