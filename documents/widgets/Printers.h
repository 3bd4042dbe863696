#pragma once
// The program's one printer and the system's dialogs over it. Every print
// job and every print or printer setup command goes through PrinterAccess,
// so tests can install one that prints to PDF files and answers the dialogs.

#include <QString>

class QPrinter;
class QWidget;

class PrinterAccess
{
public:
    virtual ~PrinterAccess();

    // The printer the print jobs print on and the dialogs set up.
    virtual QPrinter& Printer() = 0;
    // The print dialog for the document `documentName` (its file, or a name
    // for it when it has none), offering pages minPage..maxPage and opening on
    // all of them (the printer's other settings stay as last chosen). Printing
    // to a file, the document is offered a PDF file named after it. False when
    // cancelled; otherwise the chosen range, or 0 and 0 when the user chose
    // no range.
    virtual bool ExecPrintDialog(QWidget* parent, const QString& documentName, int minPage,
                                 int maxPage, int& fromPage, int& toPage) = 0;
    // The printer setup dialog, offering the printers the print dialog
    // offers. False when cancelled.
    virtual bool ExecPrinterSetup(QWidget* parent) = 0;
    // Called on the job's thread just before a print job begins on the
    // printer, with the job's title and orientation already set.
    virtual void JobStarting(QPrinter& printer);
};

// The implementation in use: the system's printer and dialogs unless a test
// has installed its own.
PrinterAccess& Printers();
// Installs `printers` (not owned); nullptr restores the system's.
void SetPrinters(PrinterAccess* printers);

// Whether a print job may write its output file `path` (empty when it prints
// on a printer): yes when there is no such file yet or the user agreed to
// replace it in the dialog that started this print; otherwise the user is
// asked. Each job asks once as it begins, on its own thread.
bool MayWriteOutput(const QString& path);
