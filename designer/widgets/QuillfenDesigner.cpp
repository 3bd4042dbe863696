#include "designer/widgets/QuillfenDesigner.h"

#include "designer/DesignerUnits.h"
#include "designer/widgets/ColorSwatch.h"
#include "designer/widgets/CreateFields.h"
#include "designer/widgets/DesignerCanvas.h"
#include "designer/widgets/LimitSetup.h"
#include "designer/widgets/QuillfenNewPage.h"
#include "documents/TextObject.h"
#include "documents/widgets/TextSetup.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"
#include "platform/widgets/ThemeIcons.h"
#include "revisionlist/widgets/QuillfenSetup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace {

using namespace DesignerUnits;

// The window's size where the screen has room for it: the canvas beside
// the property panels.
constexpr int PreferredWidth = 1100;
constexpr int PreferredHeight = 800;

constexpr int32_t FreshWidth = QuillfenForm::DefaultWidth;
constexpr int32_t FreshHeight = QuillfenForm::DefaultHeight;
// The page a "Last" selects: beyond every page, so the last one.
constexpr int LastPageIndex = 10000;
constexpr int WheelStep = 25;
constexpr int32_t MaxGridStep = 100;
const QString LabelDocumentSide = QStringLiteral("10");
const QString OpenFilter = QStringLiteral("Quillfen (*.qfs *.qft *.qff)");
const QString SaveFilter = QStringLiteral("Quillfen (*.qfs)");
const QString DocumentSuffix = QStringLiteral("qfs");
const QString XmlSuffix = QStringLiteral("xml");

// The kind shown in the status line, by the type code of the field under the pointer.
struct KindCaption
{
    int32_t code;
    int id;
};
constexpr KindCaption KindCaptions[] = {
    {ObjectCode::Barcode, StringId::Barcode}, {ObjectCode::Global, StringId::GlobalText},
    {ObjectCode::Choice, StringId::Choice},   {ObjectCode::Link, StringId::Link},
    {ObjectCode::Measure, StringId::Measure}, {ObjectCode::Picture, StringId::Picture},
};

QString Str(int id)
{
    return MainLanguage.GetString(id);
}

// The tool bar's pictures: freedesktop icon names of the commands.
const ThemeIconOf<TForm2> ToolBarIcons[] = {
    {&TForm2::New4, "document-new"},
    {&TForm2::Open1, "document-open"},
    {&TForm2::Save2, "document-save"},
    {&TForm2::Print1, "document-print"},
    {&TForm2::DataProcessing1, "x-office-document"},
    {&TForm2::RevisionList1, "x-office-spreadsheet"},
    {&TForm2::First1, "go-first"},
    {&TForm2::Previous1, "go-previous"},
    {&TForm2::Next1, "go-next"},
    {&TForm2::Last1, "go-last"},
    {&TForm2::New3, "list-add"},
    {&TForm2::Delete1, "list-remove"},
    {&TForm2::Zoomin1, "zoom-in"},
    {&TForm2::Zoomout1, "zoom-out"},
    {&TForm2::Wholepage1, "zoom-fit-best"},
    {&TForm2::ToFront1, "go-top"},
    {&TForm2::ToBack1, "go-bottom"},
};

// The Field panel, in tool-bar order; kinds without a freedesktop name show their caption.
struct FieldButton
{
    int caption;
    FieldKind kind;
    const char* icon;
};
constexpr FieldButton FieldButtons[] = {
    {StringId::Text, FieldKind::Text, "insert-text"},
    {StringId::GlobalText, FieldKind::GlobalText, nullptr},
    {StringId::Link, FieldKind::Link, "insert-link"},
    {StringId::Choice, FieldKind::Choice, nullptr},
    {StringId::Measure, FieldKind::Measure, nullptr},
    {StringId::Barcode, FieldKind::Barcode, nullptr},
    {StringId::Picture, FieldKind::Picture, "insert-image"},
};

