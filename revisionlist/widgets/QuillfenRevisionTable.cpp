#include "revisionlist/widgets/QuillfenRevisionTable.h"

#include "documents/widgets/Printers.h"
#include "instruments/InstrumentDatabase.h"
#include "instruments/InstrumentTransferWindow.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/DateTime.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/ThemeIcons.h"
#include "revisionlist/AnsiText.h"
#include "revisionlist/QuillfenRevisionTableThread.h"
#include "revisionlist/RevisionTableModel.h"
#include "revisionlist/widgets/PrintListThread.h"
#include "revisionlist/widgets/RevisionDateFilter.h"
#include "revisionlist/widgets/RevisionFilter.h"
#include "revisionlist/widgets/RevisionSetup.h"
#include "storage/File.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

#include <set>

namespace {
constexpr char VersionCaption[] = "Quillfen";
constexpr char ListFilter[] = "Quillfen (*.qfs *.qft *.qfd *.qff)";
constexpr char ListSaveFilter[] = "Quillfen (*.qfs)";
constexpr char TextFilter[] = "Text (*.txt)";
constexpr char ListSuffix[] = "qfs";
constexpr char XmlSuffix[] = "xml";
constexpr char TextSuffix[] = "txt";
constexpr int RowNumberWidth = 50;
constexpr int DefaultRowHeight = 20;
// The caption of the sort column starts after its sort mark.
constexpr int SortMarkIndent = 17;
constexpr int SortMarkLeft = 3;
constexpr int SortMarkSize = 13;
// The validity mark stands this far left of the row number cell's right edge.
constexpr int ValidityMarkInset = 16;
// Rows the window shows when it opens, where the screen has room for them.
constexpr int PreferredRows = 25;
constexpr int NextRevisionField = 3;
constexpr int NewFilesDays = 7;
constexpr int MaxPrintPage = 999;
// An ID of "0" marks a record that is not to go to the instrument.
constexpr char NotUploadedId[] = "0";

QString Str(int id)
{
    return MainLanguage.GetString(id);
}

// The captions carry the sort mark of the sort column, the row numbers the
// validity mark of their record's next revision.
class MarkHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

    // The width that shows the mark and the whole caption of `section` as
    // the sort column, its caption in bold as a selected column draws it.
    int SortSectionWidth(int section) const
    {
        QFont bold = font();
        bold.setBold(true);
        const QString caption = model()->headerData(section, orientation()).toString();
        return SortMarkIndent + QFontMetrics(bold).horizontalAdvance(caption)
               + style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    }

    // The width that shows the row number `number`, in bold as the current
    // row draws it, clear of the validity mark beside it.
    int RowNumberSectionWidth(int number) const
    {
        QFont bold = font();
        bold.setBold(true);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        return margin + QFontMetrics(bold).horizontalAdvance(QString::number(number)) + margin
               + ValidityMarkInset;
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override
    {
        const int top = rect.top() + (rect.height() - SortMarkSize) / 2;
        const QVariant sortMark =
            model() && orientation() == Qt::Horizontal
                ? model()->headerData(section, Qt::Horizontal, RevisionTableModel::SortMarkRole)
                : QVariant();
        painter->save();
        if (sortMark.isValid() && sortMark.toInt() != RevisionTableModel::NoMark)
            PaintIndentedSection(painter, rect, section);
        else
            QHeaderView::paintSection(painter, rect, section);
        painter->restore();
        if (!model())
            return;
        if (orientation() == Qt::Horizontal) {
            if (!sortMark.isValid() || sortMark.toInt() == RevisionTableModel::NoMark)
                return;
            const QRect box(rect.left() + SortMarkLeft, top, SortMarkSize, SortMarkSize);
            QPolygon triangle;
            if (sortMark.toInt() == RevisionTableModel::Ascending)
                triangle << QPoint(box.center().x(), box.top()) << box.bottomLeft() << box.bottomRight();
            else
                triangle << box.topLeft() << box.topRight() << QPoint(box.center().x(), box.bottom());
            painter->setBrush(Qt::darkGray);
            painter->setPen(Qt::NoPen);
            painter->drawPolygon(triangle);
            return;
        }
        const int mark = model()->headerData(section, Qt::Vertical, RevisionTableModel::ValidityRole).toInt();
        if (mark == RevisionTableModel::NoMark)
            return;
        painter->setBrush(mark == RevisionTableModel::Expired ? Qt::red : Qt::darkGreen);
        painter->setPen(Qt::NoPen);
        painter->drawEllipse(
            QRect(rect.right() - ValidityMarkInset, top, SortMarkSize, SortMarkSize));
    }

private:
    // The section as the style draws it, its caption moved right to leave
    // room for the sort mark.
    void PaintIndentedSection(QPainter* painter, const QRect& rect, int section) const
    {
        QStyleOptionHeader option;
        initStyleOption(&option);
        initStyleOptionForIndex(&option, section);
        option.rect = rect;
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        QStyleOptionHeader caption = option;
        caption.rect = rect.adjusted(SortMarkIndent, 0, 0, 0);
        caption.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        style()->drawControl(QStyle::CE_HeaderLabel, &caption, painter, this);
    }
};

// Cells show one line: line breaks inside a field are shown as spaces, so
// that a long name is cut at the cell's end instead of wrapping onto a
// second line the row has no room for.
class SingleLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        QString text = QStyledItemDelegate::displayText(value, locale);
        for (QChar& c : text)
            if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator)
                c = u' ';
        return text;
    }
};

