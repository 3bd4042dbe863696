#include "dataprocessing/widgets/QuillfenTransfer.h"

#include "dataprocessing/widgets/InstrumentSetupDialog.h"
#include "documents/BarcodeObject.h"
#include "documents/MeasureObject.h"
#include "documents/StyledText.h"
#include "documents/TextObject.h"
#include "documents/widgets/MultiPrint.h"
#include "documents/widgets/Printers.h"
#include "documents/widgets/PrintForm.h"
#include "documents/widgets/StyledTextDelegate.h"
#include "documents/widgets/TextSetup.h"
#include "instruments/InstrumentTransferWindow.h"
#include "instruments/Kx310Old.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Canvas.h"
#include "platform/Registry.h"
#include "platform/SerialPort.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/ThemeIcons.h"
#include "storage/Utf8.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDrag>
#include <QEventLoop>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The node's data in the tree: which object it shows.
constexpr int NodeRole = Qt::UserRole;
// A root's caption id, so that its text follows the language.
constexpr int RootCaptionRole = Qt::UserRole + 1;
constexpr int DragDistance = 10;
constexpr int WheelStep = 25;
// The window's size where the screen has room for it.
constexpr int PreferredWidth = 900;
constexpr int PreferredHeight = 700;
constexpr int TreeTabColumn = 40;
constexpr int MaxNodeText = 100;
constexpr char DragMime[] = "application/x-quillfen-measured-data";
const QString ProductFilter = QStringLiteral("Quillfen (*.qfs)");
const QString OpenFilter = QStringLiteral("Quillfen (*.qfs *.qfd *.qff)");
const QString DataFilter = QStringLiteral("Quillfen data (*.qfs);;HTML (*.html) (*.htm *.html);;HTML (*.html) - Tab (*.htm *.html)");
const QString DocumentSuffix = QStringLiteral("qfs");
const QString XmlSuffix = QStringLiteral("xml");
const QString RegistryKey = QStringLiteral("\\Software\\Quillfen2");
const QString ComPortValue = QStringLiteral("ComPort");
constexpr int ZoomChoices[] = {25, 50, 75, 100, 150, 200, 250};
// The page box is as wide as a page number of this many digits.
constexpr int PageBoxDigits = 4;
// A line edit's size hint holds this many 'x', whatever text it has.
constexpr int LineEditHintCharacters = 17;
// Where serial devices appear when an adapter is plugged in.
const QString DeviceFolders[] = {QStringLiteral("/dev"), QStringLiteral("/dev/serial")};
// A new device node gets its owner and permissions a moment after it
// appears; the ports are probed once the folder has been quiet this long.
constexpr int DeviceSettleMilliseconds = 1000;

QString Str(int id)
{
    return MainLanguage.GetString(id);
}

// The icon bars' pictures: freedesktop icon names of the commands.
const ThemeIconOf<TForm3> ToolBarIcons[] = {
    {&TForm3::Transfer1, "network-receive"},
    {&TForm3::Setup1, "document-properties"},
    {&TForm3::Info1, "dialog-information"},
    {&TForm3::Opendata1, "document-open"},
    {&TForm3::Appenddata1, "list-add"},
    {&TForm3::SaveDataAs1, "document-save-as"},
    {&TForm3::Removedatafrompage1, "edit-clear"},
    {&TForm3::Fill1, "edit-paste"},
    {&TForm3::Deletealldata1, "edit-delete"},
    {&TForm3::New1, "document-new"},
    {&TForm3::Open1, "document-open"},
    {&TForm3::Append1, "document-import"},
    {&TForm3::Save1, "document-save"},
    {&TForm3::Print1, "document-print"},
    {&TForm3::Revisionlist1, "x-office-spreadsheet"},
    {&TForm3::Templatedesigner1, "document-page-setup"},
    {&TForm3::FindId1, "edit-find"},
    {&TForm3::Zoomin1, "zoom-in"},
    {&TForm3::Zoomout1, "zoom-out"},
    {&TForm3::Wholepage1, "zoom-fit-best"},
    {&TForm3::First1, "go-first"},
    {&TForm3::Previous1, "go-previous"},
    {&TForm3::Next1, "go-next"},
    {&TForm3::Last1, "go-last"},
};

InstrumentAbstract* NodeData(const QTreeWidgetItem* item)
{
    return item ? reinterpret_cast<InstrumentAbstract*>(item->data(0, NodeRole).value<quintptr>()) : nullptr;
}

} // namespace

// The canvas: paints the form and hands mouse and drag events to the window.
class TPaintBox : public QWidget
{
public:
    explicit TPaintBox(TForm3* window, QWidget* parent) : QWidget(parent), m_window(window)
    {
        setObjectName(QStringLiteral("PaintBox1"));
        setAcceptDrops(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        PainterCanvas canvas(painter);
        m_window->Form().DrawScaled(canvas);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        m_window->PaintBox1MouseDown(event->button(), event->position().toPoint(), false);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        m_window->PaintBox1MouseDown(event->button(), event->position().toPoint(), true);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton)
            m_window->eventFilter(this, event);
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_window->PaintBox1MouseUp(); }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        event->setAccepted(event->mimeData()->hasFormat(DragMime));
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        event->setAccepted(event->mimeData()->hasFormat(DragMime)
                           && m_window->PaintBox1DragOver(event->position().toPoint()));
    }
    void dropEvent(QDropEvent* event) override
    {
        event->acceptProposedAction();
        m_window->PaintBox1DragDrop(event->position().toPoint());
    }

