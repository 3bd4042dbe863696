// The table model the revision list window shows: filters by validity, new
// files, text pattern and date from a fixed clock, sorting of the three
// column types, editing and the empty last row, record lookups.

#include "common/ScopedGuards.h"
#include "platform/DateTime.h"
#include "platform/NumberText.h"
#include "revisionlist/RevisionFilters.h"
#include "revisionlist/RevisionTableModel.h"

#include <QCollator>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

struct Record
{
    const char* name;
    const char* id;
    const char* next;
    const char* modified;
};

class RevisionTableModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const Record records[] = {
            {"expired", "10", "1/10/2025", "12/20/2024 8:00:00"},
            {"this week", "9", "1/20/2025 10:00:00", "1/5/2025"},
            {"this month", "abc", "2/14/2025", "1/7/2025 23:59:59"},
            {"later", "-1", "4/1/2025", "1/8/2025"},
            {"Later", "1e400", "not a date", "no date"},
            {"ABCD", "2.5", "", "1/1/2025"},
        };
        for (const Record& r : records) {
            auto row = std::make_unique<RevisionTableRow>();
            row->SetField(RevisionTableRow::Name, r.name);
            row->SetField(RevisionTableRow::Id, r.id);
            row->SetField(RevisionTableRow::NextRevision, r.next);
            row->SetField(RevisionTableRow::Modified, r.modified);
            model.AddRow(std::move(row));
        }
        model.SetModified(false);
    }

    // The names of the shown records, read through the model as a view would.
    QStringList Shown() const
    {
        QStringList names;
        for (int r = 0; r + 1 < model.rowCount(); ++r)
            names << model.data(model.index(r, 0)).toString();
        return names;
    }

    ScopedClock clock{QDateTime(QDate(2025, 1, 15), QTime(12, 0))};
    RevisionTableModel model;
};

} // namespace

TEST_F(RevisionTableModelTest, ValidityAndNewFilesFiltersFromTheClock)
{
    model.FilterByValidity(Now());
    EXPECT_EQ(Shown(), QStringList({"expired"}));
    model.FilterByValidity(Now() + 7);
    EXPECT_EQ(Shown(), QStringList({"expired", "this week"}));
    model.FilterByValidity(Now() + 30);
    EXPECT_EQ(Shown(), QStringList({"expired", "this week", "this month"}));
    model.FilterByValidity(Now() + 90);
    EXPECT_EQ(Shown(), QStringList({"expired", "this week", "this month", "later"}));

    // New files narrow what is shown: modified less than 7 days before the
    // newest shown (1/7 23:59:59 here, then 1/8, which drops 1/1 exactly).
    model.FilterByValidity(Now() + 30);
    model.FilterNewFiles();
    EXPECT_EQ(Shown(), QStringList({"this week", "this month"}));
    model.ShowAllRows();
    model.FilterNewFiles();
    EXPECT_EQ(Shown(), QStringList({"this week", "this month", "later"}));

    // The marks compare with today at midnight; undated records have none.
    EXPECT_EQ(model.headerData(0, Qt::Vertical, RevisionTableModel::ValidityRole).toInt(), RevisionTableModel::Valid);
    model.ShowAllRows();
    EXPECT_EQ(model.headerData(0, Qt::Vertical, RevisionTableModel::ValidityRole).toInt(), RevisionTableModel::Expired);
    EXPECT_EQ(model.headerData(4, Qt::Vertical, RevisionTableModel::ValidityRole).toInt(), RevisionTableModel::NoMark);
    EXPECT_EQ(model.headerData(6, Qt::Vertical, RevisionTableModel::ValidityRole).toInt(), RevisionTableModel::NoMark);
    EXPECT_EQ(model.headerData(2, Qt::Vertical).toInt(), 3);
    EXPECT_FALSE(model.IsModified());
}

