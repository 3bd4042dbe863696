#include "revisionlist/widgets/PrintListThread.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Canvas.h"
#include "revisionlist/RevisionList.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {
constexpr double UnitsPerInch = 76.2;
constexpr int LineHeightUnits = 8;
// The record number stands left of the first column.
constexpr int FirstColumnUnits = 50;
constexpr char FontFace[] = "Arial";

int Units(double units, double pixelsPerUnit)
{
    return static_cast<int>(std::trunc(units * pixelsPerUnit));
}
} // namespace

PrintedList PrintedList::Of(const RevisionList& list)
{
    PrintedList printed;
    for (const RevisionTableColumn* column : list.VisibleColumns()) {
        printed.captions << column->GetCaption();
        printed.widths.push_back(column->GetWidth());
    }
    for (const RevisionTableRow* row : list.ShownRows()) {
        QStringList fields;
        for (const RevisionTableColumn* column : list.VisibleColumns())
            fields << row->GetField(column->GetNumber());
        printed.records.push_back(std::move(fields));
    }
    return printed;
}

ListPrintGeometry ListPrintGeometry::For(int dpiX, int dpiY, int pageHeight)
{
    ListPrintGeometry geometry;
    geometry.unitX = dpiX / UnitsPerInch;
    geometry.unitY = dpiY / UnitsPerInch;
    geometry.lineHeight = std::max(1, Units(LineHeightUnits, geometry.unitY));
    // A page too short for a line still prints one record a page, so a
    // small paper size cannot turn into hundreds of caption-only pages.
    geometry.linesPerPage = std::max(1, pageHeight / geometry.lineHeight - 2);
    return geometry;
}

bool PrintListPage(TCanvas& canvas, const PrintedList& list, const ListPrintGeometry& geometry, int page)
{
    canvas.SetFont({geometry.lineHeight, 0, 400, false, FontFace});
    const int64_t first = int64_t(page) * geometry.linesPerPage;
    const int64_t left = std::max<int64_t>(0, int64_t(list.records.size()) - first);
    const bool last = left <= geometry.linesPerPage;
    const int count = static_cast<int>(std::min<int64_t>(left, geometry.linesPerPage));

    const auto drawLine = [&](int y, const QStringList& texts) {
        int x = Units(FirstColumnUnits, geometry.unitX);
        for (int i = 0; i < texts.size(); ++i) {
            canvas.TextOut(x, y, texts[i]);
            const int width = i < static_cast<int>(list.widths.size()) ? list.widths[size_t(i)] : 0;
            x = static_cast<int>(std::trunc(width * geometry.unitX + x));
        }
    };
    drawLine(0, list.captions);
    for (int r = 0; r < count; ++r) {
        const int64_t index = first + r;
        const int y = (r + 1) * geometry.lineHeight + 1;
        canvas.TextOut(0, y, QString::number(index + 1));
        drawLine(y, list.records[size_t(index)]);
    }
    return last;
}

TPrintListThread::TPrintListThread(QPrinter& printer, PrintedList list)
    : PrintJob(printer), m_list(std::move(list))
{
}

TPrintListThread::~TPrintListThread() = default;

void TPrintListThread::SetPageRange(int from, int to)
{
    m_from = std::max(from, 1);
    m_to = std::max(to, 1);
}

void TPrintListThread::Execute()
{
    QPainter painter;
    if (m_from > m_to
        || !BeginJob(painter, MainLanguage.GetString(StringId::RevisionList),
                     QPageLayout::Portrait))
        return;
    QPrinter& printer = Printer();
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    const ListPrintGeometry geometry =
        ListPrintGeometry::For(printer.logicalDpiX(), printer.logicalDpiY(), printable.height());
    PainterCanvas canvas(painter);
    for (int p = m_from - 1; p < m_to && !IsTerminated(); ++p) {
        ShowProgress(QStringLiteral("page %1").arg(p + 1));
        if (p + 1 != m_from)
            printer.newPage();
        if (PrintListPage(canvas, m_list, geometry, p))
            break;
    }
    painter.end();
}