private:
    TForm3* m_window;
};

TForm3::TForm3(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TForm3"));
    SetTag(this, StringId::DataProcessing);
    FitOnScreenWhenShown(this, QSize(PreferredWidth, PreferredHeight));

    auto* splitter = new QSplitter(this);
    TreeView1 = new QTreeWidget(splitter);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers); // TreeView1Editing refuses edits
    TreeView1->viewport()->installEventFilter(this);
    TreeView1->installEventFilter(this);

    ScrollBox1 = new QScrollArea(splitter);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->installEventFilter(this);
    // Wheel events reach the viewport, which would scroll by its own step.
    ScrollBox1->viewport()->installEventFilter(this);
    Panel3 = new QWidget;
    Panel3->setObjectName(QStringLiteral("Panel3"));
    PaintBox1 = new TPaintBox(this, Panel3);
    ScrollBox1->setWidget(Panel3);
    splitter->setStretchFactor(1, 3);
    setCentralWidget(splitter);

    m_document = std::make_unique<TransferDocument>([this](int32_t w, int32_t h) {
        Panel3->resize(w, h);
        PaintBox1->resize(w, h);
    });
    BuildMenus();
    SetHooks({});
    TreeView1->setItemDelegate(new StyledTextDelegate(
        [this](const QModelIndex& index, StyledTextDelegate::Row& row) {
            const auto* node = reinterpret_cast<InstrumentAbstract*>(index.data(NodeRole).value<quintptr>());
            if (!node)
                return false;
            QByteArray text = node->GetText(DisplayFlags(), 0);
            if (Itemnumber1->isChecked())
                text += index.data(Qt::DisplayRole).toString().toUtf8();
            row.Text = DecodeUtf8(text, MaxNodeText);
            row.Bold = node->IsPrimary();
            return true;
        },
        TreeTabColumn, TreeView1));
    // The page and zoom boxes show the empty document as New leaves them.
    ShowPage(0);
    SetCaption();
    WatchDevices();
    ProbePorts();
    RebuildDataTree();
    ApplyCaptions(this);
    SetCaption();
}

