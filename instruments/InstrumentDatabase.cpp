#include "instruments/InstrumentDatabase.h"

#include <algorithm>
#include <cstring>

namespace {

void FillText(InstrumentDatabaseItem::Text& field, const QString& text)
{
    field.fill(0);
    const int count = std::min<int>(static_cast<int>(text.size()), InstrumentDatabaseItem::TextLength);
    for (int i = 0; i < count; ++i)
        field[static_cast<std::size_t>(i)] = text.at(i).unicode();
}

QString TextOf(const InstrumentDatabaseItem::Text& field)
{
    int length = 0;
    while (length < InstrumentDatabaseItem::TextLength && field[static_cast<std::size_t>(length)] != 0)
        ++length;
    return QString(reinterpret_cast<const QChar*>(field.data()), length);
}

} // namespace

InstrumentDatabaseItem::InstrumentDatabaseItem(QByteArrayView id, const QString& name,
                                               const QString& location, TDateTime date)
    : m_date(date)
{
    SetId(id == QByteArrayView("0") ? QByteArrayView() : id);
    if (!name.isEmpty())
        SetName(name);
    if (!location.isEmpty())
        SetLocation(location);
}

void InstrumentDatabaseItem::SetId(QByteArrayView text)
{
    m_id.fill(' ');
    m_id[IdLength] = '\0';
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text = text.first(nul);
    const int count = static_cast<int>(std::min<qsizetype>(text.size(), IdLength));
    if (count > 0)
        std::memcpy(m_id.data() + (IdLength - count), text.data(), static_cast<std::size_t>(count));
}

void InstrumentDatabaseItem::SetName(const QString& text) { FillText(m_name, text); }
void InstrumentDatabaseItem::SetLocation(const QString& text) { FillText(m_location, text); }

QByteArray InstrumentDatabaseItem::GetId() const { return QByteArray(m_id.data(), IdLength); }
QString InstrumentDatabaseItem::GetName() const { return TextOf(m_name); }
QString InstrumentDatabaseItem::GetLocation() const { return TextOf(m_location); }

bool InstrumentDatabaseItem::HasBlankId() const
{
    return std::all_of(m_id.begin(), m_id.begin() + IdLength, [](char c) { return c == ' '; });
}

void InstrumentDatabase::Add(InstrumentDatabaseItem item) { m_items.push_back(std::move(item)); }

const InstrumentDatabaseItem* InstrumentDatabase::GetItem(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return &m_items[static_cast<std::size_t>(index)];
}

void InstrumentDatabase::SortById()
{
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const InstrumentDatabaseItem& a, const InstrumentDatabaseItem& b) {
                         return std::memcmp(a.GetIdField().data(), b.GetIdField().data(),
                                            InstrumentDatabaseItem::IdLength)
                                < 0;
                     });
}

void InstrumentDatabase::RemoveBlankIds()
{
    std::erase_if(m_items, [](const InstrumentDatabaseItem& item) { return item.HasBlankId(); });
}
