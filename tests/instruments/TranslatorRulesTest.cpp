#include <gtest/gtest.h>

#include "common/ScopedGuards.h"
#include "common/TranslatorTestTools.h"
#include "instruments/Crc.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"
#include "platform/DateTime.h"

#include <QDateTime>

#include <cmath>
#include <limits>
#include <vector>

using namespace TranslatorRules;

namespace {

constexpr TranslatorModel SmallModel{99, "Small", 8192, true, 32, 0, 8064, 8064, 128, 0, 0, 1, false};

// A translator with the memory of the 8 KiB models and no decoding of its own.
class SmallTranslator : public InstrumentTranslator
{
public:
    SmallTranslator() : InstrumentTranslator(SmallModel) {}
    void DecodeData(InstrumentData&) override {}
};

class FixedClock : public ::testing::Test
{
protected:
    ScopedClock clock{QDateTime(QDate(2021, 6, 1), QTime(13, 45, 30))};
};

} // namespace

TEST(ClampRawTest, SymmetricLimitSetsTheOverFlagOnBothSides)
{
    EXPECT_EQ(ClampRaw(2000, 1999).Value, 1999);
    EXPECT_TRUE(ClampRaw(2000, 1999).Over);
    EXPECT_EQ(ClampRaw(-2000, 1999).Value, -1999);
    EXPECT_TRUE(ClampRaw(-2000, 1999).Over);
    EXPECT_EQ(ClampRaw(1999, 1999).Value, 1999);
    EXPECT_FALSE(ClampRaw(1999, 1999).Over);
    EXPECT_FALSE(ClampRaw(-1999, 1999).Over);
    EXPECT_EQ(ClampRaw(-32768, 999).Value, -999);
}

TEST(ClampRawTest, AboveOnlyAndUnclampedKeepNegativeValues)
{
    EXPECT_EQ(ClampRaw(-5000, 999, ClampRule::AboveOnly).Value, -5000);
    EXPECT_FALSE(ClampRaw(-5000, 999, ClampRule::AboveOnly).Over);
    EXPECT_TRUE(ClampRaw(1000, 999, ClampRule::AboveOnly).Over);
    EXPECT_EQ(ClampRaw(32767, Unclamped).Value, 32767);
    EXPECT_FALSE(ClampRaw(-32768, Unclamped).Over);
}

TEST(DecadeFactorTest, FactorsAreTheDecimalLiterals)
{
    EXPECT_EQ(DecadeFactor(-5), 0.00001);
    EXPECT_EQ(DecadeFactor(-6), 0.000001);
    EXPECT_EQ(DecadeFactor(-8), 0.00000001);
    EXPECT_EQ(DecadeFactor(0), 1.0);
    EXPECT_EQ(DecadeFactor(9), 1000000000.0);
    EXPECT_EQ(DecadeFactor(13), 1.0);
    EXPECT_EQ(DecadeFactor(-13), 1.0);
}

TEST(KindTableTest, RowsCoverRangesAndItemsTakeTheirOwnValuesOverFlag)
{
    static constexpr KindRow Rows[] = {
        Kind(2, 4, Limits(999, 1999), Item(15, 1, 1000, true, "x", true), Item(22, 0, 0.1, false)),
        Kind(7, 7, Limits(10), Item(5, 0, 0.00001, true)),
    };
    EXPECT_EQ(FindKindRow(Rows, 1), nullptr);
    EXPECT_EQ(FindKindRow(Rows, 2), &Rows[0]);
    EXPECT_EQ(FindKindRow(Rows, 4), &Rows[0]);
    EXPECT_EQ(FindKindRow(Rows, 5), nullptr);
    EXPECT_EQ(FindKindRow(Rows, 7), &Rows[1]);

    InstrumentBank bank(QByteArrayView("b"));
    // The absolute value is taken after the clamp: -2500 clamps to -1999, then 1999.
    AddKindItems(bank, Rows[0], {500, -2500, 0});
    ExpectItems(&bank, 0, {{15, 1999000.0, true, true, "x"}, {22, 50.0, false, false}});

    InstrumentBank second(QByteArrayView("c"));
    AddKindItems(second, Rows[1], {-11, 0, 0}, ClampRule::AboveOnly);
    ExpectItems(&second, 0, {{5, -11 * 0.00001, true, false}});
}