TForm3::~TForm3()
{
    // A running transfer hands its banks to this window's data: stop it and
    // let its completion run before they go.
    if (m_thread)
        m_thread->Terminate();
    while (m_transferRunning && m_thread)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TForm3::BuildMenus()
{
    auto action = [this](QMenu* menu, const char* name, int tag, const QString& text, auto slot,
                         QKeySequence shortcut = {}) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        if (tag)
            SetTag(a, tag);
        a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, slot);
        if (menu)
            menu->addAction(a);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    SetTag(file, StringId::FileMenu);
    New1 = action(file, "New1", StringId::NewForm, "New", &TForm3::New1Click, QKeySequence(QStringLiteral("Ctrl+N")));
    Open1 = action(file, "Open1", StringId::Open, "Open ...", &TForm3::Open1Click,
                   QKeySequence(QStringLiteral("Ctrl+O")));
    Append1 = action(file, "Append1", StringId::Append, "Append ...", &TForm3::Append1Click);
    Save1 = action(file, "Save1", StringId::Save, "Save", &TForm3::Save1Click, QKeySequence(QStringLiteral("Ctrl+S")));
    SaveAs1 = action(file, "SaveAs1", StringId::SaveAs, "Save As ...", &TForm3::SaveAs1Click);
    ExportasXML1 = action(file, "ExportasXML1", StringId::SaveAsXml, "Export as XML", &TForm3::ExportasXML1Click);
    Opendata1 = action(file, "Opendata1", StringId::OpenData, "Open data ...", &TForm3::Opendata1Click);
    SaveDataAs1 = action(file, "SaveDataAs1", StringId::SaveDataAs, "Save Data As ...", &TForm3::SaveDataAs1Click);
    Appenddata1 = action(file, "Appenddata1", StringId::AppendData, "Append data ...", &TForm3::Appenddata1Click);
    Print1 = action(file, "Print1", StringId::PrintMenu, "Print ...",
                    [this] { if (m_hooks.Print) m_hooks.Print(Form()); },
                    QKeySequence(QStringLiteral("Ctrl+P")));
    MultiformPrint1 = action(file, "MultiformPrint1", StringId::MultiformPrint, "Multiform Print ...",
                             [this] { if (m_hooks.MultiPrint) m_hooks.MultiPrint(); });
    Exit1 = action(file, "Exit1", StringId::Exit, "Exit", &TForm3::Exit1Click);

    QMenu* instrument = menuBar()->addMenu(QStringLiteral("Instrument"));
    SetTag(instrument, StringId::InstrumentMenu);
    Transfer1 = action(instrument, "Transfer1", StringId::StartTransfer, "Transfer", &TForm3::Transfer1Click);
    Setup1 = action(instrument, "Setup1", StringId::Setup, "Setup", &TForm3::Setup1Click);
    TransferdatafromKx31011 = action(instrument, "TransferdatafromKx31011", StringId::StartOldTransfer,
                                     "Start transfer Kx310.1", &TForm3::TransferdatafromKx31011Click);
    Info1 = action(nullptr, "Info1", 0, "Info", &TForm3::Info1Click);

    QMenu* zoom = menuBar()->addMenu(QStringLiteral("Zoom"));
    SetTag(zoom, StringId::ZoomMenu);
    Zoomin1 = action(zoom, "Zoomin1", StringId::ZoomIn, "Zoom in", &TForm3::Zoomin1Click);
    Zoomout1 = action(zoom, "Zoomout1", StringId::ZoomOut, "Zoom out", &TForm3::Zoomout1Click);
    Wholepage1 = action(zoom, "Wholepage1", StringId::WholePage, "Whole page", &TForm3::Wholepage1Click);

    QMenu* page = menuBar()->addMenu(QStringLiteral("Page"));
    SetTag(page, StringId::PageMenu);
    First1 = action(page, "First1", StringId::FirstPage, "First", &TForm3::First1Click);
    Previous1 = action(page, "Previous1", StringId::PreviousPage, "Previous", &TForm3::Previous1Click);
    Next1 = action(page, "Next1", StringId::NextPage, "Next", &TForm3::Next1Click);
    Last1 = action(page, "Last1", StringId::LastPage, "Last", &TForm3::Last1Click);
    Delete1 = action(page, "Delete1", StringId::Remove, "Delete", &TForm3::Delete1Click);

    Barcode1 = action(nullptr, "Barcode1", StringId::Barcode, "Barcode", &TForm3::Barcode1Click);
    menuBar()->addAction(Barcode1);
    Settings1 = action(nullptr, "Settings1", StringId::Settings, "Settings",
                       [this] { if (m_hooks.ShowSettings) m_hooks.ShowSettings(); });
    menuBar()->addAction(Settings1);
    QMenu* window = menuBar()->addMenu(QStringLiteral("Window"));
    SetTag(window, StringId::WindowMenu);
    Templatedesigner1 = action(window, "Templatedesigner1", StringId::TemplateDesigner, "Template designer",
                               [this] { if (m_hooks.ShowDesigner) m_hooks.ShowDesigner(); });
    Revisionlist1 = action(window, "Revisionlist1", StringId::RevisionList, "Revision list",
                           [this] { if (m_hooks.ShowRevisionList) m_hooks.ShowRevisionList(); });

    // The tree's popup menu: display options and data commands.
    auto check = [this](const char* name, int tag, const QString& text) {
        QAction* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        SetTag(a, tag);
        a->setCheckable(true);
        a->setChecked(true);
        connect(a, &QAction::toggled, TreeView1->viewport(), qOverload<>(&QWidget::update));
        return a;
    };
    Name1 = check("Name1", StringId::ItemName, "Name");
    Unit1 = check("Unit1", StringId::ItemUnit, "Unit");
    Note1 = check("Note1", StringId::ItemNote, "Note");
    Itemnumber1 = check("Itemnumber1", StringId::AddressNumber, "Address number");
    Deletealldata1 = action(nullptr, "Deletealldata1", StringId::DeleteAll, "Delete all", &TForm3::Deletealldata1Click);
    Sort1 = action(nullptr, "Sort1", StringId::SortTransferredData, "Sort transfered data", &TForm3::Sort1Click);
    Fill1 = action(nullptr, "Fill1", StringId::FillButton, "Fill", &TForm3::Fill1Click);
    TreeView1->setContextMenuPolicy(Qt::ActionsContextMenu);
    TreeView1->addActions({Name1, Unit1, Note1, Itemnumber1, Deletealldata1, Sort1});

    PopupMenu1 = new QMenu(this);
    Removedatafromfield1 = action(PopupMenu1, "Removedatafromfield1", StringId::RemoveDataFromField,
                                  "Remove data from field", &TForm3::Removedatafromfield1Click);
    Removedatafromgroup1 = action(PopupMenu1, "Removedatafromgroup1", StringId::RemoveDataFromGroup,
                                  "Remove data from group", &TForm3::Removedatafromgroup1Click);
    Removedatafrompage1 = action(PopupMenu1, "Removedatafrompage1", StringId::RemoveDataFromPage,
                                 "Remove data from page", &TForm3::Removedatafrompage1Click);

    QToolBar* transfer = addToolBar(QStringLiteral("Transfer"));
    transfer->addActions({Transfer1, Setup1, Info1, Opendata1, Appenddata1, SaveDataAs1, Removedatafrompage1, Fill1,
                          Deletealldata1});
    ComboBox2 = new QComboBox(transfer);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    transfer->addWidget(ComboBox2);
    connect(ComboBox2, &QComboBox::activated, this, &TForm3::ComboBox2Change);

    QToolBar* files = addToolBar(QStringLiteral("File"));
    files->addActions({New1, Open1, Append1, Save1, Print1, Revisionlist1, Templatedesigner1});

    // The finding, zoom and page bars go on a row of their own: behind the
    // file bars they would end up in the overflow menu on common screens.
    addToolBarBreak();
    QToolBar* find = addToolBar(QStringLiteral("Find ID"));
    Edit7 = new QLineEdit(find);
    Edit7->setObjectName(QStringLiteral("Edit7"));
    find->addWidget(Edit7);
    FindId1 = action(nullptr, "FindId1", StringId::Find, "Find", &TForm3::FindIdClick);
    find->addAction(FindId1);
    connect(Edit7, &QLineEdit::returnPressed, this, &TForm3::FindIdClick);

    QToolBar* scale = addToolBar(QStringLiteral("Scale"));
    scale->addActions({Zoomin1, Zoomout1, Wholepage1});
    ComboBox4 = new QComboBox(scale);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setEditable(true);
    // A typed zoom is applied, not collected into the list.
    ComboBox4->setInsertPolicy(QComboBox::NoInsert);
    for (int z : ZoomChoices)
        ComboBox4->addItem(QStringLiteral("%1 %").arg(z));
    scale->addWidget(ComboBox4);
    connect(ComboBox4, &QComboBox::activated, this, &TForm3::ComboBox4Change);
    connect(ComboBox4->lineEdit(), &QLineEdit::returnPressed, this, &TForm3::ComboBox4Change);

    QToolBar* pages = addToolBar(QStringLiteral("Page"));
    pages->addActions({First1, Previous1, Next1, Last1});
    Edit1 = new QLineEdit(pages);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // The last box of a tool bar row would be stretched across the rest of it.
    const QFontMetrics digits = Edit1->fontMetrics();
    Edit1->setFixedWidth(Edit1->sizeHint().width()
                         - digits.horizontalAdvance(u'x') * LineEditHintCharacters
                         + digits.horizontalAdvance(QString(PageBoxDigits, u'9')));
    pages->addWidget(Edit1);
    connect(Edit1, &QLineEdit::returnPressed, this, &TForm3::Edit1Enter);

    SetThemeIcons(*this, ToolBarIcons);
}

