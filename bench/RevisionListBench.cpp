// The revision list window's work on a large list: 100,000 records sorted by
// a text column and by a date column, and narrowed by a text filter, through
// the item model the window shows. Prints the milliseconds of each step.

#include "platform/DateTime.h"
#include "revisionlist/RevisionTableModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>

namespace {
constexpr int RecordCount = 100000;

int VisibleColumnOf(const RevisionTableModel& model, int field)
{
    for (int i = 0; i < model.columnCount(); ++i)
        if (model.VisibleColumn(i)->GetNumber() == field)
            return i;
    return -1;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    RevisionTableModel model;
    const TDateTime start = QDateToDateTime(QDate(2020, 1, 1));
    uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < RecordCount; ++i) {
        auto row = std::make_unique<RevisionTableRow>();
        row->SetField(RevisionTableRow::Name, QStringLiteral("Installation %1").arg(next() % 1000000));
        row->SetField(RevisionTableRow::Id, QString::number(next() % 100000000));
        row->SetField(RevisionTableRow::NextRevision, DateToStr(start + next() % 3650));
        row->SetField(RevisionTableRow::Location, QStringLiteral("Building %1").arg(next() % 500));
        model.List().AddRow(std::move(row));
    }
    model.ShowAllRows();

    const auto time = [](const char* what, const auto& step) {
        QElapsedTimer timer;
        timer.start();
        step();
        std::printf("%-28s %8.1f ms\n", what, timer.nsecsElapsed() / 1e6);
    };
    std::printf("%d records\n", RecordCount);
    time("sort by name (text)", [&] { model.sort(VisibleColumnOf(model, RevisionTableRow::Name)); });
    time("sort by next revision (date)",
         [&] { model.sort(VisibleColumnOf(model, RevisionTableRow::NextRevision)); });
    time("text filter \"Installation 1\"", [&] {
        model.FilterByText(VisibleColumnOf(model, RevisionTableRow::Name), QStringLiteral("installation 1"), true);
    });
    std::printf("%d records shown\n", model.rowCount() - 1);
    return 0;
}