// The settings dialog's "Show field number"; on without the dialog.
bool ShowFieldNumberSetting()
{
    const TForm11* settings = TForm11::Instance();
    return !settings || settings->CheckBox1->isChecked();
}

} // namespace

TForm2::TForm2(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TForm2"));
    SetTag(this, StringId::TemplateDesigner);
    FitOnScreenWhenShown(this, QSize(PreferredWidth, PreferredHeight));
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    PaintBox1 = new DesignerCanvas(this, ScrollBox1);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->installEventFilter(this);
    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setWidgetResizable(true);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(ScrollBox1);
    splitter->addWidget(ScrollBox2);
    splitter->setStretchFactor(0, 1);
    setCentralWidget(splitter);
    statusBar();

    NewPageDialog = new TForm1(this);
    NewTableDialog = new TForm4(this);
    LimitsDialog = new TForm10(this);
    TextSetup1 = new TTextSetup1(this);

    BuildMenus();
    BuildToolBar();
    BuildPanels();
    // FormCreate
    NewDocument(FreshWidth, FreshHeight);
    ApplyLanguage();
}

TForm2::~TForm2()
{
    // FormDestroy: the canvas must not paint a document that is gone.
    PaintBox1->SetDocument(nullptr);
    PaintBox4->SetDocument(nullptr);
    Document.reset();
}

