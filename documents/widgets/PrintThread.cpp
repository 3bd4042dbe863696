#include "documents/widgets/PrintThread.h"

#include "documents/QuillfenForm.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {
constexpr char JobTitle[] = "Quillfen";
} // namespace

int DocumentPrintJob::PrintPages(const QuillfenForm& document, int first, int count, const QString& title,
                                 const std::function<QString(int k)>& progress)
{
    // Nothing to print begins no job: a begun job always sends a page.
    if (count <= 0)
        return 0;
    const auto orientation = document.GetWidth() >= document.GetHeight() ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait;
    QPainter painter;
    if (!BeginJob(painter, title, orientation))
        return 0;
    PainterCanvas canvas(painter);
    int printed = 0;
    for (int k = 0; k < count && !IsTerminated(); ++k) {
        ShowProgress(progress(k));
        if (k > 0)
            Printer().newPage();
        painter.setTransform(PaperTransform(Printer()));
        if (const PageObject* page = document.GetPage(first + k))
            page->Draw(canvas, DrawContext{});
        ++printed;
    }
    // A cancelled job still sends the pages drawn so far.
    painter.end();
    return printed;
}

TPrintThread::TPrintThread(QPrinter& printer) : DocumentPrintJob(printer) {}

TPrintThread::~TPrintThread() = default;

void TPrintThread::SetPageRange(const QuillfenForm& document, int first, int last)
{
    m_document = document.Copy();
    const int count = m_document->GetPageCount();
    m_first = std::clamp(first, 1, std::max(count, 1));
    m_last = std::clamp(last, 1, std::max(count, 1));
}

void TPrintThread::Execute()
{
    if (!m_document)
        return;
    const int count = m_last - m_first + 1;
    PrintPages(*m_document, m_first - 1, count, QString::fromLatin1(JobTitle), [count](int k) {
        return QStringLiteral("Page %1 / %2").arg(k + 1).arg(count);
    });
}