// The icon bar's pictures: freedesktop icon names of the commands.
const ThemeIconOf<TForm7> ToolBarIcons[] = {
    {&TForm7::New1, "document-new"},        {&TForm7::Open1, "document-open"},
    {&TForm7::Save1, "document-save"},      {&TForm7::LoadRevisionList1, "view-refresh"},
    {&TForm7::Stop1, "process-stop"},       {&TForm7::Print1, "document-print"},
    {&TForm7::Upload1, "network-transmit"},
};

} // namespace

TForm7::TForm7(QWidget* parent)
    : QMainWindow(parent), m_upload(std::make_unique<InstrumentDatabase>())
{
    setObjectName(QStringLiteral("Form7"));
    SetTag(this, StringId::RevisionList);
    FitOnScreenWhenShown(this);
    m_model = new RevisionTableModel(this);
    m_setup = new TForm8(this);
    m_textFilter = new TForm13(this);
    m_dateFilter = new TForm15(this);

    DrawGrid1 = new QTableView(this);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->setHorizontalHeader(new MarkHeader(Qt::Horizontal, DrawGrid1));
    DrawGrid1->setVerticalHeader(new MarkHeader(Qt::Vertical, DrawGrid1));
    DrawGrid1->setModel(m_model);
    DrawGrid1->setWordWrap(false);
    DrawGrid1->setItemDelegate(new SingleLineDelegate(DrawGrid1));
    DrawGrid1->verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    DrawGrid1->verticalHeader()->setFixedWidth(RowNumberWidth);
    DrawGrid1->horizontalHeader()->setSectionsClickable(true);
    DrawGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    DrawGrid1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    DrawGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DrawGrid1->installEventFilter(this);
    setCentralWidget(DrawGrid1);

    connect(DrawGrid1->horizontalHeader(), &QHeaderView::sectionClicked, m_model,
            &RevisionTableModel::SortByColumnClick);
    connect(DrawGrid1->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, &TForm7::FilterByColumn);
    // Widths dragged by the user are saved with the list.
    connect(DrawGrid1->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int i, int, int width) {
        if (RevisionTableColumn* column = m_model->VisibleColumn(i))
            column->SetWidth(width);
    });
    connect(DrawGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { OpenRecord(index.row()); });
    connect(DrawGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        const QModelIndex index = DrawGrid1->indexAt(point);
        if (index.isValid())
            DrawGrid1->setCurrentIndex(index);
        PopupMenu1->popup(DrawGrid1->viewport()->mapToGlobal(point));
    });
    // A right click on a caption selects that column and opens the pop-up menu.
    DrawGrid1->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DrawGrid1->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& point) {
                QHeaderView* header = DrawGrid1->horizontalHeader();
                const int column = header->logicalIndexAt(point);
                if (column < 0)
                    return;
                DrawGrid1->selectColumn(column);
                PopupMenu1->popup(header->mapToGlobal(point));
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, &TForm7::ShowGridFromList);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TForm7::FitRowNumbers);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TForm7::FitRowNumbers);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TForm7::FitRowNumbers);
    // A sort or a language changes the sort column's caption.
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &TForm7::FitSortColumn);

    StatusBar1 = new QLabel(this);
    statusBar()->addWidget(StatusBar1, 1);
    BuildMenus();
    m_model->ResetList();
    SetCaption();
    ApplyCaptions(this);
}

