#include "revisionlist/RevisionFilters.h"

#include "platform/NumberText.h"
#include "platform/Parallel.h"
#include "revisionlist/RevisionList.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace {
constexpr qsizetype MatchedLength = 149;
// Below this many items per thread, starting threads costs more than it
// saves: records to look at, or texts to parse as dates or numbers.
constexpr size_t RowsPerThread = 8192;
constexpr size_t ParsesPerThread = 256;

bool ParseDate(const QString& text, TDateTime& value) { return TryStrToDateTime(text, value); }

// Runs work(begin, end) for every part, on several threads. The parts touch
// disjoint elements only.
void ForEachPart(const std::vector<size_t>& bounds, const std::function<void(size_t, size_t)>& work)
{
    ForEachInParallel(bounds.size() - 1, [&](size_t p) { work(bounds[p], bounds[p + 1]); });
}

// The shown records for which `keep` holds, in their order. The records are
// tested on several threads for a long list; `keep` must only read.
void Narrow(RevisionList& list, const std::vector<RevisionTableRow*>& from,
            const std::function<bool(const RevisionTableRow&)>& keep)
{
    std::vector<char> kept(from.size());
    ForEachPart(PartBounds(from.size(), RowsPerThread), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            kept[i] = keep(*from[i]);
    });
    std::vector<RevisionTableRow*> shown;
    for (size_t i = 0; i < from.size(); ++i)
        if (kept[i])
            shown.push_back(from[i]);
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

// The order of `keys` by `less`, equal keys keeping their order: each part
// is sorted on its own thread, then neighbouring runs are merged (a merge
// takes the earlier run's element first among equals), pairs of runs on
// threads of their own.
template <typename Key, typename Less>
std::vector<int> StableOrder(const std::vector<Key>& keys, Less less)
{
    const auto before = [&keys, &less](int a, int b) { return less(keys[a], keys[b]); };
    std::vector<int> index(keys.size());
    std::iota(index.begin(), index.end(), 0);
    std::vector<size_t> runs = PartBounds(index.size(), RowsPerThread);
    ForEachPart(runs, [&](size_t begin, size_t end) {
        std::stable_sort(index.begin() + begin, index.begin() + end, before);
    });
    std::vector<int> merged(index.size());
    while (runs.size() > 2) {
        std::vector<size_t> next;
        for (size_t r = 0; r + 1 < runs.size(); r += 2)
            next.push_back(runs[r]);
        next.push_back(runs.back());
        ForEachInParallel(next.size() - 1, [&](size_t pair) {
            const size_t r = pair * 2;
            const size_t begin = runs[r];
            const size_t middle = runs[r + 1];
            const size_t end = r + 2 < runs.size() ? runs[r + 2] : middle;
            std::merge(index.begin() + begin, index.begin() + middle, index.begin() + middle,
                       index.begin() + end, merged.begin() + begin, before);
        });
        index.swap(merged);
        runs = std::move(next);
    }
    return index;
}

// Sorts the shown records by precomputed keys; equal keys keep their order.
template <typename Key, typename Less>
void SortByKeys(RevisionList& list, const std::vector<Key>& keys, Less less, bool ascending)
{
    const std::vector<int> order = ascending
        ? StableOrder(keys, less)
        : StableOrder(keys, [&less](const Key& a, const Key& b) { return less(b, a); });
    std::vector<RevisionTableRow*> sorted;
    sorted.reserve(order.size());
    for (int i : order)
        sorted.push_back(list.ShownRows()[i]);
    list.SetShownRows(std::move(sorted));
}

// The locale's collation keys of one field of every record, case-sensitive.
// Making a key is the costly part of sorting text, and keys are independent
// of each other: a long list makes them on several threads, each with its
// own collator.
std::vector<std::optional<QCollatorSortKey>> CollationKeys(const std::vector<RevisionTableRow*>& rows, int field)
{
    std::vector<std::optional<QCollatorSortKey>> keys(rows.size());
    ForEachPart(PartBounds(rows.size(), RowsPerThread), [&](size_t begin, size_t end) {
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseSensitive);
        for (size_t i = begin; i < end; ++i)
            keys[i] = collator.sortKey(rows[i]->FieldText(field));
    });
    return keys;
}

// Numbers and dates as sort keys. Lists repeat the same dates and numbers
// over and over, and parsing is the costly part: each distinct text is
// parsed once, the distinct texts on several threads.
std::vector<double> ValueKeys(const std::vector<RevisionTableRow*>& rows, int field, double (*key)(const QString&))
{
    QHash<QString, int> slotOfText;
    std::vector<const QString*> distinct;
    std::vector<int> slotOfRow(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString& text = rows[i]->FieldText(field);
        const auto known = slotOfText.constFind(text);
        if (known != slotOfText.cend()) {
            slotOfRow[i] = *known;
            continue;
        }
        slotOfRow[i] = static_cast<int>(distinct.size());
        slotOfText.insert(text, slotOfRow[i]);
        distinct.push_back(&text);
    }
    std::vector<double> values(distinct.size());
    ForEachPart(PartBounds(distinct.size(), ParsesPerThread), [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            values[i] = key(*distinct[i]);
    });
    std::vector<double> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keys[i] = values[slotOfRow[i]];
    return keys;
}

