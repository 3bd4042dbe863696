#pragma once
// A stand-in for the printer and its dialogs: every print job goes to its own
// PDF file (job1.pdf, job2.pdf, ... in the given folder) on A4 paper at the
// given resolution, the jobs' titles and orientations are recorded, and the
// print dialog answers from `printDialogAnswer`. PdfInfo reads a PDF back
// with poppler's pdfinfo and pdftotext.

#include "documents/widgets/Printers.h"

#include <QDir>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

class FakePrinters : public PrinterAccess
{
public:
    struct Job
    {
        QString title;
        QPageLayout::Orientation orientation;
        QString file;
    };
    struct DialogAnswer
    {
        bool accepted = true;
        int fromPage = 0; // 0 and 0: no range chosen
        int toPage = 0;
    };

    explicit FakePrinters(const QString& folder, int resolution = 300) : m_folder(folder)
    {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setResolution(resolution);
        m_printer.setPageSize(QPageSize(QPageSize::A4));
        SetPrinters(this);
    }
    ~FakePrinters() override { SetPrinters(nullptr); }

    QPrinter& Printer() override { return m_printer; }
    bool ExecPrintDialog(QWidget*, const QString&, int, int, int& fromPage, int& toPage) override
    {
        fromPage = printDialogAnswer.fromPage;
        toPage = printDialogAnswer.toPage;
        return printDialogAnswer.accepted;
    }
    bool ExecPrinterSetup(QWidget*) override
    {
        ++setups;
        return true;
    }
    void JobStarting(QPrinter& printer) override
    {
        QMutexLocker lock(&m_mutex);
        const QString file = QDir(m_folder).filePath(QStringLiteral("job%1.pdf").arg(m_jobs.size() + 1));
        printer.setOutputFileName(file);
        m_jobs.append({printer.docName(), printer.pageLayout().orientation(), file});
    }

    QList<Job> Jobs() const
    {
        QMutexLocker lock(&m_mutex);
        return m_jobs;
    }

    DialogAnswer printDialogAnswer;
    int setups = 0;

private:
    QString m_folder;
    QPrinter m_printer{QPrinter::HighResolution};
    mutable QMutex m_mutex;
    QList<Job> m_jobs;
};

// What poppler reads from a PDF file: -1 pages when it is no PDF.
struct PdfInfo
{
    int pages = -1;
    QString pageSize; // as pdfinfo gives it, e.g. "595.276 x 841.89 pts (A4)"

    static PdfInfo Of(const QString& file)
    {
        QProcess process;
        process.start(QStringLiteral("pdfinfo"), {file});
        process.waitForFinished();
        PdfInfo info;
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        if (process.exitCode() != 0)
            return info;
        const auto pages = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption).match(out);
        const auto size = QRegularExpression(QStringLiteral("^Page size:\\s+(.*)$"), QRegularExpression::MultilineOption).match(out);
        info.pages = pages.hasMatch() ? pages.captured(1).toInt() : -1;
        info.pageSize = size.captured(1).trimmed();
        return info;
    }

    // The text of one page (from 1).
    static QString PageText(const QString& file, int page)
    {
        QProcess process;
        const QString number = QString::number(page);
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), number, QStringLiteral("-l"), number, file, QStringLiteral("-")});
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};