void TForm2::BuildMenus()
{
    const auto item = [this](QMenu* menu, int id, auto slot, QKeySequence key = {}) {
        QAction* action = menu->addAction(QString());
        SetTag(action, id);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto menu = [this](int id) {
        QMenu* m = menuBar()->addMenu(QString());
        SetTag(m, id);
        return m;
    };
    QMenu* file = menu(StringId::FileMenu);
    New4 = item(file, StringId::New, &TForm2::New4Click, QKeySequence(Qt::CTRL | Qt::Key_N));
    New2 = item(file, StringId::NewLabelMenu, &TForm2::New2Click);
    Open1 = item(file, StringId::Open, &TForm2::Open1Click, QKeySequence(Qt::CTRL | Qt::Key_O));
    Save2 = item(file, StringId::Save, &TForm2::Save2Click, QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = item(file, StringId::SaveAs, &TForm2::SaveAs1Click);
    ExportasXML1 = item(file, StringId::SaveAsXml, &TForm2::ExportasXML1Click);
    Print1 = item(file, StringId::PrintMenu, &TForm2::Print1Click, QKeySequence(Qt::CTRL | Qt::Key_P));
    Exit1 = item(file, StringId::Exit, &QWidget::close);

    QMenu* edit = menu(StringId::EditMenu);
    Cut1 = item(edit, StringId::Cut, &TForm2::Cut1Click, QKeySequence(Qt::CTRL | Qt::Key_X));
    Copy1 = item(edit, StringId::Copy, &TForm2::Copy1Click, QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1 = item(edit, StringId::Paste, &TForm2::Paste1Click, QKeySequence(Qt::CTRL | Qt::Key_V));
    Delete2 = item(edit, StringId::Delete, &TForm2::Delete2Click, QKeySequence(Qt::Key_Delete));
    Group1 = item(edit, StringId::Group, &TForm2::Group1Click);
    Ungroup1 = item(edit, StringId::Ungroup, &TForm2::Ungroup1Click);
    SelectAll1 = item(edit, StringId::SelectAll, &TForm2::SelectAll1Click, QKeySequence(Qt::CTRL | Qt::Key_A));

    QMenu* field = menu(StringId::FieldMenu);
    QMenu* fieldNew = field->addMenu(QString());
    SetTag(fieldNew, StringId::NewField);
    const std::pair<int, FieldKind> newFields[] = {
        {StringId::Barcode, FieldKind::Barcode}, {StringId::Choice, FieldKind::Choice},
        {StringId::GlobalText, FieldKind::GlobalText}, {StringId::Text, FieldKind::Text},
        {StringId::Link, FieldKind::Link}, {StringId::Measure, FieldKind::Measure},
        {StringId::Picture, FieldKind::Picture}};
    for (const auto& [id, kind] : newFields)
        item(fieldNew, id, [this, kind = kind] { InsertField(kind); });
    Table1 = item(fieldNew, StringId::Table, &TForm2::Table1Click);
    ToFront1 = item(field, StringId::ToFront, &TForm2::ToFront1Click);
    ToBack1 = item(field, StringId::ToBack, &TForm2::ToBack1Click);

    QMenu* zoom = menu(StringId::ZoomMenu);
    Zoomin1 = item(zoom, StringId::ZoomIn, &TForm2::Zoomin1Click);
    Zoomout1 = item(zoom, StringId::ZoomOut, &TForm2::Zoomout1Click);
    Wholepage1 = item(zoom, StringId::WholePage, &TForm2::Wholepage1Click);

    QMenu* page = menu(StringId::PageMenu);
    First1 = item(page, StringId::FirstPage, &TForm2::First1Click);
    Previous1 = item(page, StringId::PreviousPage, &TForm2::Previous1Click);
    Next1 = item(page, StringId::NextPage, &TForm2::Next1Click);
    Last1 = item(page, StringId::LastPage, &TForm2::Last1Click);
    New3 = item(page, StringId::NewPage, &TForm2::New3Click);
    Delete1 = item(page, StringId::Delete, &TForm2::Delete1Click);

    QMenu* grid = menu(StringId::GridMenu);
    item(grid, StringId::GridNone, [this] { SetGridStep(0); });
    for (int mm = 1; mm <= 10; ++mm)
        grid->addAction(QString::number(mm) + QStringLiteral(" mm"), this, [this, mm] { SetGridStep(mm * 10); });

    Settings1 = menuBar()->addAction(QString());
    SetTag(Settings1, StringId::Settings);
    connect(Settings1, &QAction::triggered, this, &TForm2::Settings1Click);

    QMenu* window = menu(StringId::WindowMenu);
    DataProcessing1 = item(window, StringId::DataProcessing, [this] {
        if (m_hooks.ShowDataProcessing)
            m_hooks.ShowDataProcessing();
    });
    RevisionList1 = item(window, StringId::RevisionList, [this] {
        if (m_hooks.ShowRevisionList)
            m_hooks.ShowRevisionList();
    });

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    item(PopupMenu2, StringId::ToFront, &TForm2::ToFront1Click);
    item(PopupMenu2, StringId::ToBack, &TForm2::ToBack1Click);
    item(PopupMenu2, StringId::Copy, &TForm2::Copy1Click);
    item(PopupMenu2, StringId::Cut, &TForm2::Cut1Click);
    item(PopupMenu2, StringId::Paste, &TForm2::Paste1Click);
    item(PopupMenu2, StringId::SelectAll, &TForm2::SelectAll1Click);
    DeleteEditableText1 = item(PopupMenu2, StringId::DeleteEditableText, &TForm2::DeleteEditableText1Click);
    DeleteSelectedText1 = item(PopupMenu2, StringId::DeleteSelectedText, &TForm2::DeleteSelectedText1Click);
    QMenu* change = PopupMenu2->addMenu(QString());
    SetTag(change, StringId::ChangeToField);
    const std::pair<int, int> conversions[] = {{StringId::Barcode, 1}, {StringId::Choice, 2},
                                               {StringId::GlobalText, 3}, {StringId::Text, 4},
                                               {StringId::Link, 5}, {StringId::Measure, 6}};
    for (const auto& [id, code] : conversions)
        item(change, id, [this, code = code] { ChangeToField(code); });
    PaintBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PaintBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu2->popup(PaintBox1->mapToGlobal(p)); });
}

void TForm2::BuildToolBar()
{
    QToolBar* bar = ControlBar1 = addToolBar(QStringLiteral("ControlBar1"));
    bar->setObjectName(QStringLiteral("ControlBar1"));
    SetThemeIcons(*this, ToolBarIcons);
    bar->addActions({New4, Open1, Save2, Print1, DataProcessing1, RevisionList1});
    bar->addSeparator();
    for (QAction* a : {First1, Previous1, Next1, Last1, New3, Delete1})
        bar->addAction(a);
    Edit7 = new QLineEdit(bar);
    Edit7->setObjectName(QStringLiteral("Edit7"));
    Edit7->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    connect(Edit7, &QLineEdit::returnPressed, this, &TForm2::Edit7Enter);
    bar->addWidget(Edit7);
    bar->addSeparator();
    bar->addActions({Zoomin1, Zoomout1, Wholepage1});
    ComboBox4 = new QComboBox(bar);
    ComboBox4->setObjectName(QStringLiteral("ComboBox4"));
    ComboBox4->setEditable(true);
    ComboBox4->setInsertPolicy(QComboBox::NoInsert);
    ComboBox4->addItems({QStringLiteral("25 %"), QStringLiteral("50 %"), QStringLiteral("75 %"),
                         QStringLiteral("100 %"), QStringLiteral("150 %"), QStringLiteral("200 %"),
                         QStringLiteral("250 %")});
    ComboBox4->setEditText(ZoomText(QuillfenZoom::DefaultZoom));
    connect(ComboBox4, &QComboBox::activated, this, &TForm2::ComboBox4Click);
    connect(ComboBox4->lineEdit(), &QLineEdit::returnPressed, this, &TForm2::ComboBox4Click);
    bar->addWidget(ComboBox4);
    bar->addSeparator();
    SpeedButton16 = new QToolButton(bar);
    SpeedButton16->setObjectName(QStringLiteral("SpeedButton16"));
    SpeedButton16->setText(QStringLiteral("x2"));
    SpeedButton17 = new QToolButton(bar);
    SpeedButton17->setObjectName(QStringLiteral("SpeedButton17"));
    SpeedButton17->setText(QStringLiteral("/2"));
    SetTipTag(SpeedButton16, StringId::GridDoubleTip);
    SetTipTag(SpeedButton17, StringId::GridHalveTip);
    connect(SpeedButton16, &QToolButton::clicked, this, &TForm2::SpeedButton16Click);
    connect(SpeedButton17, &QToolButton::clicked, this, &TForm2::SpeedButton17Click);
    bar->addWidget(SpeedButton16);
    bar->addWidget(SpeedButton17);
    ComboBox6 = new QComboBox(bar);
    ComboBox6->setObjectName(QStringLiteral("ComboBox6"));
    ComboBox6->setEditable(true);
    ComboBox6->setInsertPolicy(QComboBox::NoInsert);
    for (int mm = 0; mm <= 10; ++mm)
        ComboBox6->addItem(QString::number(mm) + QStringLiteral(" mm"));
    ComboBox6->setEditText(QStringLiteral("1 mm"));
    connect(ComboBox6, &QComboBox::activated, this, &TForm2::ComboBox6Click);
    connect(ComboBox6->lineEdit(), &QLineEdit::returnPressed, this, &TForm2::ComboBox6Enter);
    bar->addWidget(ComboBox6);
    bar->addSeparator();
    for (const FieldButton& field : FieldButtons) {
        QAction* a =
            bar->addAction(QString(), this, [this, kind = field.kind] { InsertField(kind); });
        SetTag(a, field.caption);
        SetThemeIcon(a, field.icon);
    }
    bar->addSeparator();
    SpeedButton27 = new QToolButton(bar);
    SpeedButton27->setObjectName(QStringLiteral("SpeedButton27"));
    SpeedButton27->setCheckable(true);
    SetTag(SpeedButton27, StringId::GroupButton);
    SetThemeIcon(SpeedButton27, "object-group");
    connect(SpeedButton27, &QToolButton::clicked, this, &TForm2::SpeedButton27Click);
    bar->addWidget(SpeedButton27);
    bar->addAction(ToFront1);
    bar->addAction(ToBack1);
}

void TForm2::ShowIconBar(bool visible)
{
    ControlBar1->setVisible(visible);
}

// --- Document life -----------------------------------------------------------

void TForm2::NewDocument(int32_t width, int32_t height)
{
    PaintBox1->SetDocument(nullptr);
    Document.reset();
    Document = std::make_unique<QuillfenDesignerForm>(
        [this](int32_t w, int32_t h) { PaintBox1->setFixedSize(std::max(w, 1), std::max(h, 1)); }, width,
        height);
    Document->GetZoom().SetZoom(QuillfenZoom::DefaultZoom);
    Document->SetGrid(GridStepFromText(ComboBox6->currentText()));
    Document->SetShowFieldNumbers(ShowFieldNumberSetting());
    PaintBox1->SetDocument(Document.get());
    PaintBox4->SetDocument(Document.get());
    ComboBox4->setEditText(ZoomText(QuillfenZoom::DefaultZoom));
    FileName.clear();
    SetCaption();
    statusBar()->clearMessage();
    Repaint();
    Refresh();
}

void TForm2::SetCaption()
{
    setWindowTitle(FileName.isEmpty() ? Str(StringId::TemplateDesigner)
                                      : Str(StringId::TemplateDesigner) + QStringLiteral(" - ") + FileName);
}

void TForm2::ApplyLanguage()
{
    ApplyCaptions(this);
    ApplyCaptions(NewPageDialog);
    NewTableDialog->ApplyLanguage();
    ApplyCaptions(LimitsDialog);
    TextSetup1->ApplyLanguage();
    PanelsLanguage();
    // The panels' captions take another room in another language.
    FitPanels();
    SetCaption();
}

bool TForm2::FormCloseQuery()
{
    if (!Document->IsModified())
        return true;
    switch (Dialogs().MessageBox(Str(StringId::SaveQuestion), Str(StringId::TemplateDesigner),
                                 MsgButtons::YesNoCancel, MsgIcon::Question)) {
    case IDYES: return Save2Click();
    case IDNO: return true;
    default: return false;
    }
}

void TForm2::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TForm2::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (const TForm11* settings = TForm11::Instance())
        ComboBox6->setEditText(settings->Edit1->text());
    const int32_t step = GridStepFromText(ComboBox6->currentText());
    ComboBox6->setEditText(GridText(step));
    NewDocument(FreshWidth, FreshHeight);
    for (QLineEdit* box : GeometryBoxes)
        box->clear();
}