TForm7::~TForm7() = default;

QSize TForm7::sizeHint() const
{
    // Room for every visible column and a screenful of rows beside the row
    // numbers; the grid's own hint is a fixed small size.
    const QHeaderView* header = DrawGrid1->horizontalHeader();
    const int frame = 2 * DrawGrid1->frameWidth();
    const int scrollBar = DrawGrid1->verticalScrollBar()->sizeHint().width();
    const QSize grid(RowNumberWidth + header->length() + frame + scrollBar,
                     header->height() + PreferredRows * DefaultRowHeight + frame);
    return QMainWindow::sizeHint() + (grid - DrawGrid1->sizeHint()).expandedTo(QSize(0, 0));
}

void TForm7::BuildMenus()
{
    const auto action = [this](const char* name, int id, auto slot) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        SetTag(a, id);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    New1 = action("New1", StringId::New, &TForm7::New1Click);
    New1->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    Open1 = action("Open1", StringId::Open, &TForm7::Open1Click);
    Open1->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    Save1 = action("Save1", StringId::SaveList, &TForm7::Save1Click);
    SaveAs1 = action("SaveAs1", StringId::SaveAs, &TForm7::SaveAs1Click);
    LoadRevisionList1 =
        action("LoadRevisionList1", StringId::LoadRevisionList, &TForm7::LoadRevisionList1Click);
    LoadRevisionList1->setShortcut(QKeySequence(Qt::Key_F5));
    Setup1 = action("Setup1", StringId::Setup, &TForm7::Setup1Click);
    OpenText1 = action("OpenText1", StringId::OpenText, &TForm7::OpenText1Click);
    SaveText1 = action("SaveText1", StringId::SaveAsText, &TForm7::SaveText1Click);
    SaveXml1 = action("SaveXml1", StringId::SaveAsXml, &TForm7::SaveXml1Click);
    Print1 = action("Print1", StringId::PrintMenu, &TForm7::Print1Click);
    Print1->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    Exit1 = action("Exit1", StringId::Exit, &TForm7::Exit1Click);
    Transfer1 = action("Transfer1", StringId::DataProcessing, [this] {
        if (m_hooks.ShowDataProcessing)
            m_hooks.ShowDataProcessing();
    });
    Designer1 = action("Designer1", StringId::TemplateDesigner, [this] {
        if (m_hooks.ShowDesigner)
            m_hooks.ShowDesigner();
    });
    Settings1 = action("Settings1", StringId::Settings, [this] {
        if (m_hooks.ShowSettings)
            m_hooks.ShowSettings();
    });
    Version1 = action("Version1", StringId::VersionMenu, &TForm7::Version1Click);
    Stop1 = action("Stop1", StringId::Stop, &TForm7::Stop1Click);
    Stop1->setEnabled(false);
    Upload1 = action("Upload1", StringId::UploadButton, &TForm7::SpeedButton9Click);

    QMenu* file = menuBar()->addMenu(QString());
    SetTag(file, StringId::FileMenu);
    file->addActions({New1, Open1, Save1, SaveAs1});
    file->addSeparator();
    file->addActions({LoadRevisionList1, Setup1});
    file->addSeparator();
    file->addActions({OpenText1, SaveText1, SaveXml1});
    file->addSeparator();
    file->addAction(Print1);
    file->addSeparator();
    file->addAction(Exit1);
    menuBar()->addActions({Transfer1, Designer1, Settings1, Version1});

    ControlBar1 = addToolBar(QStringLiteral("ControlBar1"));
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    // The other windows' commands stand in the menu bar as well: the bar has twins of them.
    ControlBar1->addActions({New1, Open1, Save1, LoadRevisionList1, Stop1, Print1,
                             IconBarTwin(Transfer1, "x-office-document"),
                             IconBarTwin(Designer1, "document-page-setup"), Upload1});
    SetThemeIcons(*this, ToolBarIcons);
    SpeedButton4 = qobject_cast<QToolButton*>(ControlBar1->widgetForAction(LoadRevisionList1));
    SpeedButton5 = qobject_cast<QToolButton*>(ControlBar1->widgetForAction(Stop1));
    SpeedButton9 = qobject_cast<QToolButton*>(ControlBar1->widgetForAction(Upload1));

    PopupMenu1 = new QMenu(this);
    m_filters = new QActionGroup(this);
    m_filters->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const auto filter = [&](const char* name, int id, auto slot) {
        QAction* a = action(name, id, slot);
        a->setCheckable(true);
        m_filters->addAction(a);
        PopupMenu1->addAction(a);
        return a;
    };
    AllFiles1 = filter("AllFiles1", StringId::AllFiles, [this] { m_model->ShowAllRows(); });
    InvalidFiles1 = filter("InvalidFiles1", StringId::InvalidFiles, [this] { FilterByDays(0); });
    Week1 = filter("Week1", StringId::ValidWeek, [this] { FilterByDays(7); });
    TwoWeeks1 = filter("TwoWeeks1", StringId::ValidTwoWeeks, [this] { FilterByDays(14); });
    Month1 = filter("Month1", StringId::ValidMonth, [this] { FilterByDays(30); });
    TwoMonths1 = filter("TwoMonths1", StringId::ValidTwoMonths, [this] { FilterByDays(60); });
    ThreeMonths1 = filter("ThreeMonths1", StringId::ValidThreeMonths, [this] { FilterByDays(90); });
    NewFiles1 =
        filter("NewFiles1", StringId::NewFiles, [this] { m_model->FilterNewFiles(NewFilesDays); });
    AllFiles1->setChecked(true);
    PopupMenu1->addSeparator();
    DuplicateLine1 =
        action("DuplicateLine1", StringId::DuplicateLine, &TForm7::DuplicateLine1Click);
    PopupMenu1->addAction(DuplicateLine1);
}

