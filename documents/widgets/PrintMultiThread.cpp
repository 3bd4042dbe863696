#include "documents/widgets/PrintMultiThread.h"

#include "documents/QuillfenForm.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>

#include <memory>

namespace {
// "out.pdf" and 2 give "out-2.pdf", beside it.
QString NumberedFileName(const QString& path, int number)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return info.dir().filePath(info.completeBaseName() + u'-' + QString::number(number) + suffix);
}
} // namespace

TPrintMultiThread::TPrintMultiThread(QPrinter& printer) : DocumentPrintJob(printer) {}

TPrintMultiThread::~TPrintMultiThread() = default;

void TPrintMultiThread::Execute()
{
    // Printed to a file, every job would write the same file over the one
    // before: each document gets a file of its own, numbered in list order.
    const QString output = Printer().outputFileName();
    const bool numbered = !output.isEmpty() && m_files.size() > 1;
    for (int i = 0; i < m_files.size() && !IsTerminated(); ++i) {
        if (numbered)
            Printer().setOutputFileName(NumberedFileName(output, i + 1));
        PrintFile(m_files[i]);
    }
    if (numbered)
        Printer().setOutputFileName(output);
}

void TPrintMultiThread::PrintFile(const QString& path)
{
    QuillfenForm document(nullptr, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
    bool loaded = false;
    try {
        FileReader reader(path);
        // Any container with a section "form" prints, whatever its type.
        loaded = document.Load(reader);
    } catch (const EFOpenError&) {
    }
    if (!loaded) {
        ShowProgress(path);
        return;
    }
    const int count = document.GetPageCount();
    PrintPages(document, 0, count, QStringLiteral("Quillfen - ") + path, [&](int k) {
        return path + u'\n' + QStringLiteral("Page %1 of %2").arg(k + 1).arg(count);
    });
}