TEST(BankRulesTest, NumberedBanksGatherSlotsAndStartWithTheirNumber)
{
    InstrumentData data;
    InstrumentBank& five = NumberedBank(data, 5);
    AddItem(five, 1.0, 7, {}, true, false);
    NumberedBank(data, 2);
    EXPECT_EQ(&NumberedBank(data, 5), &five);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"5", "2"}));
    ExpectItems(data.GetBank(0), 0, {{Quantity::Bank, 5.0, false}, {7, 1.0, true}});
    EXPECT_EQ(dynamic_cast<InstrumentNumber*>(data.GetBank(0)), nullptr);
}

TEST(BankRulesTest, HeaderBanksFollowTheirReuseRule)
{
    struct Case
    {
        HeaderReuse Reuse;
        int Group;
        QList<QByteArray> Names; // after headers 7, 8, 7, 7
    };
    const Case cases[] = {
        {HeaderReuse::Never, 1, {"7", "8", "7", "7"}},
        {HeaderReuse::WhenGrouped, 1, {"7", "8"}},
        {HeaderReuse::WhenGrouped, 0, {"7", "8", "7", "7"}},
        {HeaderReuse::WhenGroupedOrLast, 0, {"7", "8", "7"}},
        {HeaderReuse::WhenGroupedOrLast, 1, {"7", "8"}},
    };
    for (const Case& c : cases) {
        InstrumentData data;
        std::vector<bool> created;
        for (const char* name : {"7", "8", "7", "7"}) {
            bool wasCreated = false;
            InstrumentBank& bank = HeaderBank(data, QByteArrayView(name), c.Reuse, c.Group, &wasCreated);
            EXPECT_NE(dynamic_cast<InstrumentNumber*>(&bank), nullptr);
            EXPECT_EQ(bank.GetName(), QByteArray(name));
            created.push_back(wasCreated);
        }
        EXPECT_EQ(BankNames(data), c.Names) << static_cast<int>(c.Reuse) << "/" << c.Group;
        EXPECT_EQ(std::count(created.begin(), created.end(), true), c.Names.size());
    }
}

TEST(BankRulesTest, HeaderReuseTakesTheLastBankOfThatName)
{
    InstrumentData data;
    HeaderBank(data, QByteArrayView("7"), HeaderReuse::Never, 0);
    HeaderBank(data, QByteArrayView("7"), HeaderReuse::Never, 0);
    EXPECT_EQ(&HeaderBank(data, QByteArrayView("7"), HeaderReuse::WhenGrouped, 1), data.GetBank(1));
}

TEST_F(FixedClock, DateRecordsAreBuiltFromTheirBcdFields)
{
    SmallTranslator t;
    // 05.11.21 17:09:58
    PutBytes(t, 16, {2, 0x58, 0x09, 0x17, 0xFF, 0x05, 0x11, 0x21});
    TDateTime value = 0;
    ASSERT_TRUE(DecodeDateRecord(t, 16, value));
    EXPECT_EQ(DateTimeToQDateTime(value), QDateTime(QDate(2021, 11, 5), QTime(17, 9, 58)));

    // Year 00 is 2000, whatever the locale's two-digit year window.
    PutBytes(t, 24, {2, 0x00, 0x00, 0x00, 0x00, 0x29, 0x02, 0x00});
    ASSERT_TRUE(DecodeDateRecord(t, 24, value));
    EXPECT_EQ(DateTimeToQDateTime(value).date(), QDate(2000, 2, 29));
}