void TForm7::SetIconBarVisible(bool visible)
{
    ControlBar1->setVisible(visible);
}

void TForm7::ApplyLanguage()
{
    ApplyCaptions(this);
    SetCaption();
    // The default column captions come from the language tables.
    m_model->CaptionsChanged();
}

void TForm7::SetCaption()
{
    const QString caption = Str(StringId::RevisionList);
    const QString name = m_model->FileName();
    setWindowTitle(name.isEmpty() ? caption : caption + QStringLiteral(" - ") + name);
}

void TForm7::ShowGridFromList()
{
    const auto& visible = m_model->List().VisibleColumns();
    for (int i = 0; i < static_cast<int>(visible.size()); ++i) {
        const QSignalBlocker block(DrawGrid1->horizontalHeader());
        DrawGrid1->setColumnWidth(i, visible[size_t(i)]->GetWidth());
    }
    FitSortColumn();
}

void TForm7::FitSortColumn()
{
    auto* header = static_cast<MarkHeader*>(DrawGrid1->horizontalHeader());
    const int column = m_model->SortColumn();
    if (column < 0 || column >= header->count())
        return;
    const int width = header->SortSectionWidth(column);
    // The column keeps the width it is shown with, as after a drag.
    if (header->sectionSize(column) < width)
        header->resizeSection(column, width);
}

void TForm7::FitRowNumbers()
{
    // The empty last line has the highest number.
    const auto* header = static_cast<MarkHeader*>(DrawGrid1->verticalHeader());
    DrawGrid1->verticalHeader()->setFixedWidth(
        std::max(RowNumberWidth, header->RowNumberSectionWidth(m_model->rowCount())));
}

QStringList TForm7::ListRowIds() const
{
    return m_model->RowIds();
}

const RevisionTableRow* TForm7::FindRowById(const QString& id) const
{
    return m_model->FindRowById(id);
}

int TForm7::Ask(int textId, bool withCancel)
{
    return Dialogs().MessageBox(Str(textId), Str(StringId::RevisionList),
                                withCancel ? MsgButtons::YesNoCancel : MsgButtons::YesNo,
                                MsgIcon::Question);
}

