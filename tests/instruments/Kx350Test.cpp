#include <gtest/gtest.h>

#include "common/SlotTestTools.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/Kx350Translator.h"
#include "instruments/QuantityTable.h"

#include <vector>

namespace {

// The quantities the records give, by name.
using namespace Quantity;

constexpr bool P = true;
constexpr bool Acc = false;
constexpr bool Over = true;

// kind, {W, X, C}, items
const std::vector<SlotCase> KindCases = {
    {0, {230, 5, 50}, {{29, 230, P}, {8, 50, Acc}}},
    {1, {231, -1200, 400}, {{1, 231, P}, {2, -999, Acc, Over}, {29, 400, Acc}}},
    {2, {1000, 10, -5}, {{1, 999, P, Over}, {2, 10, Acc}, {29, -5, Acc}}},
    {3, {2500, 150, 0}, {{3, 19.99, P, Over}, {26, 150, Acc}}},
    {4, {123, 12000, 0}, {{3, 1.23, P}, {26, 999.9, Acc, Over}}},
    {5, {123, 45, 0}, {{3, 12.3, P}, {26, 45, Acc}}},
    {6, {123, 45, 0}, {{3, 12.3, P}, {26, 4.5, Acc}}},
    {7, {-5, 45, 0}, {{3, -5, P}, {26, 45, Acc}}},
    {8, {1999, -9999, 0}, {{3, 1999, P}, {26, -999.9, Acc}}},
    {9, {12, 9999, 0}, {{33, 0.12, P}, {26, 9999, Acc}}},
    {10, {12, 10000, 0}, {{3, 0.12, P, false, "-"}, {26, 9999, Acc, Over}}},
    {11, {12, 77, 0}, {{3, 0.12, P, false, "-"}, {26, 7.7, Acc}}},
    {12, {55, 5000, 0}, {{7, 0.55, P, false, "I<200mA"}}},
    {13, {2100, 0, 0}, {{7, 19.99, P, Over, "I>200mA"}}},
    {14, {1500, 0, 0}, {{15, 1.5e6, P}}},
    {15, {10000, 0, 0}, {{15, 9.999e7, P, Over}}},
    {16, {250, 2500, 3004}, {{4, 25, P, false, "300mA "}, {3, 199.9, Acc, Over}}},
    {17, {1000, 9999, 0}, {{4, 99.9, P, Over}, {3, 9999, Acc}}},
    {18, {25, 500, 1004}, {{6, 0.025, P, false, "100mA AC +"}, {4, 50, Acc}}},
    {19, {25, 400, 3067}, {{11, 0.025, P, false, "30mA AC -"}, {4, 40, Acc}}},
    {20, {1200, 1000, 1067}, {{11, 0.999, P, Over, "10mA A +"}, {4, 99.9, Acc, Over}}},
    {21, {40, 30, 6304}, {{6, 0.04, P, false, "30mA A -"}, {4, 3, Acc}}},
    {22, {300, 12, 0}, {{5, 0.03, P, false, "AC"}, {25, 1.2, Acc}}},
    {23, {300, 12, 5004}, {{5, 0.3, P, false, "500mA AC"}, {25, 1.2, Acc}}},
    {24, {300, 12, 6104}, {{5, 0.03, P, false, "10mA A +"}, {25, 1.2, Acc}}},
    {25, {300, 12, 1007}, {{5, 0.3, P, false, "100mA A -"}, {25, 1.2, Acc}}},
    {26, {300, -12, 7}, {{5, 0.03, P, false, "A +"}, {25, -1.2, Acc}}},
    {27, {-300, 12, 0}, {{5, -0.3, P, false, "A -"}, {25, 1.2, Acc}}},
    {28, {1, 1, 1}, {}},
    {127, {1, 1, 1}, {}},
    {-1, {1, 1, 1}, {}},
};

// The main item of a trip-time slot (kind 18) for a rated-current code.
const InstrumentItem* TripTimeFor(int code, InstrumentData& data)
{
    Kx350Translator t;
    PutSevenByteSlot(t, 0, 0, 18, 30, 0, code);
    t.DecodeData(data);
    const InstrumentBank* bank = data.GetBank(0);
    return bank ? bank->GetItem(1) : nullptr;
}

} // namespace

