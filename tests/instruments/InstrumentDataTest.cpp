#include <gtest/gtest.h>

#include "common/RecordBytes.h"
#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentData.h"
#include "storage/File.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <climits>

namespace {

QByteArray Code(const char (&code)[5])
{
    return Le32(FourCC(code));
}

QByteArray SavedBytes(const PropertiesAbstract& object)
{
    return Written([&object](QIODevice& out) { object.Save(out); });
}

std::unique_ptr<InstrumentItem> MakeItem(double value, int quantity = 1)
{
    return std::make_unique<InstrumentItem>(value, quantity, true, false);
}

// A bank with `count` items valued 1..count.
std::unique_ptr<InstrumentBank> MakeBank(QByteArrayView name, int count, bool numbered = false)
{
    std::unique_ptr<InstrumentBank> bank = numbered ? std::make_unique<InstrumentNumber>(name)
                                                    : std::make_unique<InstrumentBank>(name);
    for (int i = 1; i <= count; ++i)
        bank->AddItem(MakeItem(i));
    return bank;
}

struct Loaded
{
    bool ok;
    bool damaged;
};

Loaded LoadBytes(InstrumentData& data, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const bool ok = data.Load(buffer);
    return {ok, IsStreamDamaged(buffer)};
}

} // namespace

TEST(InstrumentBank, NamesAreBoundedToSixteenBytes)
{
    EXPECT_EQ(InstrumentBank(-12).GetName(), QByteArray("-12"));
    EXPECT_EQ(InstrumentNumber(7).GetName(), QByteArray("7"));
    EXPECT_EQ(InstrumentBank("0123456789abcdefXYZ").GetName(), QByteArray("0123456789abcdef"));
    EXPECT_EQ(InstrumentBank(QByteArrayView("ab\0cd", 5)).GetName(), QByteArray("ab"));
    EXPECT_EQ(InstrumentBank().GetName(), QByteArray(""));
}

TEST(InstrumentBank, TextsNameTheKindOnlyWithFlagBitZero)
{
    EXPECT_EQ(InstrumentBank("A1").GetText(1, 0), QByteArray("Bank A1"));
    EXPECT_EQ(InstrumentBank("A1").GetText(6, 0), QByteArray("A1"));
    EXPECT_EQ(InstrumentNumber(12).GetText(7, 0), QByteArray("No. 12"));
    EXPECT_EQ(InstrumentNumber(12).GetText(0, 0), QByteArray("12"));
    EXPECT_FALSE(InstrumentBank("x").IsPrimary());
    EXPECT_EQ(InstrumentBank().GetTypeCode(), FourCC("bank"));
    EXPECT_EQ(InstrumentNumber().GetTypeCode(), FourCC("no. "));
}

TEST(InstrumentBank, OwnsItsItems)
{
    InstrumentBank bank("b");
    EXPECT_EQ(bank.AddItem(nullptr), nullptr);
    InstrumentItem* first = bank.AddItem(MakeItem(1));
    InstrumentItem* second = bank.AddItem(MakeItem(2));
    EXPECT_EQ(bank.GetCount(), 2);
    EXPECT_EQ(bank.GetItem(0), first);
    EXPECT_EQ(bank.GetItem(2), nullptr);
    EXPECT_EQ(bank.GetItem(-1), nullptr);

    InstrumentItem stranger(5, 1, true, false);
    EXPECT_FALSE(bank.RemoveItem(&stranger));
    EXPECT_FALSE(bank.RemoveItem(nullptr));
    EXPECT_TRUE(bank.RemoveItem(first));
    EXPECT_EQ(bank.GetItem(0), second);
    bank.Clear();
    EXPECT_EQ(bank.GetCount(), 0);
}

TEST(InstrumentBank, ClonesAreDeepAndKeepTheirKind)
{
    const std::unique_ptr<InstrumentBank> number = MakeBank("42", 2, true);
    std::unique_ptr<InstrumentBank> copy = number->CloneBank();
    ASSERT_NE(dynamic_cast<InstrumentNumber*>(copy.get()), nullptr);
    EXPECT_EQ(copy->GetName(), QByteArray("42"));
    ASSERT_EQ(copy->GetCount(), 2);
    EXPECT_NE(copy->GetItem(0), number->GetItem(0));
    copy->GetItem(0)->SetValueText("9");
    EXPECT_EQ(number->GetItem(0)->GetValue(), 1);

    std::unique_ptr<InstrumentAbstract> node = MakeBank("p", 1)->Clone();
    auto* plain = dynamic_cast<InstrumentBank*>(node.get());
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(dynamic_cast<InstrumentNumber*>(plain), nullptr);
    EXPECT_EQ(plain->GetCount(), 1);
}

