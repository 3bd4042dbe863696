#include "documents/widgets/PrintMultiThread.h"

#include "documents/QuillfenForm.h"

#include <memory>

TPrintMultiThread::TPrintMultiThread(QPrinter& printer) : DocumentPrintJob(printer) {}

TPrintMultiThread::~TPrintMultiThread() = default;

void TPrintMultiThread::Execute()
{
    for (const QString& path : m_files) {
        if (IsTerminated())
            break;
        PrintFile(path);
    }
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