TEST(Kx350DataTest, BlankImageGivesNoBanks)
{
    Kx350Translator t;
    ExpectBlankImageGivesNoBanks(t);
}

TEST(Kx350DataTest, EveryKindGivesItsItemsInOrder)
{
    Kx350Translator t;
    ExpectSlotCases(t, true, KindCases);
}

TEST(Kx350DataTest, RatedCurrentCodesGiveTheNoteAndTheTripTimeQuantity)
{
    struct Rated
    {
        int Code;
        const char* Note;
        int Quantity;
    };
    const Rated cases[] = {
        {1004, "100mA AC +", 6}, {1007, "100mA AC +", 11}, {1067, "10mA AC +", 11},
        {3004, "300mA AC +", 6}, {3067, "30mA AC +", 11},  {5004, "500mA AC +", 6},
        {6104, "10mA AC +", 6},  {6304, "30mA AC +", 6},   {0, "AC +", 6},
        {3068, "AC +", 6},       {-1, "AC +", 6},
    };
    for (const Rated& c : cases) {
        InstrumentData data;
        const InstrumentItem* item = TripTimeFor(c.Code, data);
        ASSERT_NE(item, nullptr) << c.Code;
        EXPECT_EQ(item->GetNoteText(), QByteArray(c.Note)) << c.Code;
        EXPECT_EQ(item->GetQuantity(), c.Quantity) << c.Code;
        EXPECT_DOUBLE_EQ(item->GetValue(), 0.03) << c.Code;
    }
}

TEST(Kx350DataTest, ThirdValueIsNeverClamped)
{
    Kx350Translator t;
    PutSevenByteSlot(t, 0, 0, 0, 0, 0, 32767);
    PutSevenByteSlot(t, 1, 0, 1, 0, 0, -32768);
    InstrumentData data;
    t.DecodeData(data);
    ExpectItems(data.GetBank(0), 1,
                {{29, 0, P}, {8, 32767, Acc}, {1, 0, P}, {2, 0, Acc}, {29, -32768, Acc}});
}

TEST(Kx350DataTest, SlotsGatherInBanksByNumberWhereverTheyLie)
{
    Kx350Translator t;
    for (int j = 0; j < 4; ++j)
        PutSevenByteSlot(t, 4 * 100 + j, 9, 7, j, 0, 0);
    PutSevenByteSlot(t, 999, 0, 7, 99, 0, 0);
    PutSevenByteSlot(t, 0, 9, 7, -1, 0, 0);
    // A slot of unknown kind still gets its bank.
    PutSevenByteSlot(t, 3, 4, 28, 1, 1, 1);
    PutSevenByteSlot(t, 5, 0xFF, 7, 5, 5, 5);
    // The bytes after the last block belong to no slot.
    PutBytes(t, 8000, {0, 0, 0, 0, 7, 1, 0});
    InstrumentData data;
    t.DecodeData(data);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"10", "5", "1"}));
    ExpectItems(data.GetBank(0), 0,
                {{Bank, 10, false}, {3, -1, P}, {26, 0, Acc}, {3, 0, P}, {26, 0, Acc}, {3, 1, P}, {26, 0, Acc},
                 {3, 2, P}, {26, 0, Acc}, {3, 3, P}, {26, 0, Acc}});
    ExpectItems(data.GetBank(1), 0, {{Bank, 5, false}});
    ExpectItems(data.GetBank(2), 0, {{Bank, 1, false}, {3, 99, P}, {26, 0, Acc}});
}

TEST(Kx350TranslatorTest, SettingsCannotBeWritten)
{
    ExpectFactoryModel<Kx350Translator>(5, "Kx350", false);

    // Nothing is ever encoded into the setup area.
    Kx350Translator t;
    InstrumentSetup setup;
    setup.AddBank(std::make_unique<InstrumentSetupBank>(0));
    t.EncodeSetup(setup);
    EXPECT_EQ(ImageBytes(t, 0, t.GetImageSize()), QByteArray(8192, '\xFF'));
}
