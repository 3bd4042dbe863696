// A technician's long day in one file: a 100-page form of 100 measure fields
// a page is filled from a bank of 4000 measurements, saved with its filled
// values, pages and data, and opened again. Prints the milliseconds of each step.

#include "dataprocessing/TransferDocument.h"

#include "documents/MeasureObject.h"
#include "documents/TextObject.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Pages = 100;
constexpr int GroupsPerPage = 10;
constexpr int FieldsPerGroup = 10;
constexpr int Items = 4000;
constexpr int FieldSize = 150;

void BuildForm(QuillfenTransferForm& form)
{
    for (int p = 0; p < Pages; ++p) {
        PageObject* page = p == 0 ? form.GetPage(0) : form.AddPage();
        for (int g = 0; g < GroupsPerPage; ++g) {
            auto group = std::make_unique<GroupObject>(form.GetGlobalTexts());
            for (int f = 0; f < FieldsPerGroup; ++f) {
                std::unique_ptr<TextObject> field;
                if (f == 0) {
                    field = std::make_unique<TextObject>();
                    field->SetType(QuillfenTransferForm::IdType);
                    field->SetText(QStringLiteral("ID-%1-%2").arg(p).arg(g));
                } else {
                    field = std::make_unique<MeasureObject>();
                }
                field->SetRect(f * FieldSize, g * FieldSize, (f + 1) * FieldSize, (g + 1) * FieldSize);
                group->AddObject(std::move(field));
            }
            page->AddObject(std::move(group));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("day.qfs");
    QElapsedTimer timer;

    TransferDocument doc;
    timer.start();
    BuildForm(doc.Form());
    const qint64 build = timer.restart();

    auto bank = std::make_unique<InstrumentBank>(QByteArrayView("1"));
    for (int i = 0; i < Items; ++i)
        bank->AddItem(std::make_unique<InstrumentItem>(230.0 + i, 1 + i % 3, QByteArrayView("note"), true, false));
    const InstrumentBank* filled = doc.Transfered().AddBank(std::move(bank));
    timer.restart();
    for (int p = 0; p < Pages; ++p) {
        doc.Form().SelectPage(p);
        for (int g = 0; g < GroupsPerPage; ++g)
            doc.Form().FillNextGroup(*filled);
    }
    const qint64 fill = timer.restart();

    const FileOutcome saved = doc.SaveDocument(path, true);
    const qint64 save = timer.restart();
    const FileOutcome resaved = doc.SaveDocument(path, true);
    const qint64 saveWithBackup = timer.restart();

    TransferDocument reopened;
    const FileOutcome opened = reopened.LoadDocument(path);
    const qint64 open = timer.restart();

    const bool ok = saved.Ok() && resaved.Ok() && opened.Ok() && reopened.Form().GetPageCount() == Pages;
    std::printf("pages %d, fields %d, items %d, file %lld bytes\n", Pages, Pages * GroupsPerPage * FieldsPerGroup,
                Items, static_cast<long long>(QFileInfo(path).size()));
    std::printf("build %lld ms\nfill %lld ms\nsave %lld ms\nsave with backup %lld ms\nopen %lld ms\n%s\n",
                static_cast<long long>(build), static_cast<long long>(fill), static_cast<long long>(save),
                static_cast<long long>(saveWithBackup), static_cast<long long>(open), ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
