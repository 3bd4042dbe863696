#include "revisionlist/RevisionTableRow.h"

namespace {
// Texts of a form below this kind are fixed or free texts, above it nothing.
constexpr int FirstRecordKind = 2;
constexpr int LastRecordKind = 11;
// Kinds 2..5 fill fields 0..3; 6..11 fill the field of the same number.
constexpr int FirstSameNumberKind = 6;
constexpr int MinPadCount = 6;
} // namespace

RevisionTableRow::RevisionTableRow()
{
    // Exactly twelve: resize() alone would make room for more, and lists
    // hold a hundred thousand records.
    m_fields.reserve(StandardFieldCount);
    m_fields.resize(StandardFieldCount);
}

QString RevisionTableRow::GetField(int k) const { return FieldText(k); }

const QString& RevisionTableRow::FieldText(int k) const
{
    static const QString none;
    return k >= 0 && k < m_fields.size() ? m_fields[k] : none;
}

void RevisionTableRow::SetField(int k, const QString& text)
{
    if (k < 0 || k >= m_fields.size())
        return;
    QString value = text;
    value.replace(u'\n', u' ');
    m_fields[k] = value;
}

void RevisionTableRow::SetFieldIfNotEmpty(int k, const QString& text)
{
    if (!text.isEmpty())
        SetField(k, text);
}

void RevisionTableRow::AddField(const QString& text) { m_fields.append(text); }

void RevisionTableRow::PadFields(int n)
{
    if (n < MinPadCount)
        return;
    while (m_fields.size() < n)
        m_fields.append(QString());
}

void RevisionTableRow::ClearFields()
{
    for (QString& field : m_fields)
        field.clear();
}

int RevisionTableRow::FieldOfTextType(int kind)
{
    if (kind < FirstRecordKind || kind > LastRecordKind)
        return -1;
    return kind < FirstSameNumberKind ? kind - FirstRecordKind : kind;
}

void RevisionTableRow::SetFieldByTextType(int kind, const QString& text)
{
    const int field = FieldOfTextType(kind);
    if (field >= 0)
        SetField(field, text);
}

bool RevisionTableRow::HasContent() const
{
    for (int k = Name; k <= Note5; ++k) {
        if (k == FileName || k == Modified)
            continue;
        if (!m_fields[k].isEmpty())
            return true;
    }
    return false;
}

void RevisionTableRow::CopyFrom(const RevisionTableRow& other)
{
    for (int k = 0; k < StandardFieldCount; ++k)
        SetFieldIfNotEmpty(k, other.GetField(k));
}
