#include "documents/widgets/Printers.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/ScreenFit.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMutex>
#include <QMutexLocker>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <memory>
#include <utility>

namespace {

// The name a document without a file prints under to a file.
constexpr char UnnamedDocument[] = "Quillfen";
constexpr char PdfSuffix[] = ".pdf";

// The existing file that the user agreed, in a print dialog, to replace with
// the output of the job that dialog starts.
QMutex agreedMutex;
QString agreedOutput;

void AgreeToReplace(const QString& path)
{
    QMutexLocker lock(&agreedMutex);
    agreedOutput = path;
}

QString Str(int id)
{
    return MainLanguage.GetString(id);
}

// The file a document printed to a file is offered: named after the
// document, in the folder the last output went to (else the document's own,
// else the home folder).
QString OfferedOutputFile(const QString& lastOutput, const QString& documentName)
{
    const QFileInfo document(documentName);
    QString base = document.completeBaseName();
    if (base.isEmpty())
        base = QLatin1String(UnnamedDocument);
    QString folder = QDir::homePath();
    if (!lastOutput.isEmpty())
        folder = QFileInfo(lastOutput).absolutePath();
    else if (document.isAbsolute())
        folder = document.absolutePath();
    return QDir(folder).filePath(base + QLatin1String(PdfSuffix));
}

// The output file as the print dialog hands it to the printer: a relative
// name lies in the home folder.
QString OutputFileOf(const QString& typed)
{
    return QDir::isRelativePath(typed) ? QDir::homePath() + QDir::separator() + typed : typed;
}

// An existing file that may be written over, or a new one in a folder that
// takes files.
bool CanWrite(const QString& path)
{
    const QFileInfo file(path);
    if (file.exists())
        return file.isFile() && file.isWritable();
    const QFileInfo folder(file.absolutePath());
    return !file.fileName().isEmpty() && folder.isDir() && folder.isWritable();
}

// The file name box of the print dialog, enabled while it prints to a file;
// null where the platform's dialog has none.
QLineEdit* FileNameBox(QPrintDialog& dialog)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
}

// Qt's dialog checks the file it prints to with message boxes of its own,
// and asks about replacing it even where nothing is written yet (print
// setup). The program checks and asks through its own dialogs instead, and a
// print asks once: what is agreed here its job does not ask again.
void CheckFileOnOk(QPrintDialog& dialog, bool printsNow)
{
    QLineEdit* fileName = FileNameBox(dialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
    if (!fileName || !buttons)
        return;
    QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, fileName, printsNow] {
        if (!fileName->isEnabled()) {
            // A printer: Qt's checks of its options stand.
            if (!QMetaObject::invokeMethod(&dialog, "_q_checkFields"))
                dialog.accept();
            return;
        }
        const QString path = OutputFileOf(fileName->text());
        if (!CanWrite(path)) {
            Dialogs().MessageBox(Str(StringId::FileNotWritable) + u'\n' + path,
                                 dialog.windowTitle(), MsgButtons::Ok, MsgIcon::Warning);
            return;
        }
        if (printsNow && QFileInfo::exists(path)) {
            if (Dialogs().MessageBox(path + u'\n' + Str(StringId::ReplaceQuestion),
                                     dialog.windowTitle(), MsgButtons::YesNoDefaultNo,
                                     MsgIcon::Question)
                != IDYES)
                return;
            AgreeToReplace(path);
        }
        dialog.accept();
    });
}

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

    bool ExecPrintDialog(QWidget* parent, const QString& documentName, int minPage, int maxPage,
                         int& fromPage, int& toPage) override
    {
        AgreeToReplace({});
        // The range belongs to the document, not to the printer: a range left
        // from the last document would print part of this one, unseen in the
        // dialog while its options are folded away.
        QPrinter& printer = Printer();
        printer.setPrintRange(QPrinter::AllPages);
        printer.setPageRanges({});
        QPrintDialog dialog(&printer, parent);
        // Over its window and wholly on the screen, as every other dialog.
        FitOnScreenWhenShown(&dialog);
        dialog.setMinMax(minPage, maxPage);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        // The file too: printed to the last document's, this one would
        // replace it.
        if (QLineEdit* fileName = FileNameBox(dialog))
            fileName->setText(OfferedOutputFile(printer.outputFileName(), documentName));
        CheckFileOnOk(dialog, true);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        const bool range = dialog.printRange() == QAbstractPrintDialog::PageRange;
        fromPage = range ? dialog.fromPage() : 0;
        toPage = range ? dialog.toPage() : 0;
        return true;
    }

    bool ExecPrinterSetup(QWidget* parent) override
    {
        AgreeToReplace({});
        // The print dialog chooses the printer and its page setup; here it
        // only sets them up, so it is not titled or buttoned as printing. It
        // offers printing to a file as the print dialog does: on a machine
        // without printers that is the only printer there is.
        QPrintDialog dialog(&Printer(), parent);
        FitOnScreenWhenShown(&dialog);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setWindowTitle(SetupTitle());
        for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>())
            if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
                ok->setText(MainLanguage.GetString(StringId::Ok));
        CheckFileOnOk(dialog, false);
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

bool MayWriteOutput(const QString& path)
{
    QString agreed;
    {
        QMutexLocker lock(&agreedMutex);
        agreed = std::exchange(agreedOutput, QString());
    }
    if (path.isEmpty() || !QFileInfo::exists(path) || path == agreed)
        return true;
    return Dialogs().MessageBox(path + u'\n' + Str(StringId::ReplaceQuestion),
                                Str(StringId::PrintTitle), MsgButtons::YesNoDefaultNo,
                                MsgIcon::Question)
           == IDYES;
}
