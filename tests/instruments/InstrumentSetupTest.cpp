#include <gtest/gtest.h>

#include "instruments/InstrumentSetup.h"
#include "language/Language.h"

#include <array>
#include <climits>

namespace {

// A small table with the ids the settings use, so that names do not depend
// on the wording of the program's tables.
std::array<const char*, 300> MakeStrings(bool czech)
{
    std::array<const char*, 300> strings;
    strings.fill("");
    strings[1] = czech ? "Jazyk" : "Language";
    strings[2] = czech ? "Vypnut\xc3\xad" : "Power off";
    strings[3] = "Backlight off";
    strings[4] = "General";
    strings[5] = "Cu";
    strings[6] = "Al";
    strings[244] = "Distance";
    strings[245] = "Frequency";
    strings[253] = "Resistance beep limit";
    strings[270] = "Beep";
    strings[271] = "Rpe beep limit";
    strings[290] = "Off;On";
    strings[291] = "Single";
    strings[292] = "a;;c;";
    return strings;
}

LanguageTable TestTables(int language)
{
    static const std::array<const char*, 300> english = MakeStrings(false);
    static const std::array<const char*, 300> czech = MakeStrings(true);
    const auto& table = language == Language::English ? english : czech;
    return {table.data(), static_cast<int>(table.size())};
}

class InstrumentSetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_language = MainLanguage.GetLanguage();
        MainLanguage.UseTables(TestTables);
        MainLanguage.SetLanguage(Language::English);
    }
    void TearDown() override
    {
        MainLanguage.UseTables(ProgramLanguageTable);
        MainLanguage.SetLanguage(m_language);
    }

private:
    int m_language = 0;
};

std::unique_ptr<InstrumentSetupItemNumber> Number(int id, float min, float max, bool zero)
{
    return std::make_unique<InstrumentSetupItemNumber>(id, 120, QStringLiteral("s"), min, max, zero);
}

} // namespace

TEST_F(InstrumentSetupTest, NumberLimitsDecideWhichValuesAreTaken)
{
    auto limited = Number(0, 1, 60, true);
    EXPECT_TRUE(limited->SetValue(0));
    EXPECT_EQ(limited->GetValue(), 0);
    EXPECT_TRUE(limited->SetValue(30));
    EXPECT_TRUE(limited->SetValue(60));
    EXPECT_FALSE(limited->SetValue(61));
    EXPECT_FALSE(limited->SetValue(-1));
    EXPECT_FALSE(limited->SetValue(0.5f));
    EXPECT_EQ(limited->GetValue(), 60);

    auto noZero = Number(0, 1, 60, false);
    EXPECT_FALSE(noZero->SetValue(0));
    EXPECT_EQ(noZero->GetValue(), 120);

    auto free = Number(0, 5, 5, false);
    EXPECT_TRUE(free->SetValue(-1000));
    EXPECT_EQ(free->GetValue(), -1000);
}

TEST_F(InstrumentSetupTest, NamesComeFromTheLanguageTables)
{
    EXPECT_EQ(Number(0, 0, 0, false)->GetName(), QString("Power off"));
    EXPECT_EQ(Number(7, 0, 0, false)->GetName(), QString("Language"));
    EXPECT_EQ(Number(9, 0, 0, false)->GetName(), QString("Rpe beep limit"));
    EXPECT_EQ(Number(12, 0, 0, false)->GetName(), QString("Power off"));
    EXPECT_EQ(Number(-3, 0, 0, false)->GetName(), QString("Power off"));
    EXPECT_EQ(InstrumentSetupBank(2).GetName(), QString("Al"));
    EXPECT_EQ(InstrumentSetupBank(4).GetName(), QString("Frequency"));
    EXPECT_EQ(InstrumentSetupBank(7).GetName(), QString("General"));
    EXPECT_EQ(InstrumentSetupBank(INT_MIN).GetName(), QString("General"));

    MainLanguage.SetLanguage(Language::Czech);
    EXPECT_EQ(Number(0, 0, 0, false)->GetName(), QString::fromUtf8("Vypnut\xc3\xad"));
}

