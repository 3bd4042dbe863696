#include "documents/QuillfenForm.h"
#include "documents/TextObject.h"
#include "documents/widgets/MultiPrint.h"
#include "documents/widgets/PrintForm.h"
#include "documents/widgets/PrintJob.h"
#include "documents/widgets/Printers.h"
#include "language/Language.h"
#include "language/StringIds.h"

#include "common/FakeDialogs.h"
#include "common/FakePrinters.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace {

// A document of `pages` pages, each holding one text field that names it.
std::unique_ptr<QuillfenForm> Document(int pages, int32_t width = QuillfenForm::DefaultWidth,
                                       int32_t height = QuillfenForm::DefaultHeight)
{
    auto document = std::make_unique<QuillfenForm>(nullptr, width, height);
    for (int p = 0; p < pages; ++p) {
        PageObject* page = p == 0 ? document->GetCurrentPage() : document->AddPage();
        auto text = std::make_unique<TextObject>();
        text->SetRect(200, 200, 1800, 400);
        text->SetText(QStringLiteral("Sheet%1").arg(p + 1));
        page->AddObject(std::move(text));
    }
    return document;
}

void Save(const QuillfenForm& document, const QString& path)
{
    FileWriter writer(path, Tag::Form);
    ASSERT_TRUE(document.WriteSection(writer));
    ASSERT_TRUE(writer.Commit());
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Text(int id)
{
    return MainLanguage.GetString(id);
}

// Runs `answer` on the print dialog (print or print setup) that opens next.
// An answer cut short by a failed assertion must not leave the test waiting:
// the dialog is closed should the answer not have.
void AnswerPrintDialog(const std::function<void(QPrintDialog&)>& answer)
{
    QTimer::singleShot(0, [answer] {
        auto* open = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(open, nullptr);
        answer(*open);
        if (open->isVisible())
            open->reject();
    });
}

// The dialog's OK (its "Print"), clicked as the user does.
void ClickOk(QPrintDialog& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    buttons->button(QDialogButtonBox::Ok)->click();
}

QLineEdit* FileNameBox(QPrintDialog& dialog)
{
    return dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
}

class PrintFormTest : public ::testing::Test
{
protected:
    PrintFormTest()
    {
        QObject::connect(&dialog, &TForm5::ProgressShown, [this](const QString& text) {
            progress << text;
            if (text == cancelAt)
                dialog.Button1->click();
        });
    }

    // The text each page of a job's PDF shows, in order.
    QStringList SheetsOf(const FakePrinters::Job& job) const
    {
        QStringList sheets;
        const int pages = PdfInfo::Of(job.file).pages;
        for (int p = 1; p <= pages; ++p)
            sheets << PdfInfo::PageText(job.file, p).trimmed();
        return sheets;
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    FakePrinters printers{dir.path()};
    FakeDialogs dialogs;
    TForm5 dialog;
    QStringList progress;
    QString cancelAt; // the progress text at which the test presses Cancel
};

TEST(PaperTransform, MapsTenthsOfAMillimetreFromThePapersCorner)
{
    for (int dpi : {300, 600}) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(dpi);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(36, 72, 36, 36), QPageLayout::Point);
        const QTransform t = PaperTransform(printer);
        // The paper's corner lies half an inch left of and an inch above the
        // printable area's, where the painter's origin is.
        const QPointF corner = t.map(QPointF(0, 0));
        EXPECT_DOUBLE_EQ(corner.x(), -dpi / 2.0) << dpi;
        EXPECT_DOUBLE_EQ(corner.y(), -dpi) << dpi;
        // An inch is the resolution in pixels (not 2 pixels a unit at 600 dpi).
        const QPointF inch = t.map(QPointF(254, 254)) - corner;
        EXPECT_DOUBLE_EQ(inch.x(), dpi);
        EXPECT_DOUBLE_EQ(inch.y(), dpi);
        // An A4 page covers the A4 paper.
        const QPointF page = t.map(QPointF(2100, 2970)) - corner;
        const QSizeF paper = printer.paperRect(QPrinter::DevicePixel).size();
        EXPECT_NEAR(page.x() / paper.width(), 1.0, 0.001);
        EXPECT_NEAR(page.y() / paper.height(), 1.0, 0.001);
    }
}

