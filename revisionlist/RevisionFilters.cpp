#include "revisionlist/RevisionFilters.h"

#include "platform/NumberText.h"
#include "revisionlist/RevisionList.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <functional>
#include <numeric>
#include <thread>

namespace {
constexpr qsizetype MatchedLength = 149;

bool ParseDate(const QString& text, TDateTime& value) { return TryStrToDateTime(text, value); }

// The shown records for which `keep` holds, in their order.
void Narrow(RevisionList& list, const std::vector<RevisionTableRow*>& from,
            const std::function<bool(const RevisionTableRow&)>& keep)
{
    std::vector<RevisionTableRow*> shown;
    for (RevisionTableRow* row : from)
        if (keep(*row))
            shown.push_back(row);
    list.SetShownRows(std::move(shown));
}

std::vector<RevisionTableRow*> AllRows(const RevisionList& list)
{
    std::vector<RevisionTableRow*> rows;
    rows.reserve(list.Rows().size());
    for (const auto& row : list.Rows())
        rows.push_back(row.get());
    return rows;
}

double NumberKey(const QString& text)
{
    double value = 0;
    return TryStrToFloat(text, value) ? value : 0.0;
}

double DateKey(const QString& text)
{
    TDateTime value = 0;
    return ParseDate(text, value) ? value : 0.0;
}

// The locale's collation keys of one field of every record, case-sensitive.
// Making a key is the costly part of sorting text, and keys are independent
// of each other: a long list makes them on several threads, each with its
// own collator.
std::vector<QCollatorSortKey> CollationKeys(const std::vector<RevisionTableRow*>& rows, int field)
{
    constexpr size_t RowsPerThread = 8192;
    const size_t threads =
        std::clamp<size_t>(rows.size() / RowsPerThread, 1, std::max(1u, std::thread::hardware_concurrency()));
    const size_t chunk = (rows.size() + threads - 1) / threads;
    std::vector<std::vector<QCollatorSortKey>> parts(threads);
    const auto make = [&](size_t part) {
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseSensitive);
        const size_t end = std::min(rows.size(), (part + 1) * chunk);
        for (size_t i = part * chunk; i < end; ++i)
            parts[part].push_back(collator.sortKey(rows[i]->GetField(field)));
    };
    std::vector<std::thread> workers;
    for (size_t part = 1; part < threads; ++part)
        workers.emplace_back(make, part);
    make(0);
    for (std::thread& worker : workers)
        worker.join();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows.size());
    for (auto& part : parts)
        for (auto& key : part)
            keys.push_back(std::move(key));
    return keys;
}

// Sorts the shown records by precomputed keys; equal keys keep their order.
template <typename Key, typename Less>
void SortByKeys(RevisionList& list, const std::vector<Key>& keys, Less less, bool ascending)
{
    std::vector<int> index(keys.size());
    std::iota(index.begin(), index.end(), 0);
    std::stable_sort(index.begin(), index.end(), [&](int a, int b) {
        return ascending ? less(keys[a], keys[b]) : less(keys[b], keys[a]);
    });
    std::vector<RevisionTableRow*> sorted;
    sorted.reserve(index.size());
    for (int i : index)
        sorted.push_back(list.ShownRows()[i]);
    list.SetShownRows(std::move(sorted));
}
} // namespace

bool MatchPattern(const QString& pattern, const QString& text, bool ignoreCase)
{
    const QLocale locale;
    QString p = (ignoreCase ? locale.toLower(pattern) : pattern).left(MatchedLength);
    QString t = (ignoreCase ? locale.toLower(text) : text).left(MatchedLength);
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (p[i] == u'?')
            continue;
        if (i >= t.size() || p[i] != t[i])
            return false;
    }
    return true;
}

void FilterByValidity(RevisionList& list, TDateTime limit)
{
    Narrow(list, AllRows(list), [limit](const RevisionTableRow& row) {
        TDateTime date = 0;
        return ParseDate(row.GetField(RevisionTableRow::NextRevision), date) && date < limit;
    });
}

void FilterNewFiles(RevisionList& list, int days)
{
    TDateTime newest = 0;
    for (const RevisionTableRow* row : list.ShownRows()) {
        TDateTime modified = 0;
        if (ParseDate(row->GetField(RevisionTableRow::Modified), modified))
            newest = std::max(newest, modified);
    }
    Narrow(list, list.ShownRows(), [newest, days](const RevisionTableRow& row) {
        TDateTime modified = 0;
        return ParseDate(row.GetField(RevisionTableRow::Modified), modified) && modified + days > newest;
    });
}

void FilterByText(RevisionList& list, int field, const QString& pattern, bool ignoreCase)
{
    Narrow(list, list.ShownRows(), [&](const RevisionTableRow& row) {
        return MatchPattern(pattern, row.GetField(field), ignoreCase);
    });
}

void FilterByDate(RevisionList& list, TDateTime date, bool older)
{
    Narrow(list, list.ShownRows(), [date, older](const RevisionTableRow& row) {
        TDateTime value = 0;
        if (!ParseDate(row.GetField(RevisionTableRow::NextRevision), value))
            return false;
        return older ? value < date : value > date;
    });
}

void SortRows(RevisionList& list, int field, int type, bool ascending)
{
    const std::vector<RevisionTableRow*>& shown = list.ShownRows();
    switch (type) {
    case RevisionTableColumn::Number:
    case RevisionTableColumn::Date: {
        // Lists repeat the same dates and numbers over and over: each text
        // is parsed once.
        QHash<QString, double> parsed;
        std::vector<double> keys;
        keys.reserve(shown.size());
        for (const RevisionTableRow* row : shown) {
            const QString text = row->GetField(field);
            auto known = parsed.constFind(text);
            if (known == parsed.cend())
                known = parsed.insert(text, type == RevisionTableColumn::Number ? NumberKey(text) : DateKey(text));
            keys.push_back(*known);
        }
        SortByKeys(list, keys, std::less<double>(), ascending);
        break;
    }
    default: {
        std::vector<QCollatorSortKey> keys = CollationKeys(shown, field);
        SortByKeys(list, keys, [](const QCollatorSortKey& a, const QCollatorSortKey& b) {
            return a.compare(b) < 0; }, ascending);
        break;
    }
    }
}