TEST_F(FixedClock, InvalidDateRecordsFallBackToTheTimeOfDay)
{
    SmallTranslator t;
    const TDateTime timeOfDay = (13 * 3600 + 45 * 60 + 30) / 86400.0;
    const std::initializer_list<int> invalid[] = {
        {2, 0x00, 0x00, 0x00, 0x00, 0x30, 0x02, 0x21}, // 30 February
        {2, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x21}, // day 0
        {2, 0x60, 0x00, 0x00, 0x00, 0x01, 0x01, 0x21}, // second 60
        {2, 0x00, 0x00, 0x24, 0x00, 0x01, 0x01, 0x21}, // hour 24
        {2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, // erased
    };
    for (const auto& record : invalid) {
        PutBytes(t, 0, record);
        TDateTime value = 0;
        EXPECT_FALSE(DecodeDateRecord(t, 0, value));
        EXPECT_NEAR(DateRecordValue(t, 0), timeOfDay, 1e-9);
    }

    InstrumentBank bank(QByteArrayView("b"));
    AddDateItem(bank, t, 0);
    ExpectItems(&bank, 0, {{Quantity::DateTime, DateRecordValue(t, 0), false}});
}

TEST(RecordWalkerTest, SlotsGoToBankBytePlusOneInAnyOrder)
{
    SmallTranslator t;
    // Block 0: slot 0 bank 4, slot 7 bank 0; block 249 (the last): slot 3 bank 4.
    PutBytes(t, 0, {4});
    PutBytes(t, 7, {0});
    PutBytes(t, 249 * 32 + 3, {4});
    PutBytes(t, 8, {10, 0x34, 0x12});        // slot 0: kind 10, raw 0x1234
    PutBytes(t, 8 + 21, {11, 0xFF, 0xFF});   // slot 7: kind 11, raw -1
    PutBytes(t, 249 * 32 + 8 + 9, {12, 2, 0}); // slot 3
    // Kind bytes beyond the last block never count.
    PutBytes(t, 8000, {0, 0, 0, 0});

    InstrumentData data;
    std::vector<std::pair<int, int>> seen;
    DecodeNumberedSlots(t, data, ThreeByteSlots, [&](const InstrumentTranslator& image, int offset, InstrumentBank& bank) {
        seen.emplace_back(image.GetByte(offset), image.GetInt16(offset + 1));
        if (image.GetByte(offset) != 11)
            AddItem(bank, image.GetInt16(offset + 1), 29, {}, true, false);
    });
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{10, 0x1234}, {11, -1}, {12, 2}}));
    // Bank "1" got no item from its slot but keeps its number item.
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"5", "1"}));
    ExpectItems(data.GetBank(0), 0, {{Quantity::Bank, 5, false}, {29, 0x1234, true}, {29, 2, true}});
    ExpectItems(data.GetBank(1), 0, {{Quantity::Bank, 1, false}});
}

TEST(RecordWalkerTest, SevenByteSlotsAndEightByteRecordsFindTheirFields)
{
    SmallTranslator t;
    PutBytes(t, 32 + 2, {0});                        // block 1, bank byte of slot 2
    PutBytes(t, 32 + 4 + 14, {1, 1, 0, 2, 0, 3, 9}); // its slot: kind 1, W 1, X 2, C 0x0903
    PutBytes(t, 8 * 1019, {6, 7});                   // the last eight-byte record, bank byte 6
    std::vector<int> offsets;
    InstrumentData data;
    const SlotDecoder note = [&](const InstrumentTranslator&, int offset, InstrumentBank&) {
        offsets.push_back(offset);
    };
    DecodeNumberedSlots(t, data, SevenByteSlots, note);
    EXPECT_EQ(offsets, std::vector<int>{32 + 4 + 14});
    EXPECT_EQ(BankNames(data), QList<QByteArray>{"1"});

    // As eight-byte records the same bytes give record 7 (bank byte 9 at 56)
    // and the last record.
    offsets.clear();
    DecodeNumberedSlots(t, data, EightByteRecords, note);
    EXPECT_EQ(offsets, (std::vector<int>{57, 8 * 1019 + 1}));
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"10", "7"}));
}

