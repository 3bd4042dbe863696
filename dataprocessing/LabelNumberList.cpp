#include "dataprocessing/LabelNumberList.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int64_t MaxLabelNumber = INT32_MAX;
// A range holds at most this many numbers more than its start.
constexpr int64_t MaxRangeSpan = 10000;

// The value of a run of digits; nothing when empty or above MaxLabelNumber.
std::optional<int64_t> ParseDigits(QStringView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    int64_t value = 0;
    for (QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > MaxLabelNumber)
            return std::nullopt;
    }
    return value;
}

} // namespace

QString FormatLabelNumber(int32_t number)
{
    return QString::asprintf("%8.8d", number);
}

namespace {

// The list's order: the texts compared without regard to letter case.
bool Before(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

LabelNumberList::LabelNumberList(QObject* parent) : QAbstractListModel(parent) {}

void LabelNumberList::SetEntries(std::vector<LabelNumber>* entries)
{
    beginResetModel();
    m_entries = entries ? entries : &m_own;
    endResetModel();
}

void LabelNumberList::Refresh()
{
    beginResetModel();
    endResetModel();
}

int LabelNumberList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant LabelNumberList::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= Count())
        return {};
    return (*m_entries)[index.row()].Text;
}

QString LabelNumberList::GetText(int index) const
{
    return index >= 0 && index < Count() ? (*m_entries)[index].Text : QString();
}

void LabelNumberList::AddAll(std::vector<QString> texts)
{
    if (texts.empty())
        return;
    // One merge instead of an insertion each: ranges add thousands at once.
    std::stable_sort(texts.begin(), texts.end(), Before);
    beginResetModel();
    const auto middle = static_cast<std::ptrdiff_t>(m_entries->size());
    m_entries->reserve(m_entries->size() + texts.size());
    for (QString& text : texts)
        m_entries->push_back(LabelNumber{std::move(text), nullptr});
    std::inplace_merge(m_entries->begin(), m_entries->begin() + middle, m_entries->end(),
                       [](const LabelNumber& a, const LabelNumber& b) { return Before(a.Text, b.Text); });
    endResetModel();
}

void LabelNumberList::Remove(QList<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    // From the last to the first, so the earlier indexes stay valid.
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        if (*it < 0 || *it >= Count())
            continue;
        beginRemoveRows(QModelIndex(), *it, *it);
        m_entries->erase(m_entries->begin() + *it);
        endRemoveRows();
    }
}

void LabelNumberList::Clear()
{
    beginResetModel();
    m_entries->clear();
    endResetModel();
}

std::optional<NumberRange> ParseNumberItem(QStringView item)
{
    QString text;
    for (QChar c : item) {
        if (c.isSpace())
            continue;
        if (!(c >= u'0' && c <= u'9') && c != u'-')
            return std::nullopt;
        text += c;
    }
    const qsizetype dash = text.indexOf(u'-');
    if (dash < 0) {
        const std::optional<int64_t> number = ParseDigits(text);
        if (!number)
            return std::nullopt;
        return NumberRange{*number, *number};
    }
    if (text.indexOf(u'-', dash + 1) >= 0)
        return std::nullopt;
    const std::optional<int64_t> first = ParseDigits(QStringView(text).left(dash));
    const std::optional<int64_t> last = ParseDigits(QStringView(text).mid(dash + 1));
    if (!first || !last || *last - *first > MaxRangeSpan)
        return std::nullopt;
    return NumberRange{*first, *last};
}

NumberListResult AddNumberList(LabelNumberList& list, const QString& text)
{
    int start = 0;
    while (start <= text.size()) {
        int end = text.indexOf(u',', start);
        if (end < 0)
            end = text.size();
        const QStringView item = QStringView(text).mid(start, end - start);
        const std::optional<NumberRange> range = ParseNumberItem(item);
        if (!range)
            return {NumberListResult::BadItem, start, end - start};
        if (list.Count() + range->Count() > LabelNumberList::MaxEntries)
            return {NumberListResult::TooMany, start, end - start};
        std::vector<QString> numbers;
        numbers.reserve(range->Count());
        for (int64_t n = range->First; n <= range->Last; ++n)
            numbers.push_back(FormatLabelNumber(static_cast<int32_t>(n)));
        list.AddAll(std::move(numbers));
        start = end + 1;
    }
    return {};
}