TEST(InstrumentData, FindBankReturnsTheLastMatchOnSixteenBytes)
{
    InstrumentData data;
    data.AddBank(MakeBank("5", 1));
    data.AddBank(MakeBank("0123456789abcdef", 0));
    data.AddBank(MakeBank("5", 2, true));
    EXPECT_EQ(data.FindBank("5"), 2);
    EXPECT_EQ(data.FindBankByNumber(5), 2);
    EXPECT_EQ(data.FindBank("0123456789abcdef"), 1);
    EXPECT_EQ(data.FindBank("0123456789abcdefGHI"), 1);
    EXPECT_EQ(data.FindBank("0123456789abcde"), -1);
    EXPECT_EQ(data.FindBank("6"), -1);
    EXPECT_EQ(InstrumentData().FindBank(""), -1);
    EXPECT_EQ(data.GetBank(3), nullptr);
    EXPECT_EQ(data.GetBank(-1), nullptr);
    EXPECT_EQ(data.AddBank(nullptr), nullptr);
}

TEST(InstrumentData, SortBanksComparesBytesAndKeepsEqualNamesInOrder)
{
    InstrumentData data;
    data.AddBank(MakeBank("9", 1));
    data.AddBank(MakeBank("10", 1));
    data.AddBank(MakeBank("b", 1));
    data.AddBank(MakeBank("10", 2, true));
    data.AddBank(MakeBank("B", 1));
    data.AddBank(MakeBank("\xc3\xa9", 1));
    data.SortBanks();
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"10", "10", "9", "B", "b", "\xc3\xa9"}));
    EXPECT_EQ(data.GetBank(0)->GetCount(), 1);
    EXPECT_EQ(data.GetBank(1)->GetCount(), 2);
}

TEST(InstrumentData, RemoveEmptyBanksKeepsTheOrderOfTheRest)
{
    InstrumentData data;
    data.AddBank(MakeBank("a", 0));
    data.AddBank(MakeBank("b", 1));
    data.AddBank(MakeBank("c", 0));
    data.AddBank(MakeBank("d", 3));
    data.AddBank(MakeBank("e", 0));
    data.RemoveEmptyBanks();
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"b", "d"}));

    InstrumentData empty;
    empty.AddBank(MakeBank("x", 0));
    empty.AddBank(MakeBank("y", 0, true));
    empty.RemoveEmptyBanks();
    EXPECT_EQ(empty.GetCount(), 0);
}

TEST(InstrumentData, RemoveDestroysItemsOrBanksItOwns)
{
    InstrumentData data;
    InstrumentBank* first = data.AddBank(MakeBank("a", 2));
    InstrumentBank* second = data.AddBank(MakeBank("b", 1));
    InstrumentItem* item = second->GetItem(0);

    EXPECT_TRUE(data.Remove(item));
    EXPECT_EQ(second->GetCount(), 0);
    EXPECT_TRUE(data.Remove(first));
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"b"}));

    InstrumentBank foreign("a");
    InstrumentItem loose(1, 1, true, false);
    EXPECT_FALSE(data.Remove(&foreign));
    EXPECT_FALSE(data.Remove(&loose));
    EXPECT_FALSE(data.Remove(nullptr));
    EXPECT_EQ(data.GetCount(), 1);
}