void TForm2::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        NewDocument(FreshWidth, FreshHeight);
}

// --- File commands -----------------------------------------------------------

void TForm2::New4Click()
{
    NewPageDialog->ComboBox1->setVisible(true);
    SetTag(NewPageDialog, StringId::NewTemplate);
    NewPageDialog->setWindowTitle(Str(StringId::NewTemplate));
    NewPageDialog->ComboBox1->setCurrentIndex(TForm1::A4Item);
    NewPageDialog->ComboBox1Click();
    if (NewPageDialog->exec() != QDialog::Accepted || !FormCloseQuery())
        return;
    NewDocument(NewPageDialog->PageWidth(), NewPageDialog->PageHeight());
}

void TForm2::New2Click()
{
    NewPageDialog->ComboBox1->setVisible(false);
    SetTag(NewPageDialog, StringId::NewLabel);
    NewPageDialog->setWindowTitle(Str(StringId::NewLabel));
    NewPageDialog->Edit1->setText(LabelDocumentSide);
    NewPageDialog->Edit2->setText(LabelDocumentSide);
    if (NewPageDialog->exec() != QDialog::Accepted || !FormCloseQuery())
        return;
    NewDocument(NewPageDialog->PageWidth(), NewPageDialog->PageHeight());
}

void TForm2::Open1Click()
{
    if (!FormCloseQuery())
        return;
    const QString name = Dialogs().GetOpenFileName(Str(StringId::Open), QString(), OpenFilter);
    if (!name.isEmpty())
        LoadFile(name);
}

