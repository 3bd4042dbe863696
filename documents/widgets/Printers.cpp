#include "documents/widgets/Printers.h"

#include "language/Language.h"
#include "language/StringIds.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <memory>

namespace {

// The command's caption without the dots that say it opens a dialog.
QString SetupTitle()
{
    QString title = MainLanguage.GetString(StringId::PrintSetup);
    if (title.endsWith(QLatin1String("...")))
        title.chop(3);
    return title.trimmed();
}

class SystemPrinters : public PrinterAccess
{
public:
    QPrinter& Printer() override
    {
        if (!m_printer) {
            m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            // The printer goes with the application object, before the
            // print support it depends on is unloaded.
            qAddPostRoutine([] { Instance().m_printer.reset(); });
        }
        return *m_printer;
    }

    bool ExecPrintDialog(QWidget* parent, int minPage, int maxPage, int& fromPage, int& toPage) override
    {
        // The range belongs to the document, not to the printer: a range left
        // from the last document would print part of this one, unseen in the
        // dialog while its options are folded away.
        QPrinter& printer = Printer();
        printer.setPrintRange(QPrinter::AllPages);
        printer.setPageRanges({});
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(minPage, maxPage);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const bool range = dialog.printRange() == QAbstractPrintDialog::PageRange;
        fromPage = range ? dialog.fromPage() : 0;
        toPage = range ? dialog.toPage() : 0;
        return true;
    }

    bool ExecPrinterSetup(QWidget* parent) override
    {
        // The print dialog chooses the printer and its page setup; here it
        // only sets them up, so it is not titled or buttoned as printing.
        QPrintDialog dialog(&Printer(), parent);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setWindowTitle(SetupTitle());
        for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>())
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(MainLanguage.GetString(StringId::Ok));
        return dialog.exec() == QDialog::Accepted;
    }

    static SystemPrinters& Instance()
    {
        static SystemPrinters instance;
        return instance;
    }

private:
    std::unique_ptr<QPrinter> m_printer;
};

PrinterAccess* installed = nullptr;

} // namespace

PrinterAccess::~PrinterAccess() = default;

void PrinterAccess::JobStarting(QPrinter&) {}

PrinterAccess& Printers()
{
    return installed ? *installed : SystemPrinters::Instance();
}

void SetPrinters(PrinterAccess* printers)
{
    installed = printers;
}