TEST_F(PrintFormTest, PrintsTheClampedRangeWithProgress)
{
    const auto document = Document(3);
    dialog.PrintDocument(*document, 2, 99);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(progress, (QStringList{"Page 1 / 2", "Page 2 / 2"}));
    ASSERT_EQ(printers.Jobs().size(), 1);
    const FakePrinters::Job job = printers.Jobs()[0];
    EXPECT_EQ(job.title, u"Quillfen");
    EXPECT_EQ(job.orientation, QPageLayout::Portrait);
    EXPECT_EQ(SheetsOf(job), (QStringList{"Sheet2", "Sheet3"}));

    dialog.PrintDocument(*document, 0, 2);
    ASSERT_EQ(printers.Jobs().size(), 2);
    EXPECT_EQ(SheetsOf(printers.Jobs()[1]), (QStringList{"Sheet1", "Sheet2"}));

    // A first page after the last begins no job: no blank sheet comes out.
    progress.clear();
    dialog.PrintDocument(*document, 3, 1);
    EXPECT_EQ(printers.Jobs().size(), 2);
    EXPECT_TRUE(progress.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PrintFormTest, CancelSendsThePagesAlreadyPrinted)
{
    const auto document = Document(3);
    cancelAt = QStringLiteral("Page 2 / 3");
    dialog.PrintDocument(*document, 1, 3);
    EXPECT_EQ(progress, (QStringList{"Page 1 / 3", "Page 2 / 3"}));
    ASSERT_EQ(printers.Jobs().size(), 1);
    EXPECT_EQ(SheetsOf(printers.Jobs()[0]), (QStringList{"Sheet1", "Sheet2"}));
}

TEST_F(PrintFormTest, TheJobPrintsItsOwnCopyOfTheDocument)
{
    auto document = Document(3);
    // The window edits and repaints its document while the job runs.
    QObject::connect(&dialog, &TForm5::ProgressShown, [&] { document->DeletePages(); });
    dialog.PrintDocument(*document, 1, 3);
    ASSERT_EQ(printers.Jobs().size(), 1);
    EXPECT_EQ(SheetsOf(printers.Jobs()[0]), (QStringList{"Sheet1", "Sheet2", "Sheet3"}));
}

TEST_F(PrintFormTest, WidePagesPrintInLandscape)
{
    dialog.PrintDocument(*Document(1, 2970, 2100), 1, 1);
    dialog.PrintDocument(*Document(1, 2000, 2000), 1, 1);
    dialog.PrintDocument(*Document(1, 2000, 2001), 1, 1);
    const QList<FakePrinters::Job> jobs = printers.Jobs();
    ASSERT_EQ(jobs.size(), 3);
    EXPECT_EQ(jobs[0].orientation, QPageLayout::Landscape);
    EXPECT_TRUE(PdfInfo::Of(jobs[0].file).pageSize.startsWith(u"842 x 595")) << PdfInfo::Of(jobs[0].file).pageSize.toStdString();
    EXPECT_EQ(jobs[1].orientation, QPageLayout::Landscape);
    EXPECT_EQ(jobs[2].orientation, QPageLayout::Portrait);
    EXPECT_TRUE(PdfInfo::Of(jobs[2].file).pageSize.startsWith(u"595 x 842"));
}

TEST_F(PrintFormTest, FilesPrintOneJobEachAndUnreadableOnesAreSkipped)
{
    // Two forms, one cut short, one container without a form, one missing.
    const auto save = [](const QuillfenForm& document, const QString& path) {
        FileWriter writer(path, Tag::Form);
        ASSERT_TRUE(document.WriteSection(writer));
        ASSERT_TRUE(writer.Commit());
    };
    save(*Document(2), Path("two.qfs"));
    save(*Document(3), Path("three.qfs"));
    save(*Document(3), Path("damaged.qfs"));
    {
        QFile damaged(Path("damaged.qfs"));
        ASSERT_TRUE(damaged.resize(damaged.size() - 20));
        FileWriter data(Path("data.qfs"), Tag::Data);
        ASSERT_TRUE(data.BeginSection(Tag::Data));
        data.GetStream().write(QByteArray(16, '\0'));
        ASSERT_TRUE(data.Commit());
    }

    TForm6 files(dialog);
    dialogs.fileNames << (Path("two.qfs") + '\n' + Path("damaged.qfs") + '\n' + Path("two.qfs"))
                      << (Path("data.qfs") + '\n' + Path("missing.qfs") + '\n' + Path("three.qfs") + '\n'
                          + Path("damaged.qfs"))
                      << Path("three.qfs");
    files.Button1->click();
    files.Button1->click();
    files.ListBox1->item(2)->setSelected(true);
    files.ListBox1->item(3)->setSelected(true);
    files.Button2->click(); // data.qfs and missing.qfs go, to be added back
    files.Button1->click();
    EXPECT_EQ(files.Files(), (QStringList{Path("two.qfs"), Path("damaged.qfs"), Path("three.qfs")}));
    dialogs.fileNames << (Path("data.qfs") + '\n' + Path("missing.qfs"));
    files.Button1->click();

    files.Button4->click();
    EXPECT_EQ(printers.setups, 1);
    files.Button3->click();

    const QList<FakePrinters::Job> jobs = printers.Jobs();
    ASSERT_EQ(jobs.size(), 2);
    EXPECT_EQ(jobs[0].title, QStringLiteral("Quillfen - ") + Path("two.qfs"));
    EXPECT_EQ(jobs[1].title, QStringLiteral("Quillfen - ") + Path("three.qfs"));
    EXPECT_EQ(SheetsOf(jobs[0]), (QStringList{"Sheet1", "Sheet2"}));
    EXPECT_EQ(SheetsOf(jobs[1]), (QStringList{"Sheet1", "Sheet2", "Sheet3"}));
    const QString two = Path("two.qfs") + u'\n';
    const QString three = Path("three.qfs") + u'\n';
    EXPECT_EQ(progress, (QStringList{two + "Page 1 of 2", two + "Page 2 of 2", Path("damaged.qfs"),
                                     three + "Page 1 of 3", three + "Page 2 of 3", three + "Page 3 of 3",
                                     Path("data.qfs"), Path("missing.qfs")}));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // Cancel during the first file ends its job after that page; no other file prints.
    cancelAt = two + "Page 1 of 2";
    files.Button3->click();
    ASSERT_EQ(printers.Jobs().size(), 3);
    EXPECT_EQ(SheetsOf(printers.Jobs()[2]), (QStringList{"Sheet1"}));
}

// The program's own printer and print dialog, printing to files in a
// folder of the test's: what the user gets with "Print to File (PDF)".
class SystemPrinterTest : public ::testing::Test
{
protected:
    SystemPrinterTest() { printer.setOutputFileName(Path("out.pdf")); }
    ~SystemPrinterTest() override { printer.setOutputFileName({}); }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // The print dialog for the document `name` over pages 1..pages; `answer`
    // runs on it while it is open and closes it.
    bool RunPrintDialog(const QString& name, int pages, int& from, int& to,
                        const std::function<void(QPrintDialog&)>& answer)
    {
        AnswerPrintDialog(answer);
        return Printers().ExecPrintDialog(nullptr, name, 1, pages, from, to);
    }

    QTemporaryDir dir;
    QPrinter& printer = Printers().Printer();
    TForm5 dialog;
};

TEST_F(SystemPrinterTest, EveryPrintDialogOpensOnAllPagesOfItsDocument)
{
    int from = 0;
    int to = 0;
    ASSERT_TRUE(RunPrintDialog(Path("first.qfs"), 3, from, to, [](QPrintDialog& open) {
        auto* range = open.findChild<QRadioButton*>(QStringLiteral("printRange"));
        auto* first = open.findChild<QSpinBox*>(QStringLiteral("from"));
        auto* last = open.findChild<QSpinBox*>(QStringLiteral("to"));
        ASSERT_TRUE(range && first && last);
        range->setChecked(true);
        first->setValue(2);
        last->setValue(2);
        open.accept();
    }));
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 2);
    dialog.PrintDocument(*Document(3), from, to);
    EXPECT_EQ(PdfInfo::Of(Path("first.pdf")).pages, 1);

    // The next document's dialog, accepted as it opens, prints all of it.
    ASSERT_TRUE(
        RunPrintDialog(Path("next.qfs"), 4, from, to, [](QPrintDialog& open) { open.accept(); }));
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, 0);
    dialog.PrintDocument(*Document(4), 1, 4);
    EXPECT_EQ(PdfInfo::Of(Path("next.pdf")).pages, 4);
}

