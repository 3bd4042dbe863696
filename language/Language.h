#pragma once
// Numbered UI strings in English and Czech. The tables are UTF-8 in the
// byte form of storage/Utf8.h.

#include <QByteArray>
#include <QString>

struct LanguageTable
{
    const char* const* strings; // UTF-8 texts indexed by id; ids without text are ""
    int count;
};
using LanguageTableSource = LanguageTable (*)(int language);
// The program's tables: 0 English, anything else Czech.
LanguageTable ProgramLanguageTable(int language);
// The installer's older edition (shorter id range, its own version strings).
LanguageTable InstallerLanguageTable(int language);

class Language
{
public:
    static constexpr int English = 0;
    static constexpr int Czech = 1;
    static constexpr int Current = -1;

    explicit Language(int language = Czech, LanguageTableSource tables = ProgramLanguageTable);

    // The installer reads its own edition of the tables.
    void UseTables(LanguageTableSource tables);

    // The table entry itself (UTF-8). Out-of-range ids give an empty text.
    // language: -1 current, 0 English, anything else Czech.
    QByteArray GetUtf8String(int id, int language = Current) const;
    // The entry decoded to UTF-16, cut at 999 characters.
    QString GetString(int id, int language = Current) const;
    // String 0 of English (0) or Czech (1); empty for any other language.
    QString GetLanguageName(int language) const;
    // Values above 1 are ignored.
    void SetLanguage(int language);

    int GetLanguage() const { return m_language; }
    // Whether a language was set since construction: until then the tables
    // are the initial ones, not what the user chose.
    bool IsChosen() const { return m_chosen; }
    int GetCount() const { return m_count; }

private:
    LanguageTableSource m_tables;
    int m_language;
    int m_count;
    bool m_chosen = false;
};

// The program's one language object (starts as Czech until start-up reads the registry).
extern Language MainLanguage;