bool TForm7::RefusedWhileScanning()
{
    if (!m_model->IsScanning())
        return false;
    Dialogs().MessageBox(Str(StringId::ScanRunning), Str(StringId::RevisionList), MsgButtons::Ok,
                         MsgIcon::Warning);
    return true;
}

bool TForm7::SaveQuestion()
{
    if (!m_model->IsModified())
        return true;
    switch (Ask(StringId::SaveQuestion, true)) {
    case IDYES: return SaveList();
    case IDNO: return true;
    default: return false;
    }
}

bool TForm7::FormCloseQuery()
{
    if (m_hooks.DesignerCloseQuery && !m_hooks.DesignerCloseQuery())
        return false;
    if (m_hooks.DataProcessingCloseQuery && !m_hooks.DataProcessingCloseQuery())
        return false;
    return SaveQuestion();
}

void TForm7::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery()) {
        // A scan still running hands its records to nobody.
        m_model->StopScan();
        event->accept();
        // The list is the main window: the program ends with it, whatever
        // other window is still open.
        if (m_hooks.EndProgram)
            m_hooks.EndProgram();
        else
            QCoreApplication::quit();
    } else {
        event->ignore();
    }
}

void TForm7::New1Click()
{
    if (RefusedWhileScanning() || !SaveQuestion())
        return;
    m_model->ResetList();
}

void TForm7::Open1Click()
{
    if (RefusedWhileScanning() || !SaveQuestion())
        return;
    const QString path =
        Dialogs().GetOpenFileName(Str(StringId::Open), QString(), QLatin1String(ListFilter));
    if (!path.isEmpty())
        OpenDocument(path);
}

bool TForm7::OpenDocument(const QString& path)
{
    int32_t type = 0;
    int32_t magic = 0;
    bool legacy = false;
    bool known = false;
    bool damaged = false;
    const auto refuse = [](const QString& text) {
        Dialogs().MessageBox(text, Str(StringId::RevisionList), MsgButtons::Ok, MsgIcon::Error);
        return false;
    };
    try {
        FileReader reader(path);
        type = reader.GetTypeTag();
        magic = reader.GetMagic();
        legacy = reader.IsLegacyFormat();
        known = reader.IsQuillfenFile();
        damaged = reader.IsDamaged();
    } catch (const EFOpenError& error) {
        if (error.NotRegularFile())
            return refuse(Str(StringId::NotRegularFile) + u'\n' + path);
        return refuse(path + u'\n' + Str(StringId::FileNotOpened) + QStringLiteral("\n\n")
                      + error.Reason());
    }
    if (!known)
        return refuse(path + u'\n' + Str(StringId::NotQuillfenDocument));
    // Its type cannot be trusted, and the window it names would show an
    // empty document under the file's name.
    if (damaged)
        return refuse(path + u'\n' + Str(StringId::FileDamaged));
    // Older single-stream files go where their kind is edited.
    const auto open = [](const auto& hook, auto... args) {
        if (hook)
            hook(args...);
    };
    if (legacy) {
        if (magic == Tag::QFT)
            open(m_hooks.OpenTemplate, path);
        else if (magic == Tag::QFF)
            open(m_hooks.OpenForm, path, 0);
        else if (magic == Tag::QFD)
            open(m_hooks.OpenData, path);
        return true;
    }
    if (type == Tag::Form || type == Tag::Bar || type == Tag::Data) {
        open(m_hooks.OpenForm, path, 0);
    } else if (type == Tag::Temp) {
        open(m_hooks.OpenTemplate, path);
    } else if (type == Tag::Idx) {
        if (RefusedWhileScanning())
            return false;
        if (!m_model->OpenList(path))
            return false;
        ScanSettingsFromList();
        SetCaption();
    }
    return true;
}

bool TForm7::SaveList()
{
    // After New the dialog opens on the earlier name: keeping it is one
    // click, and the dialog asks before that list is replaced.
    if (!m_model->HasOwnFile())
        return SaveListAs();
    ScanSettingsToList();
    return m_model->SaveList(m_model->FileName());
}