TEST(InstrumentData, AppendCopiesClonesEveryBank)
{
    InstrumentData source;
    source.AddBank(MakeBank("1", 1));
    source.AddBank(MakeBank("2", 2, true));
    InstrumentData target;
    target.AddBank(MakeBank("0", 1));
    target.AppendCopies(source);
    EXPECT_EQ(BankNames(target), (QList<QByteArray>{"0", "1", "2"}));
    EXPECT_NE(target.GetBank(1), source.GetBank(0));
    EXPECT_EQ(target.GetBank(2)->GetTypeCode(), FourCC("no. "));
    source.Clear();
    EXPECT_EQ(target.GetBank(2)->GetCount(), 2);

    // Appending a set to itself doubles it once.
    target.AppendCopies(target);
    EXPECT_EQ(BankNames(target), (QList<QByteArray>{"0", "1", "2", "0", "1", "2"}));
}

TEST(InstrumentDataRecord, SaveWritesTheSectionByteForByte)
{
    InstrumentData data;
    InstrumentBank* bank = data.AddBank(std::make_unique<InstrumentBank>("A"));
    auto item = std::make_unique<InstrumentItem>(230, 1, "n", true, false);
    const QByteArray itemBytes = SavedBytes(*item);
    bank->AddItem(std::move(item));
    data.AddBank(std::make_unique<InstrumentNumber>(12));

    QByteArray expected("\x01", 1);
    expected += Le32(2);
    expected += QByteArray("bank", 4);
    expected += QByteArray("\x02", 1) + Le32(1) + Le32(1) + "A" + itemBytes;
    expected += QByteArray("no. ", 4);
    expected += QByteArray("\x02", 1) + Le32(0) + Le32(2) + "12";
    EXPECT_EQ(SavedBytes(data), expected);
}

TEST(InstrumentDataRecord, FileRoundTripIsByteExact)
{
    InstrumentData data;
    InstrumentBank* bank = data.AddBank(std::make_unique<InstrumentBank>("Kitchen"));
    bank->AddItem(std::make_unique<InstrumentItem>(0.35, 7, "", true, false));
    bank->AddItem(std::make_unique<InstrumentItem>(999e6, 15, "500V", false, true));
    bank->AddItem(std::make_unique<InstrumentItem>(45000.5, 1000, false, false));
    InstrumentBank* number = data.AddBank(std::make_unique<InstrumentNumber>(4711));
    number->AddItem(std::make_unique<InstrumentItem>(4711, 30, false, false));
    number->AddItem(std::make_unique<InstrumentItem>(-0.002, 5, "\xce\x94", true, true));
    data.AddBank(std::make_unique<InstrumentBank>("empty"));

    QTemporaryDir dir;
    const QString path = dir.filePath("data.qfs");
    {
        FileWriter writer(path, Tag::Data);
        ASSERT_TRUE(writer.BeginSection(Tag::Data));
        data.Save(writer.GetStream());
        ASSERT_TRUE(writer.Commit());
    }
    InstrumentData loaded;
    {
        FileReader reader(path);
        ASSERT_TRUE(reader.SeekSection(Tag::Data));
        ASSERT_TRUE(loaded.Load(reader.GetStream()));
        EXPECT_FALSE(IsStreamDamaged(reader.GetStream()));
    }
    EXPECT_EQ(SavedBytes(loaded), SavedBytes(data));
    ASSERT_EQ(loaded.GetCount(), 3);
    EXPECT_NE(dynamic_cast<InstrumentNumber*>(loaded.GetBank(1)), nullptr);
    EXPECT_EQ(dynamic_cast<InstrumentNumber*>(loaded.GetBank(0)), nullptr);
    const InstrumentItem* over = loaded.GetBank(0)->GetItem(1);
    EXPECT_EQ(over->GetNote(), QByteArray("500V"));
    EXPECT_TRUE(over->IsOver());
    EXPECT_FALSE(over->IsPrimary());
    EXPECT_EQ(loaded.GetBank(1)->GetItem(1)->GetValue(), -0.002);
}

TEST(InstrumentDataRecord, SixteenByteNamesKeepFifteenAfterLoading)
{
    InstrumentData data;
    data.AddBank(MakeBank("0123456789abcdef", 1));
    ASSERT_EQ(data.GetBank(0)->GetName().size(), 16);
    InstrumentData loaded;
    ASSERT_TRUE(LoadBytes(loaded, SavedBytes(data)).ok);
    EXPECT_EQ(loaded.GetBank(0)->GetName(), QByteArray("0123456789abcde"));
}

