// The revision list window's work on a large list: 100,000 records sorted by
// a text column and by a date column, and narrowed by a text filter, through
// the item model the window shows. Prints the milliseconds of each step.
//
//   bench_RevisionListBench [--repeat N]
//
// With --repeat the three steps run N times over, each round from all
// records in storage order, and the median of each step is printed too: a
// machine shared with other work makes single figures jump.

#include "platform/DateTime.h"
#include "revisionlist/RevisionTableModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {
constexpr int RecordCount = 100000;

int VisibleColumnOf(const RevisionTableModel& model, int field)
{
    for (int i = 0; i < model.columnCount(); ++i)
        if (model.VisibleColumn(i)->GetNumber() == field)
            return i;
    return -1;
}

// Processor time of every thread: the steps that run on several threads
// show here what they cost the machine in all.
double CpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    const qsizetype repeatAt = args.indexOf(QStringLiteral("--repeat"));
    const int rounds = repeatAt > 0 && repeatAt + 1 < args.size() ? std::max(1, args[repeatAt + 1].toInt()) : 1;

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

    struct Step
    {
        const char* what;
        std::function<void()> run;
        std::vector<double> ms;
    };
    std::array<Step, 3> steps{{
        {"sort by name (text)", [&] { model.sort(VisibleColumnOf(model, RevisionTableRow::Name)); }, {}},
        {"sort by next revision (date)",
         [&] { model.sort(VisibleColumnOf(model, RevisionTableRow::NextRevision)); }, {}},
        {"text filter \"Installation 1\"",
         [&] {
             model.FilterByText(VisibleColumnOf(model, RevisionTableRow::Name), QStringLiteral("installation 1"),
                                true);
         },
         {}},
    }};
    std::printf("%d records\n", RecordCount);
    for (int round = 0; round < rounds; ++round) {
        model.ShowAllRows();
        for (Step& step : steps) {
            QElapsedTimer timer;
            timer.start();
            const double cpu = CpuMilliseconds();
            step.run();
            step.ms.push_back(timer.nsecsElapsed() / 1e6);
            if (rounds == 1)
                std::printf("%-28s %8.1f ms (processor %.1f ms)\n", step.what, step.ms.back(),
                            CpuMilliseconds() - cpu);
        }
    }
    if (rounds > 1)
        for (const Step& step : steps)
            std::printf("%-28s %8.1f ms median of %d (%.1f .. %.1f)\n", step.what, Median(step.ms), rounds,
                        *std::min_element(step.ms.begin(), step.ms.end()),
                        *std::max_element(step.ms.begin(), step.ms.end()));
    std::printf("%d records shown\n", model.rowCount() - 1);
    return 0;
}