TEST_F(SystemPrinterTest, FilesPrintedToAFileEachKeepTheirOwnOutput)
{
    const auto save = [](const QuillfenForm& document, const QString& path) {
        FileWriter writer(path, Tag::Form);
        ASSERT_TRUE(document.WriteSection(writer));
        ASSERT_TRUE(writer.Commit());
    };
    save(*Document(1), Path("one.qfs"));
    save(*Document(2), Path("two.qfs"));
    save(*Document(3), Path("three.qfs"));
    dialog.PrintFiles({Path("three.qfs"), Path("one.qfs"), Path("missing.qfs"), Path("two.qfs")});

    EXPECT_EQ(PdfInfo::Of(Path("out-1.pdf")).pages, 3);
    EXPECT_EQ(PdfInfo::Of(Path("out-2.pdf")).pages, 1);
    EXPECT_FALSE(QFile::exists(Path("out-3.pdf")));
    EXPECT_EQ(PdfInfo::Of(Path("out-4.pdf")).pages, 2);
    EXPECT_EQ(PdfInfo::PageText(Path("out-4.pdf"), 2).trimmed(), "Sheet2");
    // The name the user chose stays for the next print.
    EXPECT_EQ(printer.outputFileName(), Path("out.pdf"));

    // One file alone goes where the user said.
    dialog.PrintFiles({Path("two.qfs")});
    EXPECT_EQ(PdfInfo::Of(Path("out.pdf")).pages, 2);
}

