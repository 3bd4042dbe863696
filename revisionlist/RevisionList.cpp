#include "revisionlist/RevisionList.h"

#include <algorithm>
#include <unordered_set>

namespace {
template <typename T>
T* At(const std::vector<T*>& list, int i)
{
    return i >= 0 && i < static_cast<int>(list.size()) ? list[i] : nullptr;
}

template <typename T>
T* At(const std::vector<std::unique_ptr<T>>& list, int i)
{
    return i >= 0 && i < static_cast<int>(list.size()) ? list[i].get() : nullptr;
}

template <typename T>
bool Contains(const std::vector<T*>& list, const T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}
} // namespace

RevisionList::RevisionList() { Reset(); }

RevisionList RevisionList::Empty()
{
    RevisionList list;
    list.m_order.clear();
    list.m_visible.clear();
    list.m_columns.clear();
    return list;
}

void RevisionList::Reset()
{
    m_shown.clear();
    m_rows.clear();
    m_order.clear();
    m_visible.clear();
    m_columns.clear();
    for (auto& column : DefaultRevisionColumns())
        AddColumn(std::move(column));
}

RevisionTableColumn* RevisionList::GetColumn(int i) const { return At(m_columns, i); }
RevisionTableColumn* RevisionList::GetOrderedColumn(int i) const { return At(m_order, i); }
RevisionTableColumn* RevisionList::GetVisibleColumn(int i) const { return At(m_visible, i); }
RevisionTableRow* RevisionList::GetRow(int i) const { return At(m_rows, i); }
RevisionTableRow* RevisionList::GetShownRow(int i) const { return At(m_shown, i); }

RevisionTableColumn* RevisionList::AddColumn(std::unique_ptr<RevisionTableColumn> column)
{
    RevisionTableColumn* c = column.get();
    m_columns.push_back(std::move(column));
    m_visible.push_back(c);
    m_order.push_back(c);
    return c;
}

int RevisionList::HighestNumber() const
{
    int highest = -1;
    for (const auto& c : m_columns)
        highest = std::max(highest, c->GetNumber());
    return highest;
}

int RevisionList::NextColumnNumber() const
{
    return std::max(HighestNumber() + 1, RevisionTableRow::StandardFieldCount);
}

void RevisionList::SetColumnOrder(const std::vector<RevisionTableColumn*>& order,
                                  const std::vector<RevisionTableColumn*>& visible)
{
    std::vector<const RevisionTableColumn*> removed;
    for (const auto& c : m_columns)
        if (!Contains(order, c.get()))
            removed.push_back(c.get());
    m_order = order;
    m_visible = visible;
    for (const RevisionTableColumn* c : removed)
        RemoveColumn(c);
    PadRows();
}

void RevisionList::RemoveColumn(const RevisionTableColumn* column)
{
    const auto it = std::find_if(m_columns.begin(), m_columns.end(),
                                 [column](const auto& c) { return c.get() == column; });
    if (it == m_columns.end())
        return;
    const int number = column->GetNumber();
    std::erase(m_order, column);
    std::erase(m_visible, column);
    m_columns.erase(it);
    const bool shared = std::any_of(m_columns.begin(), m_columns.end(),
                                    [number](const auto& c) { return c->GetNumber() == number; });
    if (!shared)
        for (const auto& row : m_rows)
            row->SetField(number, QString());
}

int RevisionList::FieldCount() const
{
    return std::max(static_cast<int>(m_columns.size()), HighestNumber() + 1);
}

RevisionTableRow* RevisionList::AddRow(std::unique_ptr<RevisionTableRow> row)
{
    row->PadFields(FieldCount());
    RevisionTableRow* r = row.get();
    m_rows.push_back(std::move(row));
    m_shown.push_back(r);
    return r;
}

void RevisionList::RemoveRows(const std::vector<const RevisionTableRow*>& rows)
{
    const std::unordered_set<const RevisionTableRow*> doomed(rows.begin(), rows.end());
    std::erase_if(m_rows, [&doomed](const auto& r) { return doomed.count(r.get()) != 0; });
    ShowAllRows();
}

void RevisionList::PadRows()
{
    const int n = FieldCount();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        PrefetchRecordsAhead(m_rows, i, m_rows.size(), -1);
        m_rows[i]->PadFields(n);
    }
}

void RevisionList::ShowAllRows()
{
    m_shown.clear();
    m_shown.reserve(m_rows.size());
    for (const auto& row : m_rows)
        m_shown.push_back(row.get());
}

RevisionTableRow* RevisionList::FindRowById(const QString& id) const
{
    for (const auto& row : m_rows)
        if (row->GetField(RevisionTableRow::Id) == id)
            return row.get();
    return nullptr;
}

QStringList RevisionList::RowIds() const
{
    QStringList ids;
    ids.reserve(static_cast<qsizetype>(m_rows.size()));
    for (const auto& row : m_rows)
        ids << row->GetField(RevisionTableRow::Id);
    return ids;
}

void RevisionList::AdoptColumn(std::unique_ptr<RevisionTableColumn> column)
{
    m_columns.push_back(std::move(column));
}

void RevisionList::AdoptRow(std::unique_ptr<RevisionTableRow> row)
{
    m_shown.push_back(row.get());
    m_rows.push_back(std::move(row));
}

void RevisionList::SetOrderLists(std::vector<RevisionTableColumn*> order,
                                 std::vector<RevisionTableColumn*> visible)
{
    m_order = std::move(order);
    m_visible = std::move(visible);
}