TEST(InstrumentDataRecord, FirstBankVersionStoresTheNameAsANumber)
{
    InstrumentItem item(3, 1, true, false);
    QByteArray bytes("\x01", 1);
    bytes += Le32(1) + Code("bank") + QByteArray("\x01", 1) + Le32(1) + Le32(-17) + SavedBytes(item);
    InstrumentData data;
    ASSERT_TRUE(LoadBytes(data, bytes).ok);
    EXPECT_EQ(data.GetBank(0)->GetName(), QByteArray("-17"));
    EXPECT_EQ(data.GetBank(0)->GetItem(0)->GetValue(), 3);
}

TEST(InstrumentDataRecord, LoadAppendsToTheSet)
{
    InstrumentData data;
    data.AddBank(MakeBank("old", 1));
    InstrumentData source;
    source.AddBank(MakeBank("new", 1));
    ASSERT_TRUE(LoadBytes(data, SavedBytes(source)).ok);
    EXPECT_EQ(BankNames(data), (QList<QByteArray>{"old", "new"}));
}

TEST(InstrumentDataRecord, DamagedSectionsEndCleanlyKeepingWhatWasRead)
{
    InstrumentItem item(3, 1, true, false);
    const QByteArray goodBank = Code("bank") + QByteArray("\x02", 1) + Le32(1) + Le32(1) + "g" + SavedBytes(item);
    struct Case
    {
        const char* what;
        QByteArray bytes;
        int banksKept;
    };
    const Case cases[] = {
        {"empty section", QByteArray(), 0},
        {"negative bank count", QByteArray("\x01", 1) + Le32(-1), 0},
        {"huge bank count", QByteArray("\x01", 1) + Le32(INT_MAX) + goodBank, 0},
        {"unknown bank code", QByteArray("\x01", 1) + Le32(2) + goodBank + Code("xxxx") + QByteArray(20, '\0'), 1},
        {"negative item count",
         QByteArray("\x01", 1) + Le32(1) + Code("bank") + QByteArray("\x02", 1) + Le32(-5) + Le32(0), 1},
        {"huge item count",
         QByteArray("\x01", 1) + Le32(1) + Code("no. ") + QByteArray("\x02", 1) + Le32(0x10000000) + Le32(0)
             + SavedBytes(item),
         1},
        {"name past the end",
         QByteArray("\x01", 1) + Le32(1) + Code("bank") + QByteArray("\x02", 1) + Le32(0) + Le32(1000), 1},
        {"item cut short", QByteArray("\x01", 1) + Le32(1) + goodBank.left(goodBank.size() - 3), 1},
        {"bank missing", QByteArray("\x01", 1) + Le32(2) + goodBank, 1},
    };
    for (const Case& c : cases) {
        InstrumentData data;
        const Loaded result = LoadBytes(data, c.bytes);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_TRUE(result.damaged) << c.what;
        EXPECT_EQ(data.GetCount(), c.banksKept) << c.what;
    }

    // The good bank before the damage keeps its item.
    InstrumentData data;
    LoadBytes(data, QByteArray("\x01", 1) + Le32(2) + goodBank + Code("xxxx") + QByteArray(20, '\0'));
    ASSERT_EQ(data.GetCount(), 1);
    EXPECT_EQ(data.GetBank(0)->GetCount(), 1);
}

TEST(InstrumentDataRecord, XmlElements)
{
    InstrumentData data;
    InstrumentBank* bank = data.AddBank(std::make_unique<InstrumentBank>("a&b"));
    bank->AddItem(std::make_unique<InstrumentItem>(1.5, 7, false, false));
    data.AddBank(std::make_unique<InstrumentNumber>(3));
    data.AddBank(std::make_unique<InstrumentBank>());
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    data.WriteXml(out);
    EXPECT_EQ(out.data(), QByteArray("<Data><Count>3</Count>\n"
                                     "<Bank><Count>1</Count>\n<Number>a&amp;b</Number>\n"
                                     "<Item><Value>1.5</Value>\n<Symbol>7</Symbol>\n</Item>\n"
                                     "</Bank>\n"
                                     "<No><Count>0</Count>\n<Number>3</Number>\n</No>\n"
                                     "<Bank><Count>0</Count>\n<Number></Number>\n</Bank>\n"
                                     "</Data>\n"));
}