TEST_F(SystemPrinterTest, ADocumentIsOfferedAFileOfItsOwnAndNothingIsReplacedUnasked)
{
    FakeDialogs dialogs;
    WriteBytes(Path("report.pdf"), "kept");
    QString offered;
    int from = 0;
    int to = 0;
    ASSERT_TRUE(RunPrintDialog(Path("elsewhere/report.qfs"), 2, from, to, [&](QPrintDialog& open) {
        QLineEdit* fileName = FileNameBox(open);
        ASSERT_NE(fileName, nullptr);
        offered = fileName->text();
        // A file in no folder is not taken; the dialog stays for another name.
        fileName->setText(Path("missing/report.pdf"));
        ClickOk(open);
        ASSERT_TRUE(open.isVisible());
        // The existing file is kept unless the user agrees.
        fileName->setText(offered);
        dialogs.answers << IDNO;
        ClickOk(open);
        ASSERT_TRUE(open.isVisible());
        dialogs.answers << IDYES;
        ClickOk(open);
    }));
    // In the folder the last output went to, named after the document.
    EXPECT_EQ(offered, Path("report.pdf"));
    const QString replace = Path("report.pdf") + u'\n' + Text(StringId::ReplaceQuestion);
    EXPECT_EQ(dialogs.Texts(),
              (QStringList{Text(StringId::FileNotWritable) + u'\n' + Path("missing/report.pdf"),
                           replace, replace}));
    EXPECT_EQ(dialogs.messages[1].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(ReadBytes(Path("report.pdf")), "kept");

    // Agreed in the dialog, the job does not ask again.
    dialog.PrintDocument(*Document(2), 1, 2);
    EXPECT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(PdfInfo::Of(Path("report.pdf")).pages, 2);
}

TEST_F(SystemPrinterTest, AFileThatCannotBeWrittenIsNamedAndTheNextPrintWorks)
{
    FakeDialogs dialogs;
    printer.setOutputFileName(Path("missing/out.pdf"));
    dialog.PrintDocument(*Document(2), 1, 2);
    EXPECT_EQ(dialogs.Texts(),
              QStringList{Text(StringId::FileNotWritable) + u'\n' + Path("missing/out.pdf")});
    printer.setOutputFileName(Path("out.pdf"));
    EXPECT_EQ(printer.outputFileName(), Path("out.pdf"));
    dialog.PrintDocument(*Document(2), 1, 2);
    EXPECT_EQ(PdfInfo::Of(Path("out.pdf")).pages, 2);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

// The machine's printer as the program finds it: no printer set up, no file
// chosen. Printing says so and leaves the printer to be set up; set up to
// print to a PDF file, the same forms print whole.
TEST(UnsetPrinterTest, FilesToPrintSayThereIsNoPrinterAndPrintOnceSetUpToAFile)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    QTemporaryDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    QPrinter& printer = Printers().Printer();
    printer.setOutputFileName({});
    struct Unset
    {
        QPrinter& printer;
        ~Unset() { printer.setOutputFileName({}); }
    } unset{printer};
    Save(*Document(2), path("two.qfs"));
    Save(*Document(3), path("three.qfs"));

    FakeDialogs dialogs;
    TForm5 print;
    TForm6 files(print);
    dialogs.fileNames << (path("two.qfs") + u'\n' + path("three.qfs"));
    files.Button1->click();
    files.Button3->click();
    // Said once, not once a file.
    EXPECT_EQ(dialogs.Texts(), QStringList{Text(StringId::NoPrinter)});
    EXPECT_NE(printer.printerState(), QPrinter::Active);

    // Print setup offers printing to a PDF file; chosen, the file is named.
    QStringList offered;
    AnswerPrintDialog([&](QPrintDialog& setup) {
        auto* printers = setup.findChild<QComboBox*>(QStringLiteral("printers"));
        ASSERT_NE(printers, nullptr);
        for (int i = 0; i < printers->count(); ++i)
            offered << printers->itemText(i);
        QLineEdit* fileName = FileNameBox(setup);
        ASSERT_NE(fileName, nullptr);
        ASSERT_TRUE(fileName->isEnabled());
        fileName->setText(path("out.pdf"));
        ClickOk(setup);
    });
    files.Button4->click();
    EXPECT_EQ(offered, QStringList{"Print to File (PDF)"});
    EXPECT_EQ(printer.outputFileName(), path("out.pdf"));

    files.Button3->click();
    EXPECT_EQ(PdfInfo::Of(path("out-1.pdf")).pages, 2);
    EXPECT_EQ(PdfInfo::Of(path("out-2.pdf")).pages, 3);
    EXPECT_EQ(dialogs.messages.size(), 1);

    // Printed again, each existing file is asked about: No keeps the first.
    WriteBytes(path("out-1.pdf"), "kept");
    WriteBytes(path("out-2.pdf"), "kept");
    dialogs.answers << IDNO << IDYES;
    files.Button3->click();
    EXPECT_EQ(dialogs.Texts().mid(1),
              (QStringList{path("out-1.pdf") + u'\n' + Text(StringId::ReplaceQuestion),
                           path("out-2.pdf") + u'\n' + Text(StringId::ReplaceQuestion)}));
    EXPECT_EQ(ReadBytes(path("out-1.pdf")), "kept");
    EXPECT_EQ(PdfInfo::Of(path("out-2.pdf")).pages, 3);
}

} // namespace

TEST(PrinterSetup, SetsUpThePrinterWithoutOfferingToPrint)
{
    // The system's own dialog: no test printer is installed here.
    MainLanguage.SetLanguage(Language::English);
    bool shown = false;
    QString title;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shown = true;
        title = dialog->windowTitle();
        for (const QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->isVisibleTo(dialog))
                buttons << button->text().remove(u'&');
        dialog->reject();
    });
    EXPECT_FALSE(Printers().ExecPrinterSetup(nullptr));
    ASSERT_TRUE(shown);
    EXPECT_EQ(title, "Print setup");
    EXPECT_FALSE(buttons.contains("Print")) << buttons.join(", ").toStdString();
    EXPECT_TRUE(buttons.contains("OK")) << buttons.join(", ").toStdString();
}
