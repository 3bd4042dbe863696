#pragma once
// Printing of document pages: one print job per document, each page drawn
// as the screen draws it, in tenths of a millimetre from the paper's corner.

#include "documents/widgets/PrintJob.h"

#include <QString>

#include <functional>
#include <memory>

class QuillfenForm;

// What the document print jobs share: the page loop.
class DocumentPrintJob : public PrintJob
{
    Q_OBJECT

protected:
    using PrintJob::PrintJob;

    // Prints `count` pages of the document from page index `first` as one
    // job with the title, landscape when the pages are at least as wide as
    // high. Before each page the job's cancel is tested and `progress(k)` is
    // shown for the k-th page printed. A count of 0 or less begins no job.
    // Returns the number of pages printed.
    int PrintPages(const QuillfenForm& document, int first, int count, const QString& title,
                   const std::function<QString(int k)>& progress);
};

// Prints a range of pages of an open document.
class TPrintThread : public DocumentPrintJob
{
    Q_OBJECT

public:
    explicit TPrintThread(QPrinter& printer);
    ~TPrintThread() override;

    // Takes a copy of the document (the window may repaint and edit its own
    // while the job runs) and the range, each end clamped to 1..page count.
    void SetPageRange(const QuillfenForm& document, int first, int last);

protected:
    void Execute() override;

private:
    std::unique_ptr<QuillfenForm> m_document;
    int m_first = 1;
    int m_last = 0;
};