void TForm3::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
    if (!m_hooks.EditText)
        m_hooks.EditText = [this](QString& text) {
            TTextSetup1 dialog(this);
            dialog.SetStyledText(text);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            text = dialog.GetStyledText();
            return true;
        };
    if (!m_hooks.Print)
        m_hooks.Print = [this](QuillfenTransferForm& form) {
            int first = 0;
            int last = 0;
            if (!Printers().ExecPrintDialog(this, m_document->FileName(), 1, form.GetPageCount(),
                                            first, last))
                return;
            if (first == 0 && last == 0) {
                first = 1;
                last = form.GetPageCount();
            }
            TForm5 dialog(this);
            dialog.ApplyLanguage();
            dialog.PrintDocument(form, first, last);
        };
    if (!m_hooks.MultiPrint)
        m_hooks.MultiPrint = [this] {
            TForm5 printDialog(this);
            printDialog.ApplyLanguage();
            TForm6 files(printDialog, this);
            files.exec();
        };
    if (!m_hooks.ExecDrag)
        m_hooks.ExecDrag = [](QDrag& drag) { return drag.exec(Qt::CopyAction | Qt::MoveAction); };
    FillRecordHook();
}

void TForm3::FillRecordHook()
{
    m_document->SetRecordFilling(
        LookupFilling(m_hooks.Records, [this] { return m_hooks.AutoFill && m_hooks.AutoFill(); }));
}

void TForm3::SetCaption()
{
    const QString title = Str(StringId::DataProcessing);
    setWindowTitle(m_document->FileName().isEmpty() ? title : title + QStringLiteral(" - ") + m_document->FileName());
}

void TForm3::Repaint()
{
    Edit1->setText(QString::number(Form().GetCurrentPageIndex() + 1));
    ComboBox4->setEditText(QStringLiteral("%1 %").arg(Form().GetZoom().GetZoom()));
    PaintBox1->update();
}

void TForm3::ShowPage(int index)
{
    ForgetDrag();
    Form().SelectPage(index);
    Repaint();
}

void TForm3::SetZoom(int32_t zoom)
{
    Form().GetZoom().SetZoom(zoom);
    Repaint();
}

int TForm3::Ask(int textId, bool withCancel)
{
    return Dialogs().MessageBox(Str(textId), Str(StringId::DataProcessing),
                                withCancel ? MsgButtons::YesNoCancel : MsgButtons::YesNo, MsgIcon::Question);
}

bool TForm3::Report(const FileOutcome& outcome)
{
    static const std::pair<FileOutcome::Kind, int> Messages[] = {
        {FileOutcome::CannotOpen, StringId::FileNotOpened},
        {FileOutcome::NotRegularFile, StringId::NotRegularFile},
        {FileOutcome::Damaged, StringId::FileDamaged},
        {FileOutcome::WriteFailed, StringId::FileNotSaved},
        {FileOutcome::NotQuillfen, StringId::NotQuillfenDocument},
    };
    for (const auto& [kind, id] : Messages) {
        if (outcome.Result == kind) {
            QString text = Str(id);
            if (!outcome.Detail.isEmpty())
                text += QStringLiteral("\n\n") + outcome.Detail;
            Dialogs().MessageBox(text, Str(StringId::DataProcessing), MsgButtons::Ok, MsgIcon::Error);
        }
    }
    return outcome.Ok();
}

