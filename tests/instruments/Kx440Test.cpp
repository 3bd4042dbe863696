#include <gtest/gtest.h>

#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "instruments/Kx440.h"
#include "platform/DateTime.h"

#include <string>

namespace {

constexpr int U = 29, Riso = 15, Uiso = 22, Pi = 45, Dar = 46, C = 47, U1000 = 27;

void PutHeader(Kx440Translator& t, int index, int number)
{
    PutBytes(t, 8 * index, {0, 0xFF});
    PutInt16(t, 8 * index + 2, number);
}

// A measurement alone, before any header: bank "0" with these items.
void ExpectMeasurement(int kind, int x1, int x2, int x3, std::initializer_list<ExpectedItem> items)
{
    SCOPED_TRACE("kind " + std::to_string(kind));
    Kx440Translator t;
    PutMeasurement(t, 0, kind, x1, x2, x3);
    InstrumentData data;
    t.DecodeData(data);
    if (items.size() == 0) {
        EXPECT_EQ(data.GetCount(), 0);
        return;
    }
    ASSERT_EQ(BankNames(data), QList<QByteArray>{"0"});
    ExpectItems(data.GetBank(0), 0, items);
}

} // namespace

TEST(Kx440Test, BlankImageGivesNoBanks)
{
    Kx440Translator t;
    InstrumentData data;
    data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("old")));
    t.DecodeData(data);
    EXPECT_EQ(data.GetCount(), 0);
}

TEST(Kx440Test, HeadersAlwaysOpenNewBanksAndDatesJoinThem)
{
    Kx440Translator t;
    PutHeader(t, 0, 12);
    PutMeasurement(t, 8, 1, 230);
    PutBytes(t, 16, {2, 0x56, 0x34, 0x12, 0xFF, 0x24, 0x12, 0x23});
    PutHeader(t, 3, 12);
    PutMeasurement(t, 32, 30, 0, 1000);
    PutHeader(t, 9998, 4);
    PutMeasurement(t, 8 * 9999, 1, 5);   // the last record of the area
    PutMeasurement(t, 8 * 10000, 1, 6);  // past the area
    InstrumentData data;
    t.DecodeData(data);

    TDateTime date = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(2023, 12, 24, date) && TryEncodeTime(12, 34, 56, 0, time));
    ASSERT_EQ(BankNames(data), (QList<QByteArray>{"12", "12", "4"}));
    for (int i = 0; i < data.GetCount(); ++i)
        EXPECT_EQ(data.GetBank(i)->GetTypeCode(), InstrumentNumber::TypeCode);
    ExpectItems(data.GetBank(0), 0, {{U, 230, true}, {1000, date + time, false}});
    ExpectItems(data.GetBank(1), 0, {{U1000, 1000, true}});
    ExpectItems(data.GetBank(2), 0, {{U, 5, true}});
}

TEST(Kx440Test, InsulationKindsSelectTheDecade)
{
    ExpectMeasurement(5, 0, 500, 2500, {{Riso, 1999000000.0, true, true}, {Uiso, 500, false}});
    ExpectMeasurement(2, 0, 250, 1234, {{Riso, 1234000.0, true}, {Uiso, 250, false}});
    // Far beyond 32 bits; and x1 is not read.
    ExpectMeasurement(8, 32767, 10000, 1999, {{Riso, 1999000000000.0, true}, {Uiso, 9999, false, true}});
    ExpectMeasurement(31, 500, 1500, 0, {{Riso, 1500000.0, true}, {Uiso, 500, false}});
    ExpectMeasurement(34, 10000, 2000, 7, {{Riso, 1999000000.0, true, true}, {Uiso, 9999, false, true}});
    ExpectMeasurement(37, 1000, 1500, 0, {{Riso, 1500000000000.0, true}, {Uiso, 1000, false}});
}

TEST(Kx440Test, ValuesAreLimitedFromAboveOnly)
{
    ExpectMeasurement(2, 0, -20000, -5, {{Riso, -5000.0, true}, {Uiso, -20000, false}});
    ExpectMeasurement(3, 0, 0, -32768, {{Riso, -327680000.0, true}, {Uiso, 0, false}});
    ExpectMeasurement(23, 5, 1200, -3000, {{Pi, 0.05, true}, {Dar, 9.99, false, true}, {C, -0.00003, false}});
    ExpectMeasurement(23, 1000, 100, 1000, {{Pi, 9.99, true, true}, {Dar, 1.0, false}, {C, 0.00000999, false, true}});
    ExpectMeasurement(15, 150, 2000, 32767, {{Dar, 1.5, true}, {C, 0.00000999, false, true}});
    ExpectMeasurement(30, 32767, 2000, 0, {{U1000, 1999, true, true}});
    // Voltage: no limit at all.
    ExpectMeasurement(1, 32767, 0, 0, {{U, 32767, true}});
    ExpectMeasurement(1, -32768, 0, 0, {{U, -32768, true}});
}

TEST(Kx440Test, KindsWithoutItems)
{
    for (int kind : {0, 9, 14, 16, 22, 24, 29, 38, 127, 0x80, 0x83, 0xFF})
        ExpectMeasurement(kind, 100, 100, 100, {});
}

TEST(Kx440Test, IsMadeByTheFactoryForItsCode)
{
    const auto t = CreateTranslatorForModel(ModelCode::Kx440, 0);
    const auto* model = dynamic_cast<const Kx440Translator*>(t.get());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(t->GetModelName(), QByteArray("Kx440"));
    EXPECT_TRUE(t->UsesNumberedBlocks());
    EXPECT_EQ(t->GetDataLength(), 80000);
    EXPECT_EQ(t->GetSetupLength(), 0);
}