TEST(SetupWordsTest, ChecksumMakesTheSectionCheckAsAFrame)
{
    SmallTranslator t;
    for (int i = 0; i < 30; ++i)
        t.SetByte(8064 + i, static_cast<uint8_t>(i * 7));
    StoreSetupChecksum(t, 8064, 30);
    QByteArray section;
    for (int i = 0; i < 32; ++i)
        section.append(static_cast<char>(t.GetByte(8064 + i)));
    EXPECT_EQ(Crc16(section), Crc16Residue);
    EXPECT_EQ(t.GetUInt16(8094), static_cast<uint16_t>(~Crc16(section.first(30))));
    EXPECT_EQ(t.GetByte(8096), 0xFF);
}

TEST(SetupWordsTest, EncodedWordsTruncateAndSaturate)
{
    EXPECT_EQ(EncodeWord(30.0, 50), 1500);
    EXPECT_EQ(EncodeWord(0.282, 1000, 0.5), 282);
    EXPECT_EQ(EncodeWord(0.04, 10, 0.5), 0);  // 0.4 + 0.5 truncated
    EXPECT_EQ(EncodeWord(2.99, 1), 2);
    EXPECT_EQ(EncodeWord(-1.5, 1), 0xFFFF); // -1 as a signed word
    EXPECT_EQ(EncodeWord(1e9, 1), 0xFFFF);
    EXPECT_EQ(EncodeWord(-1e9, 1), 0x8000);
    EXPECT_EQ(EncodeWord(std::numeric_limits<double>::quiet_NaN(), 1), 0);

    EXPECT_EQ(EncodeUnsignedWord(1.15f, 100), 115); // 114.99999 as a float product
    EXPECT_EQ(EncodeUnsignedWord(0.004, 100), 0);
    EXPECT_EQ(EncodeUnsignedWord(0.005, 100), 1);
    EXPECT_EQ(EncodeUnsignedWord(655.35, 100), 65535);
    EXPECT_EQ(EncodeUnsignedWord(1999, 100), 65535);
    EXPECT_EQ(EncodeUnsignedWord(-3, 100), 0);
    EXPECT_DOUBLE_EQ(UnsignedWordMaximum(100), 655.35);
}

TEST(SetupWordsTest, ChoicesFromErasedBytesTakeTheLastOption)
{
    EXPECT_EQ(ChoiceFromByte(0xFF, 2), 1);
    EXPECT_EQ(ChoiceFromByte(2, 2), 1);
    EXPECT_EQ(ChoiceFromByte(1, 2), 1);
    EXPECT_EQ(ChoiceFromByte(0, 2), 0);
    EXPECT_EQ(ChoiceFromByte(-1, 2), 0);
    EXPECT_EQ(ChoiceFromByte(5, 0), 0);
}

TEST(SetupWordsTest, SettingLookupsCheckTheKind)
{
    InstrumentSetupBank group(0);
    group.AddItem(std::make_unique<InstrumentSetupItemNumber>(0, 120.0f, QStringLiteral("s"), 60.0f, 1000.0f, true));
    group.AddItem(std::make_unique<InstrumentSetupItemChoice>(7, 265, 1));
    EXPECT_NE(FindNumber(group, 0), nullptr);
    EXPECT_EQ(FindNumber(group, 7), nullptr);
    EXPECT_NE(FindChoice(group, 7), nullptr);
    EXPECT_EQ(FindChoice(group, 0), nullptr);
    EXPECT_EQ(FindChoice(group, 3), nullptr);
    EXPECT_EQ(NumberAt(group, 0), FindNumber(group, 0));
    EXPECT_EQ(NumberAt(group, 1), nullptr);
    EXPECT_EQ(NumberAt(group, 2), nullptr);
}
