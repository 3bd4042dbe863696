#include "documents/widgets/PrintJob.h"

#include "documents/widgets/Printers.h"

#include <QPainter>
#include <QPrinter>

namespace {
// Tenths of a millimetre in an inch.
constexpr double UnitsPerInch = 254.0;
} // namespace

QTransform PaperTransform(const QPrinter& printer)
{
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    QTransform transform;
    transform.translate(paper.left() - printable.left(), paper.top() - printable.top());
    transform.scale(printer.logicalDpiX() / UnitsPerInch, printer.logicalDpiY() / UnitsPerInch);
    return transform;
}

PrintJob::PrintJob(QPrinter& printer) : m_printer(printer) {}

PrintJob::~PrintJob()
{
    wait();
}

void PrintJob::ShowProgress(const QString& text)
{
    if (m_progress)
        m_progress(text);
}

bool PrintJob::BeginJob(QPainter& painter, const QString& title, QPageLayout::Orientation orientation)
{
    m_printer.setDocName(title);
    m_printer.setPageOrientation(orientation);
    Printers().JobStarting(m_printer);
    return painter.begin(&m_printer);
}

void PrintJob::run()
{
    Execute();
}
