#include <gtest/gtest.h>

#include "common/SlotTestTools.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/Kx330Translator.h"
#include "instruments/QuantityTable.h"

#include <vector>

namespace {

constexpr int General = 0;
constexpr int Frequency = Kx330Translator::FrequencyGroup;
constexpr int Distance = Kx330Translator::DistanceGroup;
constexpr int BeepLimit = Kx330Translator::BeepLimitItem;

const std::vector<SlotCase> KindCases = {
    {0, {150}, {{Quantity::EarthResistance, 1.5, true, false, "3 wire"}}},
    {1, {150}, {{Quantity::EarthResistance, 15, true, false, "3 wire"}}},
    {2, {150}, {{Quantity::EarthResistance, 150, true, false, "3 wire"}}},
    {3, {150}, {{Quantity::EarthResistance, 1500, true, false, "3 wire"}}},
    {4, {-7}, {{Quantity::EarthResistance, -0.07, true, false, "4 wire"}}},
    {5, {-7}, {{Quantity::EarthResistance, -0.7, true, false, "4 wire"}}},
    {6, {7}, {{Quantity::EarthResistance, 7, true, false, "4 wire"}}},
    {7, {7}, {{Quantity::EarthResistance, 70, true, false, "4 wire"}}},
    {8, {7}, {{Quantity::EarthResistance, 0.07, true, false, "PK"}}},
    {9, {7}, {{Quantity::EarthResistance, 0.7, true, false, "PK"}}},
    {10, {7}, {{Quantity::EarthResistance, 7, true, false, "PK"}}},
    {11, {7}, {{Quantity::EarthResistance, 70, true, false, "PK"}}},
    {12, {3}, {{Quantity::EarthResistance, 0.03, true, false, "3 wire+S"}}},
    {13, {3}, {{Quantity::EarthResistance, 0.3, true, false, "3 wire+S"}}},
    {14, {-3}, {{Quantity::EarthResistance, -3, true, false, "3 wire+S"}}},
    {15, {3}, {{Quantity::EarthResistance, 30, true, false, "3 wire+S"}}},
    {16, {3}, {{Quantity::EarthResistance, 0.03, true, false, "4 wire+S"}}},
    {17, {3}, {{Quantity::EarthResistance, 0.3, true, false, "4 wire+S"}}},
    {18, {3}, {{Quantity::EarthResistance, 3, true, false, "4 wire+S"}}},
    {19, {2500}, {{Quantity::EarthResistance, 19990, true, true, "4 wire+S"}}},
    {20, {2301}, {{Quantity::Voltage, 199.9, true, true}}},
    {21, {1}, {}},
    {22, {1}, {}},
    {23, {456}, {{Quantity::Resistivity, 4.56, true}}},
    {24, {456}, {{Quantity::Resistivity, 45.6, true}}},
    {25, {456}, {{Quantity::Resistivity, 456, true}}},
    {26, {456}, {{Quantity::Resistivity, 4560, true}}},
    {27, {1}, {}},
    {28, {-12}, {{Quantity::Voltage, -1.2, true, false, "AC"}}},
    {29, {1}, {}},
    {31, {1}, {}},
    {32, {1234}, {{Quantity::ResistorCurrent, 0.1234, true}}},
    {33, {1234}, {{Quantity::ResistorCurrent, 1.234, true}}},
    {34, {1234}, {{Quantity::ResistorCurrent, 12.34, true}}},
    {35, {1234}, {{Quantity::ProtectiveConductorResistance, 12.34, true}}},
    {36, {1}, {}},
    {127, {1}, {}},
    {-1, {1}, {}},
};

QByteArray FactorySetupArea()
{
    QByteArray area;
    area += Words({128, 140, 53, 95, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    area += QByteArray::fromHex("0864");
    area += Words({200, 250, 300, 5, 10, 15, 20, 25, 30, 50, 100, 150, 0, 0, 0});
    area += QByteArray::fromHex("ffdd");
    area += Words({6000, 100, 100});
    area += QByteArray(24, '\0');
    area += QByteArray::fromHex("f7a3");
    area += QByteArray(32, '\xFF');
    return area;
}

} // namespace

TEST(Kx330DataTest, EveryKindDecodesToItsQuantityScaleAndNote)
{
    Kx330Translator t;
    ExpectSlotCases(t, false, KindCases);
}

TEST(Kx330DataTest, BlankImageGivesNoBanksAndSlotsGatherByBank)
{
    Kx330Translator t;
    ExpectBlankImageGivesNoBanks(t);

    // Earth resistances keep their sign; both ends of the range are clamped.
    PutThreeByteSlot(t, 1999, 2, 2, -2000);
    PutThreeByteSlot(t, 0, 2, 2, 1999);
    PutThreeByteSlot(t, 500, 0, 2, 2000);
    InstrumentData data;
    t.DecodeData(data);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"3", "1"}));
    ExpectItems(data.GetBank(0), 0,
                {{Quantity::Bank, 3, false}, {Quantity::EarthResistance, 1999, true, false, "3 wire"}, {Quantity::EarthResistance, -1999, true, true, "3 wire"}});
    ExpectItems(data.GetBank(1), 0, {{Quantity::Bank, 1, false}, {Quantity::EarthResistance, 1999, true, true, "3 wire"}});
}

