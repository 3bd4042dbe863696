#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <climits>
#include <set>

#include "language/Language.h"
#include "storage/Utf8.h"

namespace {

constexpr int ProgramCount = 322;
constexpr int InstallerCount = 310;
constexpr int EmptyIds[] = {173, 174, 181, 237, 240};

bool IsEmptyId(int id)
{
    for (int empty : EmptyIds)
        if (id == empty)
            return true;
    return false;
}

QByteArray Entry(const LanguageTable& table, int id)
{
    return QByteArray(table.strings[id]);
}

QString FromUtf16(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// The line breaks, tabs and style escapes of a text, in order.
QByteArray ControlBytes(const QByteArray& text)
{
    QByteArray controls;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            controls += c;
    return controls;
}

} // namespace

// ---- Lookups ----------------------------------------------------------------

TEST(LanguageLookup, FixedRowsInBothLanguages)
{
    Language english(Language::English);
    Language czech(Language::Czech);
    EXPECT_EQ(english.GetString(0), "English");
    EXPECT_EQ(czech.GetString(0), QString::fromUtf8("Čeština"));
    EXPECT_EQ(english.GetString(1), "Language");
    EXPECT_EQ(czech.GetString(1), "Jazyk");
    EXPECT_EQ(czech.GetString(264), QString::fromUtf8("Obecné"));
    EXPECT_EQ(czech.GetString(269), "Vypnuto;Zapnuto");
    EXPECT_EQ(english.GetString(269), "Off;On");
    EXPECT_EQ(czech.GetString(284), QString::fromUtf8("Napětí naprázdno (ČSN EN 60974-4)"));
    EXPECT_EQ(english.GetString(285), "Latest files");
    EXPECT_EQ(english.GetString(286), "Polarization index");
    EXPECT_EQ(english.GetString(287), "DAR");
    EXPECT_EQ(english.GetString(288), "Capacitance");
    // Historical spellings are kept as they are.
    EXPECT_EQ(english.GetString(19), "Interupted by user");
    EXPECT_EQ(english.GetString(98), "Minimun");
    EXPECT_EQ(english.GetString(212), "Files valid less then one week");
    EXPECT_EQ(english.GetString(279), " ");
}

TEST(LanguageLookup, LanguageOptionsFollowTheInstrumentsOrder)
{
    // The instrument stores option index 0 for English and 1 for Czech.
    Language czech(Language::Czech);
    EXPECT_EQ(czech.GetString(265, Language::English), "English;Czech");
    EXPECT_EQ(czech.GetString(265), QString::fromUtf8("Angličtina;Čeština"));
}

TEST(LanguageLookup, ExplicitLanguageOverridesTheCurrentOne)
{
    Language english(Language::English);
    EXPECT_EQ(english.GetString(1, Language::Czech), "Jazyk");
    EXPECT_EQ(english.GetString(1, 7), "Jazyk"); // anything but 0 is Czech
    EXPECT_EQ(english.GetString(1, Language::Current), "Language");
    Language czech(Language::Czech);
    EXPECT_EQ(czech.GetString(1, Language::English), "Language");
    EXPECT_EQ(czech.GetUtf8String(0), QByteArray("\xC4\x8C" "e\xC5\xA1tina"));
    EXPECT_EQ(czech.GetUtf8String(0, Language::English), QByteArray("English"));
}

TEST(LanguageLookup, IdsOutsideTheTableGiveEmptyText)
{
    Language czech(Language::Czech);
    ASSERT_EQ(czech.GetCount(), ProgramCount);
    for (int id : {-1, -2, -289, INT_MIN, ProgramCount, ProgramCount + 1, INT_MAX}) {
        EXPECT_TRUE(czech.GetString(id).isEmpty()) << id;
        EXPECT_TRUE(czech.GetUtf8String(id).isEmpty()) << id;
        EXPECT_TRUE(czech.GetString(id, Language::English).isEmpty()) << id;
    }
    EXPECT_FALSE(czech.GetString(ProgramCount - 1).isEmpty());
    EXPECT_FALSE(czech.GetString(0).isEmpty());
}

TEST(LanguageLookup, SetLanguageAndLanguageNames)
{
    Language language(Language::English);
    EXPECT_EQ(language.GetLanguage(), Language::English);
    // The initial language is nobody's choice (the 8-bit code page still
    // follows the locale then).
    EXPECT_FALSE(language.IsChosen());
    language.SetLanguage(Language::Czech);
    EXPECT_EQ(language.GetLanguage(), Language::Czech);
    EXPECT_TRUE(language.IsChosen());
    EXPECT_EQ(language.GetString(1), "Jazyk");

    language.SetLanguage(5);
    EXPECT_EQ(language.GetLanguage(), Language::Czech);
    EXPECT_EQ(language.GetCount(), ProgramCount);
    EXPECT_EQ(language.GetString(1), "Jazyk");

    EXPECT_EQ(language.GetLanguageName(Language::English), "English");
    EXPECT_EQ(language.GetLanguageName(Language::Czech), QString::fromUtf8("Čeština"));
    EXPECT_TRUE(language.GetLanguageName(2).isEmpty());
    EXPECT_TRUE(language.GetLanguageName(5).isEmpty());
}

TEST(LanguageLookup, MainLanguageStartsInCzech)
{
    EXPECT_EQ(MainLanguage.GetLanguage(), Language::Czech);
    EXPECT_EQ(MainLanguage.GetCount(), ProgramCount);
}

TEST(LanguageLookup, StyleEscapesMarkTheSubscript)
{
    Language english(Language::English);
    EXPECT_EQ(english.GetUtf8String(139), QByteArray("Resistor R\x1b\x02" "PE\x1b\x01" " current"));
    EXPECT_EQ(english.GetUtf8String(153), QByteArray("Resistor R\x1b\x02" "PE\x1b\x01" " voltage"));
    const QString decoded = english.GetString(139);
    EXPECT_EQ(decoded.size(), 24);
    EXPECT_EQ(decoded.mid(10, 6), FromUtf16(u"\x1b\x02PE\x1b\x01"));
    for (int id : {139, 153})
        EXPECT_TRUE(english.GetUtf8String(id, Language::Czech).contains("R\x1b\x02" "PE\x1b\x01")) << id;
}

// ---- Whole tables -------------------------------------------------------------

TEST(LanguageTables, BothTablesCoverEveryIdAndEndWithNull)
{
    const LanguageTable english = ProgramLanguageTable(Language::English);
    const LanguageTable czech = ProgramLanguageTable(Language::Czech);
    ASSERT_EQ(english.count, ProgramCount);
    ASSERT_EQ(czech.count, ProgramCount);
    EXPECT_EQ(english.strings[ProgramCount], nullptr);
    EXPECT_EQ(czech.strings[ProgramCount], nullptr);
    for (int id = 0; id < ProgramCount; ++id) {
        ASSERT_NE(english.strings[id], nullptr) << id;
        ASSERT_NE(czech.strings[id], nullptr) << id;
        EXPECT_EQ(Entry(english, id).isEmpty(), IsEmptyId(id)) << id;
        EXPECT_EQ(Entry(czech, id).isEmpty(), IsEmptyId(id)) << id;
    }
}

TEST(LanguageTables, CzechTextsAreWellFormedUtf8)
{
    const LanguageTable czech = ProgramLanguageTable(Language::Czech);
    for (int id = 0; id < czech.count; ++id) {
        const QByteArray text = Entry(czech, id);
        for (char c : text)
            ASSERT_LT(static_cast<unsigned char>(c), 0xF0) << "4-byte sequence in id " << id;
        const QString decoded = DecodeUtf8(text, CountUtf8Chars(text));
        // Every byte was consumed and the strict decoder agrees.
        EXPECT_EQ(EncodeUtf8(decoded), text) << id;
        EXPECT_EQ(decoded, QString::fromUtf8(text)) << id;
        EXPECT_EQ(decoded.size(), CountUtf8Chars(text)) << id;
    }
}

TEST(LanguageTables, TranslationsKeepControlCharactersAndOptionCounts)
{
    const LanguageTable english = ProgramLanguageTable(Language::English);
    const LanguageTable czech = ProgramLanguageTable(Language::Czech);
    for (int id = 0; id < ProgramCount; ++id) {
        const QByteArray en = Entry(english, id);
        const QByteArray cs = Entry(czech, id);
        EXPECT_EQ(ControlBytes(en), ControlBytes(cs)) << id;
        EXPECT_EQ(en.count(';'), cs.count(';')) << id;
        EXPECT_EQ(en.endsWith('\n'), cs.endsWith('\n')) << id;
    }
}

TEST(LanguageTables, InstallerEditionDiffersOnlyInVersionAndLength)
{
    const LanguageTable english = InstallerLanguageTable(Language::English);
    const LanguageTable czech = InstallerLanguageTable(Language::Czech);
    // The older edition ends at 284 (English) and 285 (Czech); after it, only
    // the rows added for the installer's own messages.
    const std::set<int> added = {292, 293, 303, 304, 305, 306, 307, 308, 309};
    ASSERT_EQ(english.count, InstallerCount);
    ASSERT_EQ(czech.count, InstallerCount);
    EXPECT_EQ(english.strings[InstallerCount], nullptr);
    EXPECT_EQ(czech.strings[InstallerCount], nullptr);

    const struct
    {
        LanguageTable installer;
        LanguageTable program;
        int edition;
    } pairs[] = {{english, ProgramLanguageTable(Language::English), 285},
                 {czech, ProgramLanguageTable(Language::Czech), 286}};
    for (const auto& pair : pairs) {
        for (int id = 0; id < pair.installer.count; ++id) {
            QByteArray expected = Entry(pair.program, id);
            if (id == 126 || id == 255) {
                ASSERT_TRUE(expected.contains(" 2.25\n")) << id;
                expected.replace(" 2.25\n", " 2.22\n");
            }
            if (id >= pair.edition && !added.count(id))
                expected.clear();
            EXPECT_EQ(Entry(pair.installer, id), expected) << id;
        }
    }
    EXPECT_TRUE(Entry(english, 126).startsWith("Quillfen version 2.22\n\nInstrument drivers:\nKx310.1\n"));
    EXPECT_TRUE(Entry(english, 255).startsWith("Tarnvox version 2.22\n\n"));
}

TEST(LanguageTables, InstallerLanguageObjectUsesItsOwnCounts)
{
    Language installer(Language::English, InstallerLanguageTable);
    EXPECT_EQ(installer.GetCount(), InstallerCount);
    EXPECT_FALSE(installer.GetString(284).isEmpty());
    EXPECT_TRUE(installer.GetString(285).isEmpty());
    EXPECT_TRUE(installer.GetString(126).startsWith("Quillfen version 2.22\n"));

    installer.SetLanguage(Language::Czech);
    EXPECT_EQ(installer.GetCount(), InstallerCount);
    EXPECT_EQ(installer.GetString(285), QString::fromUtf8("Nejnovější soubory"));
    EXPECT_TRUE(installer.GetString(286).isEmpty());

    Language program(Language::Czech);
    program.UseTables(InstallerLanguageTable);
    EXPECT_EQ(program.GetCount(), InstallerCount);
    EXPECT_TRUE(program.GetString(255).startsWith("Tarnvox verze 2.22\n"));
}

// ---- Decoding limits in lookups -------------------------------------------------

namespace {

QByteArray LongText()
{
    return QByteArray(1500, 'x');
}

LanguageTable OddTables(int)
{
    static const QByteArray longText = LongText();
    static const char* const strings[] = {
        longText.constData(),
        "ab\xF0\x9F\x98\x80" "cd",   // 4-byte sequence
        "\xC3\xA9\x80" "z",          // stray continuation byte
        "ok\xE2\x82",                // cut-short 3-byte sequence
        nullptr,
    };
    return LanguageTable{strings, 4};
}

} // namespace

TEST(LanguageLookup, DecodingStopsWhereTheTextCannotBeRead)
{
    Language language(Language::English, OddTables);
    EXPECT_EQ(language.GetString(0).size(), 999);
    EXPECT_EQ(language.GetUtf8String(0).size(), 1500);
    EXPECT_EQ(language.GetString(1), "ab");
    EXPECT_EQ(language.GetString(2), QString::fromUtf8("é"));
    EXPECT_EQ(language.GetString(3), "ok");
    EXPECT_TRUE(language.GetString(4).isEmpty());
}

TEST(LanguageTables, CzechNamesTheRevisionListAlwaysTheSameWay)
{
    const Language czech(Language::Czech);
    for (int id = 0; id < ProgramCount; ++id)
        EXPECT_FALSE(
            czech.GetString(id).contains(QString::fromUtf8("revizní seznam"), Qt::CaseInsensitive))
            << id;
}