// MatchPattern for many texts: the pattern is prepared once, and a text of
// plain ASCII is compared through a table of its characters' lower case in
// the locale, without making a lower-case copy. Lower case of other texts
// can depend on the letters around and change their length, so they take
// the locale's conversion of the whole text.
class PatternMatcher
{
public:
    PatternMatcher(const QString& pattern, bool ignoreCase)
        : m_pattern((ignoreCase ? m_locale.toLower(pattern) : pattern).left(MatchedLength)),
          m_ignoreCase(ignoreCase)
    {
        if (!ignoreCase)
            return;
        for (char16_t c = 0; c < AsciiEnd; ++c) {
            const QString lower = m_locale.toLower(QString(QChar(c)));
            // A character whose lower case is longer keeps its texts off the table.
            m_lower[c] = lower.size() == 1 ? lower[0] : NoLower;
        }
    }

    bool Matches(const QString& text) const
    {
        if (!m_ignoreCase)
            return Compare(text, [](QChar c) { return c; });
        const bool table = std::all_of(text.begin(), text.end(), [this](QChar c) {
            return c.unicode() < AsciiEnd && m_lower[c.unicode()] != NoLower;
        });
        if (table)
            return Compare(text, [this](QChar c) { return m_lower[c.unicode()]; });
        const QString lower = m_locale.toLower(text);
        return Compare(lower, [](QChar c) { return c; });
    }

private:
    static constexpr char16_t AsciiEnd = 0x80;
    static constexpr QChar NoLower = QChar(0xFFFF);

    template <typename Lower>
    bool Compare(const QString& text, Lower lower) const
    {
        const qsizetype length = std::min(text.size(), MatchedLength);
        for (qsizetype i = 0; i < m_pattern.size(); ++i) {
            if (m_pattern[i] == u'?')
                continue;
            if (i >= length || m_pattern[i] != lower(text[i]))
                return false;
        }
        return true;
    }

    const QLocale m_locale;
    const QString m_pattern;
    const bool m_ignoreCase;
    std::array<QChar, AsciiEnd> m_lower{};
};
} // namespace

bool MatchPattern(const QString& pattern, const QString& text, bool ignoreCase)
{
    return PatternMatcher(pattern, ignoreCase).Matches(text);
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
    const PatternMatcher matcher(pattern, ignoreCase);
    Narrow(list, list.ShownRows(),
           [&](const RevisionTableRow& row) { return matcher.Matches(row.FieldText(field)); });
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
    case RevisionTableColumn::Date:
        SortByKeys(list, ValueKeys(shown, field, type == RevisionTableColumn::Number ? NumberKey : DateKey),
                   std::less<double>(), ascending);
        break;
    default:
        SortByKeys(list, CollationKeys(shown, field),
                   [](const std::optional<QCollatorSortKey>& a, const std::optional<QCollatorSortKey>& b) {
                       return a->compare(*b) < 0;
                   },
                   ascending);
        break;
    }
}

bool SameText(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

bool ShowsAllRowsSortedAsText(const RevisionList& list, int field)
{
    const std::vector<RevisionTableRow*>& shown = list.ShownRows();
    if (shown.size() != list.Rows().size())
        return false;
    // Each record against the one before it, on several threads: no key is
    // made, and neighbours with the same text need no collator at all.
    const std::vector<size_t> bounds = PartBounds(shown.size(), RowsPerThread);
    std::atomic<bool> sorted{true};
    // Per part, each i where shown[i - 1] and shown[i] tie.
    std::vector<std::vector<size_t>> tiesOfPart(bounds.size() - 1);
    ForEachInParallel(bounds.size() - 1, [&](size_t part) {
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseSensitive);
        const size_t end = bounds[part + 1];
        for (size_t i = std::max<size_t>(bounds[part], 1); i < end && sorted; ++i) {
            PrefetchRecordsAhead(shown, i, end, field);
            const QString& before = shown[i - 1]->FieldText(field);
            const QString& text = shown[i]->FieldText(field);
            const int order = SameText(before, text) ? 0 : collator.compare(before, text);
            if (order > 0)
                sorted = false;
            else if (order == 0)
                tiesOfPart[part].push_back(i);
        }
    });
    if (!sorted)
        return false;
    // Records with equal texts must be in storage order.
    std::unordered_map<const RevisionTableRow*, size_t> position;
    for (const std::vector<size_t>& ties : tiesOfPart)
        for (size_t i : ties) {
            if (position.empty())
                for (size_t k = 0; k < list.Rows().size(); ++k)
                    position.emplace(list.Rows()[k].get(), k);
            if (position.at(shown[i - 1]) > position.at(shown[i]))
                return false;
        }
    return true;
}