void TForm2::OpenFile(const QString& path)
{
    if (FormCloseQuery())
        LoadFile(path);
}

void TForm2::LoadFile(const QString& path)
{
    using Result = QuillfenDesignerForm::OpenResult;
    const auto Message = [](int id) {
        Dialogs().MessageBox(Str(id), Str(StringId::TemplateDesigner), MsgButtons::Ok,
                             MsgIcon::Error);
    };
    switch (Document->OpenFile(path)) {
    case Result::Template:
        FileName = path;
        break;
    case Result::OtherDocument:
        FileName.clear();
        break;
    case Result::NoPages:
        break;
    case Result::Damaged:
        FileName.clear();
        Message(StringId::FileDamaged);
        break;
    case Result::NotLoaded:
    case Result::CannotOpen:
        Message(StringId::FileNotOpened);
        break;
    case Result::NotQuillfen:
        Message(StringId::NotQuillfenDocument);
        break;
    case Result::NotRegularFile:
        Dialogs().MessageBox(Str(StringId::NotRegularFile) + u'\n' + path,
                             Str(StringId::TemplateDesigner), MsgButtons::Ok, MsgIcon::Error);
        break;
    }
    SetCaption();
    ComboBox4->setEditText(ZoomText(Document->GetZoom().GetZoom()));
    statusBar()->clearMessage();
    Repaint();
    Refresh();
}