bool TForm7::SaveListAs()
{
    const QString path =
        Dialogs().GetSaveFileName(Str(StringId::SaveAs), m_model->FileName(),
                                  QLatin1String(ListSaveFilter), QLatin1String(ListSuffix));
    if (path.isEmpty())
        return false;
    ScanSettingsToList();
    const bool saved = m_model->SaveList(path);
    SetCaption();
    return saved;
}

void TForm7::ScanSettingsToList()
{
    RevisionList& list = m_model->List();
    list.baseFolder = m_setup->Edit1->text();
    list.scanSubfolders = m_setup->CheckBox1->isChecked();
}

void TForm7::ScanSettingsFromList()
{
    const RevisionList& list = m_model->List();
    m_setup->Edit1->setText(list.baseFolder);
    m_setup->CheckBox1->setChecked(list.scanSubfolders);
}

void TForm7::LoadRevisionList1Click()
{
    if (m_model->IsScanning())
        return;
    ScanSettingsToList();
    const bool erase = m_hooks.EraseCell && m_hooks.EraseCell();
    QuillfenRevisionTableThread* scan = m_model->StartScan(erase, [this](const RevisionScanResult&) { OnScanDone(); });
    if (!scan)
        return;
    connect(scan, &QuillfenRevisionTableThread::StatusChanged, StatusBar1, &QLabel::setText, Qt::QueuedConnection);
    LoadRevisionList1->setEnabled(false);
    Stop1->setEnabled(true);
    AllFiles1->setChecked(true);
}

void TForm7::Stop1Click()
{
    m_model->StopScan();
}

void TForm7::OnScanDone()
{
    StatusBar1->clear();
    LoadRevisionList1->setEnabled(true);
    Stop1->setEnabled(false);
    emit ScanFinished();
}

void TForm7::Setup1Click()
{
    if (RefusedWhileScanning())
        return;
    ScanSettingsToList();
    m_setup->Fill(m_model->List());
    const int result = m_setup->exec();
    if (result != QDialog::Accepted && result != TForm8::ResultYes) {
        m_setup->Fill(m_model->List()); // drops the columns added in the dialog
        ScanSettingsToList();
        return;
    }
    m_setup->Apply(m_model->List());
    m_model->ColumnsChanged();
    ScanSettingsToList();
    if (result == TForm8::ResultYes && Ask(StringId::RescanQuestion, false) == IDYES)
        LoadRevisionList1Click();
}

void TForm7::OpenText1Click()
{
    if (RefusedWhileScanning())
        return;
    const QString path =
        Dialogs().GetOpenFileName(Str(StringId::OpenText), QString(), QLatin1String(TextFilter));
    if (!path.isEmpty())
        m_model->ImportText(path);
}

void TForm7::SaveText1Click()
{
    const QString path = Dialogs().GetSaveFileName(
        Str(StringId::SaveAsText), QString(), QLatin1String(TextFilter), QLatin1String(TextSuffix));
    if (!path.isEmpty())
        m_model->ExportText(path);
}

void TForm7::SaveXml1Click()
{
    const QString path = Dialogs().GetSaveFileName(
        Str(StringId::SaveAsXml), QString(), Str(StringId::XmlFileFilter), QLatin1String(XmlSuffix));
    if (!path.isEmpty()) {
        ScanSettingsToList();
        m_model->ExportXml(path);
    }
}

void TForm7::Print1Click()
{
    int from = 0;
    int to = 0;
    const QString name =
        m_model->FileName().isEmpty() ? Str(StringId::RevisionList) : m_model->FileName();
    if (!Printers().ExecPrintDialog(this, name, 1, MaxPrintPage, from, to))
        return;
    if (from <= 0 || to <= 0) {
        from = 1;
        to = MaxPrintPage;
    }
    auto job = std::make_unique<TPrintListThread>(Printers().Printer(), PrintedList::Of(m_model->List()));
    job->SetPageRange(from, to);
    if (m_hooks.Print)
        m_hooks.Print(std::move(job));
}

void TForm7::Exit1Click()
{
    // Exit asks the same questions as closing the window.
    close();
}

void TForm7::Version1Click()
{
    Dialogs().MessageBox(Str(StringId::VersionText), QLatin1String(VersionCaption), MsgButtons::Ok,
                         MsgIcon::Information);
}

