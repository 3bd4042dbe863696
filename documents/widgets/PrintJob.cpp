#include "documents/widgets/PrintJob.h"

#include "documents/widgets/Printers.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/UserDialogs.h"

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
    const QString output = m_printer.outputFileName();
    // A file kept skips this job alone: the next document has a file of its own.
    if (!MayWriteOutput(output))
        return false;
    // Begun with nowhere to print, Qt's PDF engine fails but stays active,
    // and refuses every later job and every change of printer or file until
    // the program ends: such a job is not begun.
    if (output.isEmpty()
        && (m_printer.outputFormat() == QPrinter::PdfFormat || m_printer.printerName().isEmpty())) {
        Refuse(MainLanguage.GetString(StringId::NoPrinter));
        return false;
    }
    if (painter.begin(&m_printer))
        return true;
    Refuse(output.isEmpty()
               ? MainLanguage.GetString(StringId::PrinterNotReady) + u'\n' + m_printer.printerName()
               : MainLanguage.GetString(StringId::FileNotWritable) + u'\n' + output);
    return false;
}

// What keeps one document from printing keeps the rest too: said once, and
// the job's remaining documents are not tried.
void PrintJob::Refuse(const QString& reason)
{
    Terminate();
    Dialogs().MessageBox(reason, MainLanguage.GetString(StringId::PrintTitle), MsgButtons::Ok,
                         MsgIcon::Warning);
}

void PrintJob::run()
{
    Execute();
}