bool TForm2::Save2Click()
{
    if (FileName.isEmpty()) {
        const QString name = Dialogs().GetSaveFileName(
            Str(StringId::SaveAs), QStringLiteral("*.qfs"), SaveFilter, DocumentSuffix);
        if (name.isEmpty())
            return false;
        FileName = name;
        SetCaption();
    }
    QString error;
    if (Document->SaveFile(FileName, error))
        return true;
    Dialogs().MessageBox(Str(StringId::FileNotSaved) + u'\n' + error, Str(StringId::TemplateDesigner),
                         MsgButtons::Ok, MsgIcon::Error);
    return false;
}

void TForm2::SaveAs1Click()
{
    const QString remembered = FileName;
    FileName.clear();
    if (!Save2Click()) {
        FileName = remembered;
        SetCaption();
    }
}

void TForm2::ExportasXML1Click()
{
    const QString name = Dialogs().GetSaveFileName(Str(StringId::SaveAsXml),
                                                   QStringLiteral("*.xml"),
                                                   Str(StringId::XmlFileFilter), XmlSuffix);
    if (name.isEmpty())
        return;
    QString error;
    if (!Document->ExportXml(name, &error))
        Dialogs().MessageBox(Str(StringId::FileNotSaved) + u'\n' + error,
                             Str(StringId::TemplateDesigner), MsgButtons::Ok, MsgIcon::Error);
}

void TForm2::Print1Click()
{
    if (m_hooks.Print)
        m_hooks.Print(*Document);
}

void TForm2::Settings1Click()
{
    TForm11* settings = TForm11::Instance();
    if (!settings || settings->exec() != QDialog::Accepted)
        return;
    Document->SetShowFieldNumbers(ShowFieldNumberSetting());
    Repaint();
}

// --- Edit commands -----------------------------------------------------------

void TForm2::Cut1Click()
{
    Document->CopySelection();
    Delete2Click();
}

void TForm2::Copy1Click()
{
    Document->CopySelection();
}

void TForm2::Paste1Click()
{
    Document->Paste();
    Repaint();
    Refresh();
}

void TForm2::Delete2Click()
{
    Document->DeleteSelection();
    Repaint();
    Refresh();
}

void TForm2::Group1Click()
{
    Document->GroupSelection();
    Repaint();
    Refresh();
}

void TForm2::Ungroup1Click()
{
    Document->UngroupSelection();
    Repaint();
    Refresh();
}

void TForm2::SpeedButton27Click(bool pressed)
{
    if (pressed)
        Group1Click();
    else
        Ungroup1Click();
}

void TForm2::SelectAll1Click()
{
    Document->SelectAll();
    Repaint();
    Refresh();
}