QString TForm3::OpenDialog()
{
    return Dialogs().GetOpenFileName(windowTitle(), QString(), OpenFilter);
}

// --- Close, hide, new ------------------------------------------------------------

bool TForm3::FormCloseQuery()
{
    if (!Form().IsModified())
        return true;
    switch (Ask(StringId::SaveQuestion, true)) {
    case IDYES:
        return SaveDocument();
    case IDNO:
        return true;
    default:
        return false;
    }
}

void TForm3::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TForm3::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (event->spontaneous())
        return;
    ForgetDrag();
    m_document->Discard();
    TreeView1->clear();
    SetCaption();
    // Shown again, the boxes show the new empty document.
    ShowPage(0);
}

void TForm3::New1Click()
{
    if (!FormCloseQuery())
        return;
    ForgetDrag();
    m_document->NewDocument();
    SetCaption();
    RebuildDataTree();
    ShowPage(0);
}

void TForm3::Exit1Click()
{
    // The close box's path: a modified document is asked about before the
    // hide empties it and both data sets.
    close();
}

// --- Saving and opening ------------------------------------------------------------

bool TForm3::SaveDocument()
{
    QString path = m_document->FileName();
    if (path.isEmpty()) {
        path = Dialogs().GetSaveFileName(windowTitle(), QString(), ProductFilter, DocumentSuffix);
        if (path.isEmpty())
            return false;
    }
    const bool saved = Report(m_document->SaveDocument(path, m_hooks.Backup && m_hooks.Backup()));
    SetCaption();
    return saved;
}

void TForm3::Save1Click()
{
    SaveDocument();
}

void TForm3::SaveAs1Click()
{
    const QString kept = m_document->FileName();
    m_document->SetFileName(QString());
    if (!SaveDocument())
        m_document->SetFileName(kept);
    SetCaption();
}

void TForm3::LoadDocument(const QString& path)
{
    ForgetDrag();
    Report(m_document->LoadDocument(path));
    SetCaption();
    RebuildDataTree();
    ShowPage(Form().GetCurrentPageIndex());
}

void TForm3::OpenFile(const QString& path, int page)
{
    if (!FormCloseQuery())
        return;
    LoadDocument(path);
    ShowPage(page);
}

void TForm3::Open1Click()
{
    if (!FormCloseQuery())
        return;
    const QString path = OpenDialog();
    if (!path.isEmpty())
        LoadDocument(path);
}

void TForm3::Append1Click()
{
    const QString path = OpenDialog();
    if (path.isEmpty())
        return;
    Report(m_document->AppendDocument(path));
    Repaint();
}

void TForm3::Opendata1Click()
{
    const QString path = OpenDialog();
    if (!path.isEmpty() && Report(m_document->OpenData(path, false)))
        RebuildDataTree();
}

void TForm3::Appenddata1Click()
{
    const QString path = OpenDialog();
    if (!path.isEmpty() && Report(m_document->OpenData(path, true)))
        RebuildDataTree();
}

void TForm3::SaveDataAs1Click()
{
    int entry = 1;
    // Only the data document's entry lists the suffix: HTML names stay as typed.
    const QString path = Dialogs().GetSaveFileNameAndFilter(windowTitle(), QString(), DataFilter,
                                                            DocumentSuffix, entry);
    if (path.isEmpty())
        return;
    Report(m_document->SaveDataAs(path, static_cast<TransferDocument::DataFormat>(std::clamp(entry, 1, 3))));
}

void TForm3::ExportasXML1Click()
{
    const QString path = Dialogs().GetSaveFileName(windowTitle(), QString(),
                                                    Str(StringId::XmlFileFilter), XmlSuffix);
    if (!path.isEmpty())
        Report(m_document->ExportXml(path));
}

// --- Ports and transfers ---------------------------------------------------------

void TForm3::ProbePorts()
{
    const QStringList names = SerialPortNames();
    for (int i = 0; i < names.size(); ++i)
        if (ComboBox2->findText(names[i]) < 0 && ProbeSerialPort(names[i]))
            ComboBox2->addItem(names[i], i);
    ComboBox2->setCurrentIndex(ComboBox2->count() > 0 ? 0 : -1);
    try {
        TRegistry registry;
        if (registry.OpenKey(RegistryKey, true)) {
            const int stored = registry.ReadInteger(ComPortValue);
            if (stored >= 0 && stored < names.size() && ComboBox2->findText(names[stored]) >= 0)
                ComboBox2->setCurrentIndex(ComboBox2->findText(names[stored]));
        }
    } catch (const ERegistryException&) {
        // A missing value keeps the first port.
    }
}