TEST(Kx330SetupTest, FactoryDescriptionListsGeneralFrequencyAndDistance)
{
    Kx330Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    ASSERT_EQ(setup.GetCount(), 3);
    EXPECT_EQ(setup.GetBank(0)->GetId(), General);
    EXPECT_EQ(setup.GetBank(1)->GetId(), Frequency);
    EXPECT_EQ(setup.GetBank(2)->GetId(), Distance);

    ASSERT_EQ(setup.GetBank(0)->GetCount(), 3);
    const int generalIds[] = {0, 1, BeepLimit};
    const float generalValues[] = {120, 2, 1};
    const QString generalUnits[] = {QStringLiteral("s"), QStringLiteral("s"), QStringLiteral("\u03A9")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(NumberItem(setup, 0, i)->GetId(), generalIds[i]);
        EXPECT_EQ(NumberItem(setup, 0, i)->GetValue(), generalValues[i]);
        EXPECT_EQ(NumberItem(setup, 0, i)->GetUnit(), generalUnits[i]);
    }
    const float frequencies[] = {128, 140, 53, 95, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const float distances[] = {20, 25, 30, 0.5f, 1, 1.5f, 2, 2.5f, 3, 5, 10, 15, 0, 0, 0};
    ASSERT_EQ(setup.GetBank(1)->GetCount(), 15);
    ASSERT_EQ(setup.GetBank(2)->GetCount(), 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(NumberItem(setup, 1, i)->GetId(), Kx330Translator::FrequencyItem);
        EXPECT_EQ(NumberItem(setup, 1, i)->GetValue(), frequencies[i]);
        EXPECT_EQ(NumberItem(setup, 1, i)->GetUnit(), QStringLiteral("Hz"));
        EXPECT_EQ(NumberItem(setup, 2, i)->GetId(), Kx330Translator::DistanceItem);
        EXPECT_EQ(NumberItem(setup, 2, i)->GetValue(), distances[i]);
        EXPECT_EQ(NumberItem(setup, 2, i)->GetUnit(), QStringLiteral("m"));
    }
}

TEST(Kx330SetupTest, FrequencyMinimumDependsOnWhereTheListCameFrom)
{
    Kx330Translator t;
    InstrumentSetup factory;
    t.GetDefaultSetup(factory);
    EXPECT_TRUE(NumberItem(factory, 1, 0)->SetValue(53));
    EXPECT_FALSE(NumberItem(factory, 1, 0)->SetValue(52));
    EXPECT_FALSE(NumberItem(factory, 1, 0)->SetValue(141));

    t.EncodeSetup(factory);
    InstrumentSetup read;
    t.DecodeSetup(read);
    EXPECT_EQ(NumberItem(read, 1, 2)->GetValue(), 53.0f);
    EXPECT_FALSE(NumberItem(read, 1, 2)->SetValue(53));
    EXPECT_TRUE(NumberItem(read, 1, 2)->SetValue(59));
    EXPECT_TRUE(NumberItem(read, 1, 2)->SetValue(0));
    EXPECT_FALSE(NumberItem(read, 2, 0)->SetValue(0.4f));
    EXPECT_TRUE(NumberItem(read, 2, 0)->SetValue(30));
}

TEST(Kx330SetupTest, FactorySettingsEncodeToTheExactArea)
{
    ExpectFactorySetupEncodesTo<Kx330Translator>(FactorySetupArea());
}

TEST(Kx330SetupTest, ListsAreTruncatedOrRoundedAsStored)
{
    Kx330Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    // Frequencies are whole hertz, truncated; distances tenths, rounded.
    SetListValues(setup, Frequency, Kx330Translator::FrequencyItem, {95.9f, 60});
    SetListValues(setup, Distance, Kx330Translator::DistanceItem,
                  {2.5f, 0.04f, 0.06f, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 29.96f, 7});
    t.EncodeSetup(setup);
    EXPECT_EQ(ImageBytes(t, 8064, 30), Words({95, 60, 53, 95, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ImageBytes(t, 8096, 30), Words({25, 0, 1, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 300}));
    for (int section : {8064, 8096, 8128})
        EXPECT_EQ(t.GetUInt16(section + 30), StoredCheck(t, section)) << section;
}

TEST(Kx330SetupTest, GeneralSettingsAndTheBeepLimitWord)
{
    Kx330Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    ASSERT_TRUE(SetNumber(setup, General, 0, 0));
    ASSERT_TRUE(SetNumber(setup, General, 1, 1000));
    // Rounded to the nearest hundredth of an ohm, not truncated.
    ASSERT_TRUE(SetNumber(setup, General, BeepLimit, 1.006f));
    t.EncodeSetup(setup);
    EXPECT_EQ(ImageBytes(t, 8128, 30), Words({0, 50000, 101}) + QByteArray(24, '\0'));
    EXPECT_EQ(t.GetUInt16(8158), StoredCheck(t, 8128));

    // The general group found by id, in any order; a time below a minute
    // is raised to one.
    InstrumentSetupBank* general = setup.FindBank(General);
    general->Clear();
    general->AddItem(std::make_unique<InstrumentSetupItemNumber>(BeepLimit, 2.5f, QString(), 0.0f, 0.0f, true));
    general->AddItem(std::make_unique<InstrumentSetupItemNumber>(0, 0.5f, QString(), 0.0f, 0.0f, true));
    t.EncodeSetup(setup);
    EXPECT_EQ(ImageBytes(t, 8128, 6), Words({3000, 100, 250}));
}

TEST(Kx330SetupTest, BeepLimitFitsItsSixteenBitWord)
{
    Kx330Translator t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    EXPECT_FALSE(SetNumber(setup, General, BeepLimit, 2000));
    EXPECT_FALSE(SetNumber(setup, General, BeepLimit, 656));
    ASSERT_TRUE(SetNumber(setup, General, BeepLimit, 655.35f));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetUInt16(8132), 65535);

    // The largest word reads back as the largest limit, not a negative one.
    InstrumentSetup read;
    t.DecodeSetup(read);
    EXPECT_FLOAT_EQ(NumberItem(read, 0, 2)->GetValue(), 655.35f);

    // A value beyond the word, set past the limits, saturates instead of wrapping.
    InstrumentSetupBank* general = setup.FindBank(General);
    general->AddItem(std::make_unique<InstrumentSetupItemNumber>(BeepLimit, 2000.0f, QString(), 0.0f, 0.0f, true));
    t.EncodeSetup(setup);
    EXPECT_EQ(t.GetUInt16(8132), 65535);
}

TEST(Kx330SetupTest, DecodedAreaRebuildsTheDescription)
{
    Kx330Translator t;
    const QByteArray area = FactorySetupArea();
    PutArea(t, 8064, area);
    PutInt16(t, 8130, 60000);
    PutInt16(t, 8098, 17);
    InstrumentSetup setup;
    t.DecodeSetup(setup);
    ASSERT_EQ(setup.GetCount(), 3);
    EXPECT_FLOAT_EQ(NumberItem(setup, 0, 0)->GetValue(), 120.0f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 0, 1)->GetValue(), 1200.0f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 0, 2)->GetValue(), 1.0f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 1, 1)->GetValue(), 140.0f);
    EXPECT_FLOAT_EQ(NumberItem(setup, 2, 1)->GetValue(), 1.7f);

    Kx330Translator again;
    again.EncodeSetup(setup);
    ExpectSameSetupWords(again, t);
}

TEST(Kx330TranslatorTest, FactoryMakesItForItsCodeWithWritableSettings)
{
    ExpectFactoryModel<Kx330Translator>(4, "Kx330", true);
}