void TForm2::ToFront1Click()
{
    Document->BringToFront();
    Repaint();
}

void TForm2::ToBack1Click()
{
    Document->SendToBack();
    Repaint();
}

void TForm2::DeleteEditableText1Click()
{
    Document->DeleteEditableText();
    Repaint();
}

void TForm2::DeleteSelectedText1Click()
{
    Document->DeleteSelectedText();
    Repaint();
}

void TForm2::ChangeToField(int code)
{
    Document->ConvertSelection(code);
    Repaint();
    Refresh();
}

void TForm2::InsertField(FieldKind kind)
{
    Document->PlaceObject(NewField(kind, Document->GetGlobalTexts()));
    Repaint();
}

void TForm2::Table1Click()
{
    if (NewTableDialog->exec() != QDialog::Accepted)
        return;
    Document->AddTable(NewTableDialog->Shape());
    Repaint();
    Refresh();
}

// --- Canvas ------------------------------------------------------------------

void TForm2::Repaint()
{
    // The coordinates shown belong to the page they were read on.
    if (Document->GetCurrentPage() != m_statusPage) {
        statusBar()->clearMessage();
        m_statusPage = Document->GetCurrentPage();
    }
    PaintBox1->Invalidate();
    PaintBox4->update();
    Edit7->setText(QString::number(Document->GetCurrentPageIndex() + 1));
}

void TForm2::PaintBox1MouseDown(QMouseEvent* event, bool doubleClick)
{
    const QPoint p = event->position().toPoint();
    const QuillfenZoom& zoom = Document->GetZoom();
    if (doubleClick && event->button() == Qt::LeftButton) {
        if (TextObject* field = Document->TextFieldToEdit(zoom.ScreenToModel(p.x()), zoom.ScreenToModel(p.y()))) {
            TextSetup1->SetStyledText(field->GetText());
            if (TextSetup1->exec() == QDialog::Accepted) {
                field->SetText(TextSetup1->GetStyledText());
                Document->SetModified();
                Repaint();
            }
        }
    }
    Document->MouseDown(p.x(), p.y(), event->modifiers(), event->button());
    ScrollBox1->setFocus();
    PaintBox1->Invalidate();
}

QString TForm2::KindTextAt(int32_t x, int32_t y) const
{
    const AbstractFormObject* object = Document->GetCurrentPage()->FindObjectAt(x, y);
    if (object && object->GetTypeCode() == ObjectCode::Group)
        object = static_cast<const GroupObject*>(object)->FindObjectAtDeep(x, y);
    if (!object)
        return {};
    const int32_t code = object->GetTypeCode();
    if (code == ObjectCode::Text) {
        const int32_t type = static_cast<const TextObject*>(object)->GetType();
        const int id = TextTypeCaption(type);
        return id ? Str(id) : QString();
    }
    for (const KindCaption& kind : KindCaptions)
        if (kind.code == code)
            return Str(kind.id);
    return {};
}

void TForm2::PaintBox1MouseMove(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const QuillfenZoom& zoom = Document->GetZoom();
    const int32_t x = zoom.ScreenToModel(p.x());
    const int32_t y = zoom.ScreenToModel(p.y());
    const AbstractFormObject* hit = Document->GetCurrentPage()->FindObjectAt(x, y);
    switch (hit ? hit->HitCorner(x, y) : 0) {
    case 1:
    case 4: PaintBox1->setCursor(Qt::SizeFDiagCursor); break;
    case 2:
    case 3: PaintBox1->setCursor(Qt::SizeBDiagCursor); break;
    default: PaintBox1->setCursor(Qt::ArrowCursor); break;
    }
    const QString kind = KindTextAt(x, y);
    Document->MouseMove(p.x(), p.y(), event->buttons());
    if (Document->GetAction())
        PaintBox1->DragMoved();
    statusBar()->showMessage(StatusText(x, y, kind));
}