TEST_F(RevisionTableModelTest, TextAndDateFiltersNarrowTheShownRecords)
{
    EXPECT_TRUE(MatchPattern("A?C", "abcd", true));
    EXPECT_TRUE(MatchPattern("A?C", "ABC", true));
    EXPECT_FALSE(MatchPattern("A?C", "ab", true));
    EXPECT_FALSE(MatchPattern("A?C", "abc", false));
    EXPECT_TRUE(MatchPattern("", "anything", false));
    EXPECT_TRUE(MatchPattern("???", "a", false));
    EXPECT_TRUE(MatchPattern(QString(200, u'x'), QString(149, u'x'), false));

    model.FilterByText(0, "l?ter", true);
    EXPECT_EQ(Shown(), QStringList({"later", "Later"}));
    model.FilterByText(0, "L", false);
    EXPECT_EQ(Shown(), QStringList({"Later"}));
    model.ShowAllRows();
    EXPECT_EQ(Shown().size(), 6);

    TDateTime date = 0;
    ASSERT_TRUE(TryStrToDateTime("2/14/2025", date));
    model.FilterByDate(date, true);
    EXPECT_EQ(Shown(), QStringList({"expired", "this week"}));
    model.ShowAllRows();
    model.FilterByDate(date, false);
    EXPECT_EQ(Shown(), QStringList({"later"}));
}

TEST_F(RevisionTableModelTest, ColumnsSortByTheirTypeAndAClickTwiceReverses)
{
    // Visible column 1 is the ID, a number column: texts that are no number count as 0.
    model.SortByColumnClick(1);
    EXPECT_EQ(Shown(), QStringList({"later", "this month", "Later", "ABCD", "this week", "expired"}));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, RevisionTableModel::SortMarkRole).toInt(), RevisionTableModel::Ascending);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, RevisionTableModel::SortMarkRole).toInt(), RevisionTableModel::NoMark);
    model.SortByColumnClick(1);
    EXPECT_EQ(Shown(), QStringList({"expired", "this week", "ABCD", "this month", "Later", "later"}));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, RevisionTableModel::SortMarkRole).toInt(), RevisionTableModel::Descending);

    // Visible column 4 is Next revision, a date column: no date is the zero date.
    model.SortByColumnClick(4);
    EXPECT_TRUE(model.SortAscending());
    EXPECT_EQ(Shown(), QStringList({"ABCD", "Later", "expired", "this week", "this month", "later"}));

    model.SortByColumnClick(0);
    const QStringList byName = Shown();
    EXPECT_EQ(byName.indexOf("ABCD"), 0);
    EXPECT_LT(byName.indexOf("expired"), byName.indexOf("this week"));
    EXPECT_FALSE(model.IsModified());
}

TEST_F(RevisionTableModelTest, EditingTheEmptyRowAddsARecordAndLookupsSeeStorageOrder)
{
    EXPECT_EQ(model.rowCount(), 7);
    EXPECT_EQ(model.columnCount(), 12);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), RevisionTableColumn(11, 0, 0).GetCaption());
    model.SortByColumnClick(0);

    const QModelIndex last = model.index(6, 1);
    EXPECT_FALSE(model.setData(last, QString()));
    EXPECT_EQ(model.rowCount(), 7);
    EXPECT_TRUE(model.setData(last, "77"));
    EXPECT_EQ(model.rowCount(), 8);
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(model.data(model.index(6, 1)).toString(), "77");
    EXPECT_TRUE(model.setData(model.index(6, 0), "typed\non"));
    EXPECT_EQ(model.FindRowById("77")->GetField(RevisionTableRow::Name), "typed on");

    const int copy = model.DuplicateRow(6);
    EXPECT_EQ(copy, 7);
    EXPECT_EQ(model.RowIds().count("77"), 2);
    EXPECT_EQ(model.FindRowById("77"), model.List().GetRow(6));
    EXPECT_EQ(model.FindRowById("7"), nullptr);

    model.FilterByText(0, "this", false);
    model.RemoveRows({0, 1, 5});
    EXPECT_EQ(Shown(), QStringList({"expired", "later", "Later", "ABCD", "typed on", "typed on"}));
}

