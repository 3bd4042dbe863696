#pragma once
// Numbered UI strings in English and Czech, and the UTF-8 routines used for
// every text that goes into a file or a table.
//
// The byte form is deliberately not standard UTF-8: each UTF-16 unit is
// encoded on its own (a surrogate becomes its own 3-byte sequence), because
// stored documents rely on exactly that. Use these routines for file texts,
// never QString::toUtf8.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The number of characters of a UTF-8 text up to its end or first NUL:
// every byte that is not a continuation byte (0x80..0xBF).
int CountUtf8Chars(QByteArrayView utf8);

// Bytes the UTF-8 form of a UTF-16 text needs (1, 2 or 3 per unit), no terminator.
int GetUtf8Size(const QString& text);

// The UTF-8 form of a UTF-16 text, one unit at a time (no terminator in the result).
QByteArray EncodeUtf8(const QString& text);

// Decodes at most `count` characters. Stops at the end of the input, at a NUL,
// at a byte that cannot start a 1..3 byte sequence (continuation byte, 4-byte
// lead) and at a sequence cut short by the end of the input.
QString DecodeUtf8(QByteArrayView utf8, int count);

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
    int GetCount() const { return m_count; }

private:
    LanguageTableSource m_tables;
    int m_language;
    int m_count;
};

// The program's one language object (starts as Czech until start-up reads the registry).
extern Language MainLanguage;

