#include "revisionlist/widgets/PrintListThread.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Canvas.h"
#include "revisionlist/RevisionList.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <optional>

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

ListPrintGeometry ListPrintGeometry::For(int dpiX, int dpiY, int pageHeight, double scale)
{
    ListPrintGeometry geometry;
    geometry.unitX = dpiX / UnitsPerInch * scale;
    geometry.unitY = dpiY / UnitsPerInch * scale;
    geometry.lineHeight = std::max(1, Units(LineHeightUnits, geometry.unitY));
    // A page too short for a line still prints one record a page, so a
    // small paper size cannot turn into hundreds of caption-only pages.
    geometry.linesPerPage = std::max(1, pageHeight / geometry.lineHeight - 2);
    return geometry;
}

ListColumnSheets LayPrintedColumns(const PrintedList& list, int dpiX, int pageWidth)
{
    const double unit = dpiX / UnitsPerInch;
    return LayListColumns(list.widths, FirstColumnUnits, unit > 0 ? pageWidth / unit : 0);
}

bool PrintListPage(TCanvas& canvas, const PrintedList& list, const ListColumnSheets& columns,
                   const ListPrintGeometry& geometry, int sheet)
{
    canvas.SetFont({geometry.lineHeight, 0, 400, false, FontFace});
    const int bands = std::max(1, static_cast<int>(columns.bands.size()));
    const int page = sheet / bands;
    const int band = sheet % bands;
    const int64_t first = int64_t(page) * geometry.linesPerPage;
    const int64_t left = std::max<int64_t>(0, int64_t(list.records.size()) - first);
    // A page past the records prints its caption line once.
    const bool last =
        left <= geometry.linesPerPage && (band == bands - 1 || (page > 0 && left == 0));
    const int count = static_cast<int>(std::min<int64_t>(left, geometry.linesPerPage));

    static const std::vector<int> noColumns;
    const std::vector<int>& shown = columns.bands.empty() ? noColumns : columns.bands[size_t(band)];
    std::vector<int> lefts;
    lefts.reserve(shown.size());
    int x = Units(FirstColumnUnits, geometry.unitX);
    for (const int i : shown) {
        lefts.push_back(x);
        x = static_cast<int>(std::trunc(columns.widths[size_t(i)] * geometry.unitX + x));
    }
    // A text wider than its column runs on over empty cells, but stops where
    // the next text of its line begins: run under a shorter text, its tail
    // would read as part of that one.
    std::vector<std::optional<int>> stops(shown.size());
    const auto drawLine = [&](int y, const QStringList& texts) {
        const auto text = [&](size_t k) {
            return shown[k] < texts.size() ? QStringView(texts[shown[k]]) : QStringView();
        };
        std::optional<int> stop;
        for (size_t k = shown.size(); k-- > 0;) {
            stops[k] = stop;
            if (!text(k).isEmpty())
                stop = lefts[k];
        }
        for (size_t k = 0; k < shown.size(); ++k) {
            if (text(k).isEmpty())
                continue;
            if (stops[k])
                canvas.TextOutClipped(lefts[k], y,
                                      {lefts[k], y, *stops[k], y + geometry.lineHeight}, text(k));
            else
                canvas.TextOut(lefts[k], y, text(k));
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
    QPrinter& printer = Printer();
    // The list has no paper of its own: it prints the way the user set the printer up.
    if (m_from > m_to
        || !BeginJob(painter, MainLanguage.GetString(StringId::RevisionList),
                     printer.pageLayout().orientation()))
        return;
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    const ListColumnSheets columns =
        LayPrintedColumns(m_list, printer.logicalDpiX(), printable.width());
    const ListPrintGeometry geometry = ListPrintGeometry::For(
        printer.logicalDpiX(), printer.logicalDpiY(), printable.height(), columns.scale);
    PainterCanvas canvas(painter);
    for (int p = m_from - 1; p < m_to && !IsTerminated(); ++p) {
        ShowProgress(QStringLiteral("page %1").arg(p + 1));
        if (p + 1 != m_from)
            printer.newPage();
        if (PrintListPage(canvas, m_list, columns, geometry, p))
            break;
    }
    painter.end();
}