void TForm3::WatchDevices()
{
    m_deviceSettle = new QTimer(this);
    m_deviceSettle->setSingleShot(true);
    m_deviceSettle->setInterval(DeviceSettleMilliseconds);
    connect(m_deviceSettle, &QTimer::timeout, this, &TForm3::ProbePorts);
    m_deviceWatcher = new QFileSystemWatcher(this);
    connect(m_deviceWatcher, &QFileSystemWatcher::directoryChanged, this, &TForm3::DevicesChanged);
    for (const QString& folder : DeviceFolders)
        if (QFileInfo(folder).isDir())
            m_deviceWatcher->addPath(folder);
}

void TForm3::DevicesChanged()
{
    // The serial folder comes and goes with the first adapter plugged in.
    for (const QString& folder : DeviceFolders)
        if (!m_deviceWatcher->directories().contains(folder) && QFileInfo(folder).isDir())
            m_deviceWatcher->addPath(folder);
    m_deviceSettle->start();
}

void TForm3::ComboBox2Change()
{
    try {
        TRegistry registry;
        if (registry.OpenKey(RegistryKey, true))
            registry.WriteInteger(ComPortValue, ComboBox2->currentIndex() >= 0 ? ComboBox2->currentData().toInt() : 0);
    } catch (const ERegistryException&) {
    }
}

bool TForm3::InstrumentBusy() const
{
    return UsesInstrument() || (m_hooks.UploadRunning && m_hooks.UploadRunning());
}

void TForm3::UpdateTransferCommands()
{
    const bool enabled = !InstrumentBusy();
    Transfer1->setEnabled(enabled);
    Setup1->setEnabled(enabled);
    TransferdatafromKx31011->setEnabled(enabled);
    if (m_hooks.EnableUpload)
        m_hooks.EnableUpload(enabled);
}

void TForm3::Transfer1Click()
{
    if (ComboBox2->count() == 0) {
        Dialogs().MessageBox(Str(StringId::NoFreeSerialPort), Str(StringId::DataProcessing), MsgButtons::Ok,
                             MsgIcon::Information);
        return;
    }
    if (ComboBox2->currentIndex() < 0 || InstrumentBusy())
        return;
    m_transferRunning = true;
    UpdateTransferCommands();
    TreeView1->clear();
    auto* thread = new InstrumentTransferWindowThread(ComboBox2->currentText());
    thread->SetGroupSameNumber(m_hooks.GroupSameNumber && m_hooks.GroupSameNumber() ? 1 : 0);
    m_thread = thread;
    // The set lives as long as the window, so the completion can always append to it.
    thread->StartReadData(&m_document->Transfered(), [this](TransferResult) {
        m_transferRunning = false;
        RebuildDataTree();
    });
    Form().SetModified();
}

void TForm3::Setup1Click()
{
    if (InstrumentBusy())
        return;
    m_setupOpen = true;
    UpdateTransferCommands();
    if (ComboBox2->currentIndex() >= 0) {
        TForm12 dialog(this);
        dialog.Run(ComboBox2->currentText());
    }
    m_setupOpen = false;
    UpdateTransferCommands();
}

void TForm3::TransferdatafromKx31011Click()
{
    if (ComboBox2->currentIndex() < 0 || InstrumentBusy())
        return;
    m_transferRunning = true;
    UpdateTransferCommands();
    TreeView1->clear();
    auto* thread = new Kx310Old(ComboBox2->currentText());
    m_thread = thread;
    thread->Start(&m_document->Transfered(), [this](TransferResult) {
        m_transferRunning = false;
        RebuildDataTree();
    });
}

void TForm3::Info1Click()
{
    Dialogs().MessageBox(Str(StringId::VersionText), Str(StringId::DataProcessing), MsgButtons::Ok,
                         MsgIcon::Information);
}

// --- The data tree -----------------------------------------------------------------

int TForm3::DisplayFlags() const
{
    return (Name1->isChecked() ? 1 : 0) | (Unit1->isChecked() ? 2 : 0) | (Note1->isChecked() ? 4 : 0);
}

void TForm3::ApplyLanguage()
{
    ApplyCaptions(this);
    SetCaption();
    for (int i = 0; i < TreeView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem* root = TreeView1->topLevelItem(i);
        root->setText(0, Str(root->data(0, RootCaptionRole).toInt()));
    }
}

void TForm3::RebuildDataTree()
{
    TreeView1->clear();
    const std::pair<int, InstrumentData*> roots[] = {{StringId::Saved, &m_document->Saved()},
                                                     {StringId::Transferred, &m_document->Transfered()}};
    for (const auto& [textId, data] : roots) {
        auto* root = new QTreeWidgetItem(TreeView1, {Str(textId)});
        root->setData(0, RootCaptionRole, textId);
        for (int b = 0; b < data->GetCount(); ++b) {
            InstrumentBank* bank = data->GetBank(b);
            auto* bankNode = new QTreeWidgetItem(root, {QStringLiteral(" ")});
            bankNode->setData(0, NodeRole, QVariant::fromValue(quintptr(static_cast<InstrumentAbstract*>(bank))));
            int primary = 0;
            for (int i = 0; i < bank->GetCount(); ++i) {
                InstrumentItem* item = bank->GetItem(i);
                const QString text = item->IsPrimary() ? QStringLiteral(" [%1]").arg(++primary) : QStringLiteral(" ");
                auto* itemNode = new QTreeWidgetItem(bankNode, {text});
                itemNode->setData(0, NodeRole, QVariant::fromValue(quintptr(static_cast<InstrumentAbstract*>(item))));
            }
        }
        root->setExpanded(true);
    }
    UpdateTransferCommands();
}