TEST(RevisionSortTest, LongListsSortStablyAndFilterInOrderOnSeveralThreads)
{
    // Enough records for sorting and filtering to split the work over threads.
    constexpr int Count = 40000;
    const QStringList names = {"b", "A", "a", "", QString::fromUtf8("Ärger"), QString::fromUtf8("İstanbul"),
                               "istanbul", "B"};
    const QStringList dates = {"1/2/2025", "not a date", "12/31/2024", "1/2/2025 8:00:00", ""};
    const QStringList numbers = {"10", "x", "-1", "2.5", "1e400"};
    RevisionList list;
    for (int i = 0; i < Count; ++i) {
        auto row = std::make_unique<RevisionTableRow>();
        row->SetField(RevisionTableRow::Name, names[(i * 5) % names.size()]);
        row->SetField(RevisionTableRow::Id, numbers[(i / 3) % numbers.size()]);
        row->SetField(RevisionTableRow::NextRevision, dates[(i * 3) % dates.size()]);
        row->SetField(RevisionTableRow::Note1, QString::number(i)); // the storage position
        list.AddRow(std::move(row));
    }
    const auto position = [](const RevisionTableRow* row) { return row->GetField(RevisionTableRow::Note1).toInt(); };

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    const auto textOrder = [&](const QString& a, const QString& b) {
        return collator.sortKey(a).compare(collator.sortKey(b));
    };
    const auto valueOrder = [](double a, double b) { return a < b ? -1 : a > b ? 1 : 0; };
    const auto date = [](const QString& text) {
        TDateTime value = 0;
        return TryStrToDateTime(text, value) ? value : 0.0;
    };
    const auto number = [](const QString& text) {
        double value = 0;
        return TryStrToFloat(text, value) ? value : 0.0;
    };
    // From storage order: every neighbour in order, equal keys in storage
    // order, and every record once.
    const auto expectSorted = [&](int field, const auto& order, bool ascending) {
        const std::vector<RevisionTableRow*>& shown = list.ShownRows();
        ASSERT_EQ(shown.size(), static_cast<size_t>(Count));
        std::vector<bool> seen(Count);
        seen[position(shown[0])] = true;
        for (size_t i = 1; i < shown.size(); ++i) {
            int c = order(shown[i - 1]->GetField(field), shown[i]->GetField(field));
            c = ascending ? c : -c;
            ASSERT_LE(c, 0) << field << " at " << i;
            if (c == 0)
                ASSERT_LT(position(shown[i - 1]), position(shown[i])) << field << " at " << i;
            seen[position(shown[i])] = true;
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), true), Count);
    };
    for (const bool ascending : {true, false}) {
        list.ShowAllRows();
        SortRows(list, RevisionTableRow::Name, RevisionTableColumn::Text, ascending);
        expectSorted(RevisionTableRow::Name, textOrder, ascending);
        list.ShowAllRows();
        SortRows(list, RevisionTableRow::NextRevision, RevisionTableColumn::Date, ascending);
        expectSorted(RevisionTableRow::NextRevision,
                     [&](const QString& a, const QString& b) { return valueOrder(date(a), date(b)); }, ascending);
        list.ShowAllRows();
        SortRows(list, RevisionTableRow::Id, RevisionTableColumn::Number, ascending);
        expectSorted(RevisionTableRow::Id,
                     [&](const QString& a, const QString& b) { return valueOrder(number(a), number(b)); }, ascending);
    }

    // Filters keep the shown order. Lower case of the dotted capital I is two
    // characters, so "İstanbul" has no 't' third.
    const std::vector<RevisionTableRow*> sorted = list.ShownRows();
    FilterByText(list, RevisionTableRow::Name, "I?T", true);
    std::vector<RevisionTableRow*> expected;
    std::copy_if(sorted.begin(), sorted.end(), std::back_inserter(expected),
                 [](const RevisionTableRow* row) { return row->GetField(RevisionTableRow::Name) == "istanbul"; });
    EXPECT_EQ(list.ShownRows(), expected);
    list.SetShownRows(sorted);
    FilterByText(list, RevisionTableRow::Name, QString::fromUtf8("ä"), true);
    EXPECT_EQ(list.ShownRows().size(), static_cast<size_t>(Count / names.size()));
    list.SetShownRows(sorted);
    FilterByText(list, RevisionTableRow::Name, "a", false);
    ASSERT_EQ(list.ShownRows().size(), static_cast<size_t>(Count / names.size()));
    EXPECT_EQ(list.ShownRows().front()->GetField(RevisionTableRow::Name), "a");
}
