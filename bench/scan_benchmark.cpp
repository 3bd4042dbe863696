// The folder scan over a tree of saved forms: a first scan, a second scan
// with nothing changed, and the least a plain C reader of the same bytes
// needs, for comparison.
//
//   scan_benchmark [--generate N] [--tsv FILE] FOLDER
//
// --generate N first writes N filled forms (a few records each, some in
// nested groups) and some documents of other types into FOLDER.

#include "RevdCReader.h"
#include "common/FilledFormFiles.h"
#include "platform/NumberText.h"
#include "revisionlist/QuillfenRevisionTableThread.h"
#include "revisionlist/RevisionTableModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>

#include <cstdio>
#include <ctime>

namespace {

constexpr int FormsPerFolder = 100;
constexpr int FoldersPerLevel = 10;
constexpr int OtherDocumentEvery = 10;

enum Kind { Name = 2, Id = 3, Description = 4, NextRevision = 5, Note1 = 6, Location = 11 };

// Form i: two pages of records; every third record sits in a group of its
// own inside the page, with its location in a nested group without an ID.
std::vector<FilledBlock> FormPages(int i)
{
    std::vector<FilledBlock> pages;
    for (int p = 0; p < 2; ++p) {
        FilledBlock page;
        for (int r = 0; r < 3; ++r) {
            const int record = i * 6 + p * 3 + r;
            FilledBlock group;
            group.texts = {{Id, QString::number(record)},
                           {Name, QString("Socket circuit %1").arg(record)},
                           {Description, "Ground floor, kitchen and hall"},
                           {NextRevision, QString("%1/%2/2026").arg(record % 12 + 1).arg(record % 28 + 1)},
                           {Note1, "Measured with Kx420"}};
            FilledBlock place;
            place.texts = {{Location, QString("Building %1").arg(i % 17)}, {Note1 + 1, "second note"}};
            if (r == 0)
                group.groups.push_back(place);
            page.groups.push_back(group);
        }
        pages.push_back(page);
    }
    return pages;
}

bool Generate(const QString& root, int count)
{
    for (int i = 0; i < count; ++i) {
        const int folder = i / FormsPerFolder;
        const QString dir = QString("%1/site%2/block%3").arg(root).arg(folder / FoldersPerLevel).arg(folder);
        if (!QDir().mkpath(dir))
            return false;
        if (!WriteFormFile(QString("%1/form%2.qfs").arg(dir).arg(i), Tag::Form, FilledValuesSection(FormPages(i))))
            return false;
        if (i % OtherDocumentEvery == 0
            && !WriteFormFile(QString("%1/labels%2.QFS").arg(dir).arg(i), Tag::Bar, FilledValuesSection(FormPages(i))))
            return false;
    }
    return true;
}

// Processor time of the whole process (every thread), which a machine busy
// with other work does not inflate as it does the wall clock.
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

struct ScanFigures
{
    int filesRead = 0;
    int filesSkipped = 0;
    int records = 0;
    double seconds = 0;
    double cpu = 0;
};

ScanFigures Scan(RevisionTableModel& model)
{
    ScanFigures figures;
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    const double cpu = CpuSeconds();
    model.StartScan(false, [&](const RevisionScanResult& result) {
        figures.filesRead = result.filesRead;
        figures.filesSkipped = result.filesSkipped;
        loop.quit();
    });
    loop.exec();
    figures.seconds = timer.nsecsElapsed() / 1e9;
    figures.cpu = CpuSeconds() - cpu;
    figures.records = static_cast<int>(model.List().Rows().size());
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    UseCLocaleFormats();
    QStringList args = app.arguments().mid(1);
    int generate = 0;
    QString tsv;
    QString folder;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == "--generate" && !args.isEmpty())
            generate = args.takeFirst().toInt();
        else if (arg == "--tsv" && !args.isEmpty())
            tsv = args.takeFirst();
        else
            folder = arg;
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: scan_benchmark [--generate N] [--tsv FILE] FOLDER\n");
        return 2;
    }
    if (generate > 0 && !Generate(folder, generate)) {
        std::fprintf(stderr, "cannot write the forms into %s\n", qPrintable(folder));
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    const double cpu = CpuSeconds();
    RevdCReaderTotals totals{};
    RevdCReadTree(QFile::encodeName(folder).constData(), &totals);
    const double cSeconds = timer.nsecsElapsed() / 1e9;
    const double cCpu = CpuSeconds() - cpu;

    RevisionTableModel model;
    model.List().baseFolder = folder;
    model.List().scanSubfolders = true;
    const ScanFigures first = Scan(model);
    const ScanFigures second = Scan(model);
    std::printf("plain C reader: %lld files, %lld forms, %lld bytes, %.3f s (processor %.3f s)\n", totals.files,
                totals.forms, totals.bytes, cSeconds, cCpu);
    std::printf("first scan:     %d files read, %d records, %.4f s (processor %.3f s, %.2f x the C "
                "reader's)\n",
                first.filesRead, first.records, first.seconds, first.cpu, first.cpu / cCpu);
    std::printf(
        "second scan:    %d files read, %d unchanged, %d records, %.4f s, %.1f %% of the first's "
        "(processor %.3f s, %.1f %%)\n",
        second.filesRead, second.filesSkipped, second.records, second.seconds,
        100.0 * second.seconds / first.seconds, second.cpu, 100.0 * second.cpu / first.cpu);
    if (!tsv.isEmpty() && !model.ExportText(tsv)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(tsv));
        return 1;
    }
    return 0;
}
