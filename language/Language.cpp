#include "language/Language.h"

#include "language/StringIds.h"
#include "storage/Utf8.h"

#include <cstring>

Language MainLanguage;

Language::Language(int language, LanguageTableSource tables)
    : m_tables(tables), m_language(0), m_count(0)
{
    SetLanguage(language);
    m_chosen = false;
}

void Language::UseTables(LanguageTableSource tables)
{
    m_tables = tables;
    m_count = m_tables(m_language).count;
}

QByteArray Language::GetUtf8String(int id, int language) const
{
    const int lang = language == Current ? m_language : (language == English ? English : Czech);
    const LanguageTable table = m_tables(lang);
    if (id < 0 || id >= table.count)
        return QByteArray("");
    return QByteArray(table.strings[id]);
}

QString Language::GetString(int id, int language) const
{
    const QByteArray utf8 = GetUtf8String(id, language);
    return DecodeUtf8(utf8, 999);
}

QString Language::GetLanguageName(int language) const
{
    if (language != English && language != Czech)
        return QString("");
    return GetString(StringId::LanguageName, language);
}

void Language::SetLanguage(int language)
{
    if (language > 1)
        return;
    m_language = language == English ? English : Czech;
    m_count = m_tables(m_language).count;
    m_chosen = true;
}