void TForm2::PaintBox1MouseUp(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Document->MouseUp(p.x(), p.y(), event->button());
    Repaint();
    Refresh();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel) {
        ScrollBox1Wheel(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    if (watched == ScrollBox1 && event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return event->isAccepted();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp: Previous1Click(); break;
    case Qt::Key_PageDown: Next1Click(); break;
    case Qt::Key_End: Last1Click(); break;
    case Qt::Key_Home: First1Click(); break;
    default: event->ignore(); return;
    }
    event->accept();
}

void TForm2::ScrollBox1Wheel(int delta)
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    const int current = Document->GetCurrentPageIndex();
    if (delta < 0) {
        const int before = bar->value();
        bar->setValue(before + WheelStep);
        if (bar->value() == before && current < Document->GetPageCount() - 1) {
            Document->SelectPage(current + 1);
            bar->setValue(0);
            Repaint();
        }
    } else if (delta > 0) {
        bar->setValue(bar->value() - WheelStep);
        if (bar->value() == 0 && current > 0) {
            Document->SelectPage(current - 1);
            bar->setValue(bar->maximum());
            Repaint();
        }
    }
}

// --- Zoom --------------------------------------------------------------------

void TForm2::ApplyZoom(int32_t zoom)
{
    Document->GetZoom().SetZoom(zoom);
    ComboBox4->setEditText(ZoomText(Document->GetZoom().GetZoom()));
    Repaint();
}

void TForm2::Zoomin1Click()
{
    ApplyZoom(ZoomIn(Document->GetZoom().GetZoom()));
}

void TForm2::Zoomout1Click()
{
    ApplyZoom(ZoomOut(Document->GetZoom().GetZoom()));
}

void TForm2::Wholepage1Click()
{
    ApplyZoom(WholePageZoom(ScrollBox1->height(), Document->GetHeight()));
}

void TForm2::ComboBox4Click()
{
    ApplyZoom(ZoomFromText(ComboBox4->currentText()));
}

// --- Pages -------------------------------------------------------------------

void TForm2::First1Click()
{
    Document->SelectPage(0);
    Repaint();
    Refresh();
}

void TForm2::Previous1Click()
{
    Document->SelectPage(Document->GetCurrentPageIndex() - 1);
    Repaint();
    Refresh();
}

void TForm2::Next1Click()
{
    Document->SelectPage(Document->GetCurrentPageIndex() + 1);
    Repaint();
    Refresh();
}

void TForm2::Last1Click()
{
    Document->SelectPage(LastPageIndex);
    Repaint();
    Refresh();
}

void TForm2::Edit7Enter()
{
    Document->SelectPage(LeadingInteger(Edit7->text()) - 1);
    Repaint();
    Refresh();
}

void TForm2::New3Click()
{
    Document->InsertPage();
    Repaint();
    Refresh();
}

void TForm2::Delete1Click()
{
    if (Dialogs().MessageBox(Str(StringId::DeletePageQuestion), Str(StringId::TemplateDesigner),
                             MsgButtons::YesNo, MsgIcon::Question)
        != IDYES)
        return;
    Document->DeletePage();
    Repaint();
    Refresh();
}

// --- Grid --------------------------------------------------------------------

void TForm2::SetGridStep(int32_t step)
{
    Document->SetGrid(step);
    ComboBox6->setEditText(GridText(step));
}

void TForm2::ComboBox6Click()
{
    Document->SetGrid(GridStepFromText(ComboBox6->currentText()));
}

void TForm2::ComboBox6Enter()
{
    SetGridStep(GridStepFromText(ComboBox6->currentText()));
}

void TForm2::SpeedButton16Click()
{
    const double mm = GridMillimetres(ComboBox6->currentText());
    SetGridStep(std::min(static_cast<int32_t>(std::trunc(mm * 20)), MaxGridStep));
}

void TForm2::SpeedButton17Click()
{
    const double mm = GridMillimetres(ComboBox6->currentText());
    SetGridStep(static_cast<int32_t>(std::trunc(mm * 5)));
}