TEST_F(InstrumentSetupTest, ChoiceOptionsAreSplitAtSemicolons)
{
    InstrumentSetupItemChoice choice(8, 290, 1);
    EXPECT_EQ(choice.GetOptionCount(), 2);
    EXPECT_EQ(choice.GetOption(0), QString("Off"));
    EXPECT_EQ(choice.GetOption(5), QString("On"));
    EXPECT_EQ(choice.GetOption(-2), QString("Off"));
    EXPECT_EQ(choice.GetKind(), InstrumentSetupAbstract::KindChoice);

    InstrumentSetupItemChoice single(8, 291, 0);
    EXPECT_EQ(single.GetOptionCount(), 1);
    EXPECT_EQ(single.GetOption(3), QString("Single"));

    InstrumentSetupItemChoice gaps(8, 292, 0);
    EXPECT_EQ(gaps.GetOptionCount(), 4);
    EXPECT_EQ(gaps.GetOption(1), QString(""));
    EXPECT_EQ(gaps.GetOption(2), QString("c"));
    EXPECT_EQ(gaps.GetOption(9), QString(""));

    InstrumentSetupItemChoice missing(8, 100000, 0);
    EXPECT_EQ(missing.GetOptionCount(), 1);
    EXPECT_EQ(missing.GetOption(0), QString(""));
}

TEST_F(InstrumentSetupTest, NegativeSelectionsAreClamped)
{
    InstrumentSetupItemChoice choice(8, 290, -4);
    EXPECT_EQ(choice.GetSelected(), 0);
    choice.SetSelected(1);
    EXPECT_EQ(choice.GetSelected(), 1);
    choice.SetSelected(-1);
    EXPECT_EQ(choice.GetSelected(), 0);
}

TEST_F(InstrumentSetupTest, RowTexts)
{
    InstrumentSetupItemNumber power(0, 120.5f, QStringLiteral("s"), 60, 1000, true);
    EXPECT_EQ(power.GetText(), QString("Power off\t120.5 s"));
    const QString mm2 = QStringLiteral("mm\x1b\x03" "2\x1b\x01");
    InstrumentSetupItemNumber copper(2, 0.125f, mm2, 0.125f, 10, false);
    EXPECT_EQ(copper.GetText(), "Cu\t0.125 " + mm2);
    InstrumentSetupItemNumber rounded(2, 1.23456f, QString(), 0, 0, false);
    EXPECT_EQ(rounded.GetText(), QString("Cu\t1.235 "));
    EXPECT_EQ(InstrumentSetupItemChoice(8, 290, 1).GetText(), QString("Beep\tOn"));
    EXPECT_EQ(InstrumentSetupItemChoice(8, 290, 7).GetText(), QString("Beep\tOn"));
    EXPECT_EQ(InstrumentSetupBank(1).GetText(), QString("Cu"));
    EXPECT_EQ(InstrumentSetupBank(1).GetKind(), InstrumentSetupAbstract::KindGroup);
    EXPECT_EQ(power.GetKind(), InstrumentSetupAbstract::KindNumber);
}

TEST_F(InstrumentSetupTest, GroupsAndSetupOwnAndFindTheLastMatch)
{
    InstrumentSetup setup;
    EXPECT_EQ(setup.AddBank(nullptr), nullptr);
    InstrumentSetupBank* general = setup.AddBank(std::make_unique<InstrumentSetupBank>(0));
    InstrumentSetupBank* copper = setup.AddBank(std::make_unique<InstrumentSetupBank>(1));
    InstrumentSetupBank* general2 = setup.AddBank(std::make_unique<InstrumentSetupBank>(0));
    EXPECT_EQ(setup.GetCount(), 3);
    EXPECT_EQ(setup.FindBank(0), general2);
    EXPECT_EQ(setup.FindBank(1), copper);
    EXPECT_EQ(setup.FindBank(9), nullptr);
    EXPECT_EQ(setup.GetBank(0), general);
    EXPECT_EQ(setup.GetBank(3), nullptr);
    EXPECT_EQ(setup.GetBank(-1), nullptr);

    EXPECT_EQ(general->AddItem(nullptr), nullptr);
    InstrumentSetupItem* first = general->AddItem(Number(0, 60, 1000, true));
    InstrumentSetupItem* last = general->AddItem(Number(0, 2, 1000, true));
    general->AddItem(std::make_unique<InstrumentSetupItemChoice>(8, 290, 0));
    EXPECT_EQ(general->FindItem(0), last);
    EXPECT_NE(general->FindItem(0), first);
    EXPECT_EQ(general->FindItem(8)->GetKind(), InstrumentSetupAbstract::KindChoice);
    EXPECT_EQ(general->FindItem(1), nullptr);
    EXPECT_EQ(general->GetItem(3), nullptr);
    general->Clear();
    EXPECT_EQ(general->GetCount(), 0);

    setup.Clear();
    EXPECT_EQ(setup.GetCount(), 0);
    EXPECT_EQ(setup.GetBank(0), nullptr);
}
