#pragma once
// Printing the revision list as a plain table: a caption line at the top of
// every page, then one line per shown record with its number and the fields
// of the visible columns, in the grid's order and with its column widths.
//
// The job takes a copy of what it prints when it is made, so the list can
// change while the job runs.

#include "documents/widgets/PrintJob.h"

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

// Units on paper are a third of a millimetre (1/76.2 inch).
struct ListPrintGeometry
{
    double unitX = 0;     // printer pixels per unit, across
    double unitY = 0;     // printer pixels per unit, down
    int lineHeight = 0;   // one line's cell height in printer pixels
    int linesPerPage = 1; // records under the caption line

    // The geometry on a printer of the given resolutions whose printable
    // area is `pageHeight` pixels high.
    static ListPrintGeometry For(int dpiX, int dpiY, int pageHeight);
};

// Draws page p (from 0) of the list; true when it is the last page.
bool PrintListPage(TCanvas& canvas, const PrintedList& list, const ListPrintGeometry& geometry, int page);

class TPrintListThread : public PrintJob
{
    Q_OBJECT

public:
    TPrintListThread(QPrinter& printer, PrintedList list);
    ~TPrintListThread() override;

    // Pages from..to, counted from 1; each raised to at least 1.
    void SetPageRange(int from, int to);

protected:
    void Execute() override;

private:
    PrintedList m_list;
    int m_from = 1;
    int m_to = 1;
};
