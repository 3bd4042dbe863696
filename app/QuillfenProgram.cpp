#include "app/QuillfenProgram.h"

#include "dataprocessing/widgets/CreateBarcode.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "documents/widgets/MultiPrint.h"
#include "documents/widgets/PrintForm.h"
#include "documents/widgets/PrintJob.h"
#include "documents/widgets/Printers.h"
#include "documents/widgets/TextSetup.h"
#include "instruments/widgets/ProgressForm.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/ProcessSignals.h"
#include "platform/Registry.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/QtTranslation.h"
#include "revisionlist/widgets/QuillfenRevisionTable.h"
#include "revisionlist/widgets/QuillfenSetup.h"
#include "revisionlist/widgets/RevisionDateFilter.h"
#include "revisionlist/widgets/RevisionFilter.h"
#include "revisionlist/widgets/RevisionSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLocale>
#include <QToolBar>

namespace {
constexpr char ProgramKey[] = "\\Software\\Quillfen2";
constexpr char LanguageValue[] = "Language";

void ShowAndRaise(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

// The text edit dialog on a styled text; true on OK with the edited text.
bool EditStyledText(TTextSetup1& dialog, QString& text)
{
    dialog.SetStyledText(text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.GetStyledText();
    return true;
}
// The print dialog on the document's pages, over `window`, which prints it,
// then the pages chosen (all of them when the user chose no range).
// `fileName` is the document's file, if it has one.
void PrintPagesChosen(TForm5& print, const QuillfenForm& document, const QString& fileName,
                      QWidget* window)
{
    int from = 0;
    int to = 0;
    const int pages = document.GetPageCount();
    // Not the print window's dialog: that window is not shown yet, and a
    // dialog belonging to it would open where it would stand.
    if (!Printers().ExecPrintDialog(window, fileName, 1, pages, from, to))
        return;
    if (from <= 0 || to <= 0) {
        from = 1;
        to = pages;
    }
    print.PrintDocument(document, from, to);
}
} // namespace

int UserDefaultLanguageId()
{
    return QLocale::system().language() == QLocale::Czech ? QuillfenProgram::CzechLanguageId : 0x409;
}

QuillfenProgram::QuillfenProgram()
{
    IgnoreFileSizeSignal();
    // The settings dialog is read first of all: other windows read its
    // controls while they are created.
    m_form11 = std::make_unique<TForm11>();
    m_form7 = std::make_unique<TForm7>();
    m_form3 = std::make_unique<TForm3>();
    m_textSetup = std::make_unique<TTextSetup1>();
    m_form2 = std::make_unique<TForm2>();
    m_progress = std::make_unique<TProgressForm>();
    SetTransferReporter(m_progress.get());
    m_form5 = std::make_unique<TForm5>();
    m_form6 = std::make_unique<TForm6>(*m_form5);
    m_form9 = std::make_unique<TForm9>();
    ConnectWindows();
}

QuillfenProgram::~QuillfenProgram()
{
    SetTransferReporter(nullptr);
    // Windows that link to others go first; the settings dialog writes the
    // registry as it goes, last.
    m_form9.reset();
    m_form6.reset();
    m_form5.reset();
    m_form2.reset();
    m_form3.reset();
    m_form7.reset();
    m_textSetup.reset();
    m_progress.reset();
    m_form11.reset();
}

void QuillfenProgram::ConnectWindows()
{
    TForm7* list = m_form7.get();
    TForm3* data = m_form3.get();
    TForm2* designer = m_form2.get();
    TForm11* settings = m_form11.get();
    TForm5* print = m_form5.get();
    TForm6* multiPrint = m_form6.get();
    TForm9* wizard = m_form9.get();
    TTextSetup1* textSetup = m_textSetup.get();

    TForm7::Hooks listHooks;
    listHooks.ShowDataProcessing = [data] { ShowAndRaise(*data); };
    listHooks.ShowDesigner = [designer] { ShowAndRaise(*designer); };
    listHooks.ShowSettings = [settings] { settings->exec(); };
    listHooks.OpenForm = [data](const QString& path, int page) {
        ShowAndRaise(*data);
        data->OpenFile(path, page);
    };
    listHooks.OpenData = [data](const QString& path) {
        ShowAndRaise(*data);
        const FileOutcome outcome = data->Document().OpenData(path, false);
        data->RebuildDataTree();
        if (!outcome.Ok() && outcome.Result != FileOutcome::NothingLoaded)
            Dialogs().MessageBox(path + u'\n' + MainLanguage.GetString(StringId::FileNotOpened),
                                 MainLanguage.GetString(StringId::RevisionList), MsgButtons::Ok,
                                 MsgIcon::Error);
    };
    listHooks.OpenTemplate = [designer](const QString& path) {
        ShowAndRaise(*designer);
        designer->OpenFile(path);
    };
    listHooks.DesignerCloseQuery = [designer] { return designer->FormCloseQuery(); };
    listHooks.DataProcessingCloseQuery = [data] { return data->FormCloseQuery(); };
    listHooks.EndProgram = [this] { EndProgram(); };
    listHooks.EraseCell = [settings] { return settings->CheckBox2->isChecked(); };
    listHooks.PortName = [data] { return data->ComboBox2->currentText(); };
    // The data window weighs the upload's state with its own.
    listHooks.EnableTransferButtons = [data](bool) { data->UpdateTransferCommands(); };
    listHooks.TransferRunning = [data] { return data->UsesInstrument(); };
    listHooks.Print = [print](std::unique_ptr<PrintJob> job) { print->Print(std::move(job)); };
    list->SetHooks(std::move(listHooks));

    TForm3::Hooks dataHooks;
    dataHooks.AutoFill = [settings] { return settings->CheckBox6->isChecked(); };
    dataHooks.Backup = [settings] { return settings->CheckBox8->isChecked(); };
    dataHooks.GroupSameNumber = [settings] { return settings->CheckBox7->isChecked(); };
    dataHooks.Records = list;
    dataHooks.EnableUpload = [list](bool enabled) { list->Upload1->setEnabled(enabled); };
    dataHooks.UploadRunning = [list] { return list->IsUploadRunning(); };
    dataHooks.ShowDesigner = [designer] { ShowAndRaise(*designer); };
    dataHooks.ShowRevisionList = [list] { ShowAndRaise(*list); };
    dataHooks.ShowSettings = [settings] { settings->exec(); };
    dataHooks.Print = [print, data](QuillfenTransferForm& form) {
        PrintPagesChosen(*print, form, data->Document().FileName(), data);
    };
    dataHooks.MultiPrint = [multiPrint] { multiPrint->exec(); };
    dataHooks.EditText = [textSetup](QString& text) { return EditStyledText(*textSetup, text); };
    dataHooks.BarcodeWizard = [wizard](QuillfenTransferForm& form, std::vector<LabelNumber>& numbers,
                                       std::unique_ptr<AbstractFormObject>& labelTemplate) {
        return wizard->ShowForSheet(form, numbers, labelTemplate);
    };
    data->SetHooks(std::move(dataHooks));
    wizard->SetRecordLookup(list);

    DesignerHooks designerHooks;
    designerHooks.ShowDataProcessing = [data] { ShowAndRaise(*data); };
    designerHooks.ShowRevisionList = [list] { ShowAndRaise(*list); };
    designerHooks.Print = [print, designer](QuillfenForm& document) {
        PrintPagesChosen(*print, document, designer->GetFileName(), designer);
    };
    designer->SetHooks(std::move(designerHooks));

    QObject::connect(settings, &TForm11::DesignerIconBarChanged, designer, &TForm2::ShowIconBar);
    QObject::connect(settings, &TForm11::RevisionListIconBarChanged, list, &TForm7::SetIconBarVisible);
    QObject::connect(settings, &TForm11::DataProcessingIconBarChanged, data, [data](bool visible) {
        for (QToolBar* bar : data->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
            bar->setVisible(visible);
    });
    QObject::connect(settings, &TForm11::LanguageChanged, list, [this] { ApplyLanguageToAll(); });
    settings->ApplyIconBars();
}

void QuillfenProgram::EndProgram()
{
    // The list's close query has asked every window already. Quitting would
    // close the windows still shown and ask them again, and a Cancel then
    // would leave the program running without its main window. The windows
    // go with the answers given, so that nothing asks while they are torn
    // down, and the event loop ends.
    m_form2->hide();
    m_form3->hide();
    QCoreApplication::exit(0);
}

void QuillfenProgram::ChooseLanguage(int userLanguageId)
{
    TRegistry registry;
    try {
        registry.OpenKey(QLatin1String(ProgramKey), true);
        MainLanguage.SetLanguage(registry.ReadInteger(QLatin1String(LanguageValue)));
    } catch (const ERegistryException&) {
        const int language = userLanguageId == CzechLanguageId ? Language::Czech : Language::English;
        try {
            registry.WriteInteger(QLatin1String(LanguageValue), language);
        } catch (const ERegistryException&) {
            // The language is still chosen; the next start asks again.
        }
        MainLanguage.SetLanguage(language);
    }
}

void QuillfenProgram::ApplyLanguageToAll()
{
    UseQtTranslation(MainLanguage.GetLanguage());
    m_form2->ApplyLanguage();
    m_form3->ApplyLanguage();
    m_form7->ApplyLanguage();
    for (QWidget* window : std::initializer_list<QWidget*>{m_form9.get(), m_form11.get()})
        ApplyCaptions(window);
    for (QWidget* dialog : std::initializer_list<QWidget*>{&m_form7->SetupDialog(), &m_form7->TextFilterDialog(),
                                                           &m_form7->DateFilterDialog()})
        ApplyCaptions(dialog);
    m_form5->ApplyLanguage();
    m_form6->ApplyLanguage();
    m_textSetup->ApplyLanguage();
    m_form7->show();
    // Captions of another language take another room: the windows that are
    // shown now make room for them (hidden ones do when they are shown).
    FitVisibleWindows();
}

bool QuillfenProgram::OpenCommandLineDocument(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return true;
    return m_form7->OpenDocument(arguments.first());
}

void QuillfenProgram::Start(const QStringList& arguments, int userLanguageId)
{
    ChooseLanguage(userLanguageId);
    ApplyLanguageToAll();
    OpenCommandLineDocument(arguments);
}