void TForm3::TreeView1MouseDown(QTreeWidgetItem* item)
{
    ForgetDrag();
    const InstrumentAbstract* node = NodeData(item);
    if (!node)
        return;
    m_dragged = node->Clone();
    m_dragSource = nullptr;
    TreeView1->setCurrentItem(item);
}

void TForm3::TreeView1KeyDown(int key)
{
    if (key != Qt::Key_Delete)
        return;
    QTreeWidgetItem* item = TreeView1->currentItem();
    const InstrumentAbstract* node = NodeData(item);
    if (!node)
        return;
    if (!m_document->Saved().Remove(node))
        m_document->Transfered().Remove(node);
    delete item;
}

void TForm3::Deletealldata1Click()
{
    if (Ask(StringId::DeleteAllQuestion, false) != IDYES)
        return;
    TreeView1->clear();
    m_document->Saved().Clear();
    m_document->Transfered().Clear();
}

void TForm3::Sort1Click()
{
    m_document->Transfered().SortBanks();
    RebuildDataTree();
}

void TForm3::Fill1Click()
{
    if (const auto* bank = dynamic_cast<const InstrumentBank*>(NodeData(TreeView1->currentItem()))) {
        Form().FillNextGroup(*bank);
        Repaint();
    }
}

// --- Pages and zoom ----------------------------------------------------------------

void TForm3::First1Click() { ShowPage(0); }
void TForm3::Previous1Click() { ShowPage(Form().GetCurrentPageIndex() - 1); }
void TForm3::Next1Click() { ShowPage(Form().GetCurrentPageIndex() + 1); }
void TForm3::Last1Click() { ShowPage(Form().GetPageCount() - 1); }

void TForm3::Edit1Enter()
{
    ShowPage(Edit1->text().trimmed().toInt() - 1);
}

void TForm3::Delete1Click()
{
    if (Ask(StringId::DeletePageQuestion, false) != IDYES)
        return;
    ForgetDrag();
    m_document->DeleteCurrentPage();
    Repaint();
}

void TForm3::Zoomin1Click() { SetZoom(ZoomSteps::ZoomIn(Form().GetZoom().GetZoom())); }
void TForm3::Zoomout1Click() { SetZoom(ZoomSteps::ZoomOut(Form().GetZoom().GetZoom())); }

void TForm3::Wholepage1Click()
{
    SetZoom(ZoomSteps::WholePage(ScrollBox1->viewport()->height(), Form().GetHeight(), Form().GetZoom().GetZoom()));
}

void TForm3::ComboBox4Change()
{
    SetZoom(ZoomSteps::FromText(ComboBox4->currentText()));
}

void TForm3::FindIdClick()
{
    ForgetDrag();
    Form().FindId(Edit7->text());
    Repaint();
}

// --- Barcode labels ------------------------------------------------------------------

void TForm3::Barcode1Click()
{
    if (!m_hooks.BarcodeWizard)
        return;
    // The sheet is rebuilt from its labels: no field picked up before stays.
    ForgetDrag();
    if (!Form().IsLabelSheet()) {
        if (!FormCloseQuery())
            return;
        m_document->StartLabelSheet();
        SetCaption();
        RebuildDataTree();
    }
    std::unique_ptr<AbstractFormObject> temporary;
    const AbstractFormObject* labelTemplate = Form().GetPage(0) ? Form().GetPage(0)->GetObject(0) : nullptr;
    if (!labelTemplate) {
        auto barcode = std::make_unique<BarcodeObject>();
        barcode->SetRect(0, 0, 100, 100);
        barcode->SetType(1);
        barcode->SetText(QStringLiteral("1234"));
        temporary = std::move(barcode);
        labelTemplate = temporary.get();
    }
    // The template is cloned before the sheet is rebuilt: it may be a label of the sheet.
    std::unique_ptr<AbstractFormObject> copy = labelTemplate->Clone();
    std::vector<LabelNumber>& numbers = m_document->LabelNumbers();
    QuillfenTransferForm::TakeBarcodeTexts(numbers);
    if (const std::optional<LabelSheetLayout> layout = m_hooks.BarcodeWizard(Form(), numbers, copy)) {
        Form().BuildLabelSheet(*layout, numbers, *copy);
        Form().SetModified();
    }
    Repaint();
}

// --- The canvas ---------------------------------------------------------------------