void TForm7::FilterByDays(int days)
{
    m_model->FilterByValidity(Now() + days);
}

void TForm7::FilterByColumn(int column)
{
    const RevisionTableColumn* c = m_model->VisibleColumn(column);
    if (!c)
        return;
    if (c->GetNumber() == NextRevisionField) {
        if (m_dateFilter->exec() != QDialog::Accepted)
            return;
        TDateTime date = 0;
        if (!m_dateFilter->ChosenDate(date))
            return;
        m_model->FilterByDate(date, m_dateFilter->Older());
    } else {
        if (m_textFilter->exec() != QDialog::Accepted)
            return;
        m_model->FilterByText(column, m_textFilter->Edit1->text(), m_textFilter->CheckBox1->isChecked());
    }
    if (QAction* checked = m_filters->checkedAction())
        checked->setChecked(false);
}

void TForm7::DeleteSelectedRows()
{
    if (RefusedWhileScanning())
        return;
    std::set<int> rows;
    for (const QModelIndex& index : DrawGrid1->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (DrawGrid1->currentIndex().isValid())
        rows.insert(DrawGrid1->currentIndex().row());
    if (rows.empty() || Ask(StringId::DeleteRowsQuestion, false) != IDYES)
        return;
    m_model->RemoveRows(QList<int>(rows.begin(), rows.end()));
}

void TForm7::DuplicateLine1Click()
{
    if (RefusedWhileScanning())
        return;
    const QModelIndexList selected = DrawGrid1->selectionModel()->selectedIndexes();
    int top = DrawGrid1->currentIndex().row();
    for (const QModelIndex& index : selected)
        top = std::min(top, index.row());
    const int row = m_model->DuplicateRow(top);
    if (row >= 0)
        DrawGrid1->setCurrentIndex(m_model->index(row, 0));
}

void TForm7::OpenRecord(int row)
{
    const RevisionTableRow* record = m_model->ShownRow(row);
    if (!record || record->GetField(RevisionTableRow::FileName).isEmpty())
        return;
    if (m_hooks.ShowDataProcessing)
        m_hooks.ShowDataProcessing();
    if (m_hooks.OpenForm)
        m_hooks.OpenForm(record->GetField(RevisionTableRow::FileName), record->GetPage() - 1);
}

bool TForm7::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DrawGrid1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        // While a cell is edited its editor has the keys, not the grid.
        DeleteSelectedRows();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm7::SpeedButton9Click()
{
    const QString port = m_hooks.PortName ? m_hooks.PortName() : QString();
    if (port.isEmpty() || m_uploadRunning || (m_hooks.TransferRunning && m_hooks.TransferRunning()))
        return;
    // Writing the records replaces the instrument's memory, its stored
    // measurements included: the user must agree first, and Return must not
    // agree for them.
    if (Dialogs().MessageBox(Str(StringId::UploadErasesQuestion), Str(StringId::RevisionList),
                             MsgButtons::YesNoDefaultNo, MsgIcon::Question)
        != IDYES)
        return;
    m_uploadRunning = true;
    StatusBar1->clear();
    Upload1->setEnabled(false);
    if (m_hooks.EnableTransferButtons)
        m_hooks.EnableTransferButtons(false);
    m_upload->Clear();
    for (const auto& row : m_model->List().Rows()) {
        const QString id = row->GetField(RevisionTableRow::Id);
        if (id == QLatin1String(NotUploadedId))
            continue;
        m_upload->Add(UploadRecord(ToAnsi(id), row->GetField(RevisionTableRow::Name),
                                   row->GetField(RevisionTableRow::Location), 0));
    }
    auto* thread = new InstrumentTransferWindowThread(port);
    thread->StartWriteDatabase(m_upload.get(),
                               [this](TransferResult result) { OnUploadDone(result); });
}

void TForm7::OnUploadDone(TransferResult result)
{
    // The transfer reports its failures itself; a success on a fast link
    // would otherwise show nothing at all.
    if (result == TransferResult::Success)
        StatusBar1->setText(Str(StringId::RecordsUploaded));
    m_uploadRunning = false;
    Upload1->setEnabled(true);
    if (m_hooks.EnableTransferButtons)
        m_hooks.EnableTransferButtons(true);
    emit UploadFinished();
}
