#pragma once
// Printing the revision list as a plain table: a caption line at the top of
// every page, then one line per shown record with its number and the fields
// of the visible columns, in the grid's order and with its column widths.
// Columns wider than the paper are scaled down to it, or continue on
// further sheets (see ListPrintColumns.h); pages are counted in sheets.
//
// The job takes a copy of what it prints when it is made, so the list can
// change while the job runs.

#include "documents/widgets/PrintJob.h"
#include "revisionlist/ListPrintColumns.h"

#include <QString>
#include <QStringList>

#include <vector>

class RevisionList;
class TCanvas;

// What one printed list holds: the visible columns' captions and widths (in
// screen pixels, printed as the same number of units) and the shown records'
// fields of those columns.
struct PrintedList
{
    QStringList captions;
    std::vector<int> widths;
    std::vector<QStringList> records;

    static PrintedList Of(const RevisionList& list);
};

// Units on paper are a third of a millimetre (1/76.2 inch), times the
// scale of the printed line.
struct ListPrintGeometry
{
    double unitX = 0;     // printer pixels per unit, across
    double unitY = 0;     // printer pixels per unit, down
    int lineHeight = 0;   // one line's cell height in printer pixels
    int linesPerPage = 1; // records under the caption line

    // The geometry on a printer of the given resolutions whose printable
    // area is `pageHeight` pixels high, for lines scaled by `scale`.
    static ListPrintGeometry For(int dpiX, int dpiY, int pageHeight, double scale = 1.0);
};

// How the list's columns lie on a printable area `pageWidth` pixels wide
// at `dpiX`.
ListColumnSheets LayPrintedColumns(const PrintedList& list, int dpiX, int pageWidth);

// Draws sheet s (from 0) of the list: the band s % bands of the records'
// page s / bands. True when it is the last sheet.
bool PrintListPage(TCanvas& canvas, const PrintedList& list, const ListColumnSheets& columns,
                   const ListPrintGeometry& geometry, int sheet);

class TPrintListThread : public PrintJob
{
    Q_OBJECT

public:
    TPrintListThread(QPrinter& printer, PrintedList list);
    ~TPrintListThread() override;

    // Sheets from..to, counted from 1; each raised to at least 1.
    void SetPageRange(int from, int to);

protected:
    void Execute() override;

private:
    PrintedList m_list;
    int m_from = 1;
    int m_to = 1;
};