void TForm3::PaintBox1MouseDown(Qt::MouseButton button, QPoint point, bool doubleClick)
{
    // Only a press on a filled measure field picks a value up; any other
    // press lets go of one picked up before.
    ForgetDrag();
    if (button == Qt::RightButton) {
        m_popupPoint = point;
        PopupMenu1->popup(PaintBox1->mapToGlobal(point));
        return;
    }
    m_dragStart = point;
    AbstractFormObject* field = Form().FieldAt(point.x(), point.y());
    auto* text = dynamic_cast<TextObject*>(field);
    if (field && doubleClick) {
        if (text && text->GetType() != TextObject::FixedText && m_hooks.EditText) {
            QString edited = text->GetText();
            if (m_hooks.EditText(edited)) {
                if (text->GetType() == QuillfenTransferForm::IdType)
                    if (auto* group = dynamic_cast<GroupObject*>(Form().ChildAt(point.x(), point.y())))
                        Form().FillFromRecord(edited, *group);
                Form().SetModified();
                text->SetText(edited);
            }
        }
    } else if (field && field->GetTypeCode() != ObjectCode::Measure) {
        field->Activate();
    } else if (field) {
        if (const InstrumentItem* value = static_cast<MeasureObject*>(field)->GetValue()) {
            m_dragged = value->Clone();
            m_dragSource = field;
        }
    }
    Repaint();
    ScrollBox1->setFocus();
}

bool TForm3::PaintBox1DragOver(QPoint point) const
{
    const AbstractFormObject* field = m_document->Form().FieldAt(point.x(), point.y());
    return !field || field->IsFillable();
}

void TForm3::PaintBox1DragDrop(QPoint point)
{
    if (m_dragSource) {
        static_cast<MeasureObject*>(m_dragSource)->SetValue(nullptr);
        m_dragSource = nullptr;
    }
    Form().DropData(m_dragged.get(), point.x(), point.y());
    ForgetDrag();
    Repaint();
}

void TForm3::PaintBox1MouseUp()
{
    // Released where it was pressed, without a drag.
    ForgetDrag();
}

void TForm3::StartDrag(QWidget* source)
{
    QPointer<QDrag> drag = new QDrag(source);
    auto* mime = new QMimeData;
    mime->setData(DragMime, QByteArray());
    drag->setMimeData(mime);
    m_hooks.ExecDrag(*drag);
    // Dropped or cancelled, the drag is over: its value must not reach a later one.
    ForgetDrag();
    if (drag)
        drag->deleteLater();
}

void TForm3::ForgetDrag()
{
    m_dragged.reset();
    m_dragSource = nullptr;
}

void TForm3::Removedatafromfield1Click()
{
    Form().RemoveDataFromFieldAt(m_popupPoint.x(), m_popupPoint.y());
    Repaint();
}

void TForm3::Removedatafromgroup1Click()
{
    Form().RemoveDataFromGroupAt(m_popupPoint.x(), m_popupPoint.y());
    Repaint();
}

void TForm3::Removedatafrompage1Click()
{
    Form().RemoveDataFromPage();
    Repaint();
}

// --- Keys, wheel and the tree's mouse -------------------------------------------------

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeView1->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        ForgetDrag();
        if (mouse->button() == Qt::LeftButton) {
            m_dragStart = mouse->position().toPoint();
            TreeView1MouseDown(TreeView1->itemAt(m_dragStart));
        }
    } else if (watched == TreeView1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        ForgetDrag();
    } else if ((watched == TreeView1->viewport() || watched == PaintBox1) && event->type() == QEvent::MouseMove) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragged && (mouse->buttons() & Qt::LeftButton)
            && (mouse->position().toPoint() - m_dragStart).manhattanLength() >= DragDistance) {
            StartDrag(static_cast<QWidget*>(watched));
            return true;
        }
    } else if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
        TreeView1KeyDown(static_cast<QKeyEvent*>(event)->key());
    } else if (event->type() == QEvent::Wheel && ScrollBox1
               && (watched == ScrollBox1 || watched == ScrollBox1->viewport())) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    } else if (watched == ScrollBox1 && event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    static const std::pair<int, void (TForm3::*)()> PageKeys[] = {
        {Qt::Key_PageUp, &TForm3::Previous1Click},
        {Qt::Key_PageDown, &TForm3::Next1Click},
        {Qt::Key_End, &TForm3::Last1Click},
        {Qt::Key_Home, &TForm3::First1Click},
    };
    for (const auto& [key, command] : PageKeys) {
        if (event->key() == key) {
            (this->*command)();
            return;
        }
    }
    if (!event->text().isEmpty() && m_demoKeys.Type(event->text().at(0))) {
        DemonstrationKeys::AddBanks(m_document->Transfered());
        RebuildDataTree();
    }
}

void TForm3::wheelEvent(QWheelEvent* event)
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    const int before = bar->value();
    const int current = Form().GetCurrentPageIndex();
    if (event->angleDelta().y() < 0) {
        bar->setValue(before + WheelStep);
        if (bar->value() == before && current < Form().GetPageCount() - 1) {
            ShowPage(current + 1);
            bar->setValue(0);
        }
    } else if (event->angleDelta().y() > 0) {
        bar->setValue(before - WheelStep);
        if (bar->value() == 0 && current > 0) {
            ShowPage(current - 1);
            bar->setValue(bar->maximum());
        }
    }
    event->accept();
}
