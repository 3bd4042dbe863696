#include "dataprocessing/widgets/CreateBarcode.h"

#include "dataprocessing/RecordLookup.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/NumberText.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString TemplateFilter = QStringLiteral("Quillfen (*.qfs)");
const QString OldLabelFilter = QStringLiteral("Quillfen 1.x label (*.qfl)");
const QString InitialNumbers = QStringLiteral("8-20,25,30-33,45");

// The six length edits in the order of LayoutValue, with their captions.
constexpr std::array<int, LayoutValueCount> LayoutCaptions = {
    StringId::LabelWidth, StringId::LabelHeight,     StringId::LeftMargin,
    StringId::TopMargin,  StringId::HorizontalSpace, StringId::VerticalSpace};

// A count edit's text as a count of labels: a whole number of at least one
// (a sheet of no columns or rows holds no label).
std::optional<int32_t> CountOf(const QLineEdit* edit)
{
    int value = 0;
    if (!TryStrToInt(edit->text(), value) || value < 1)
        return std::nullopt;
    return value;
}

} // namespace

TemplatePreview::TemplatePreview(const LabelWizardState& state, QWidget* parent) : QWidget(parent), m_state(state)
{
}

void TemplatePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PainterCanvas canvas(painter);
    m_state.GetTemplate().Draw(canvas, DrawContext{});
}

TForm9::TForm9(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm9"));
    SetTag(this, StringId::BarcodeWizard);
    FitOnScreenWhenShown(this);
    setMinimumSize(MinimumWidth, MinimumHeight);

    auto* layoutBox = new QGridLayout;
    std::array<QLineEdit*, 8> edits{};
    for (QLineEdit*& edit : edits)
        edit = new QLineEdit(this);
    Edit1 = edits[0];
    Edit2 = edits[1];
    Edit3 = edits[2];
    Edit4 = edits[3];
    Edit5 = edits[4];
    Edit6 = edits[5];
    Edit7 = edits[6];
    Edit8 = edits[7];
    const std::array<int, 8> captions = {
        LayoutCaptions[0], LayoutCaptions[1], LayoutCaptions[2],         LayoutCaptions[3],
        LayoutCaptions[4], LayoutCaptions[5], StringId::HorizontalCount, StringId::VerticalCount};
    for (size_t i = 0; i < edits.size(); ++i) {
        Labels[i] = new QLabel(this);
        SetTag(Labels[i], captions[i]);
        layoutBox->addWidget(Labels[i], static_cast<int>(i), 0);
        layoutBox->addWidget(edits[i], static_cast<int>(i), 1);
    }
    CheckBox1 = new QCheckBox(this);
    SetTag(CheckBox1, StringId::Automatic);
    layoutBox->addWidget(CheckBox1, static_cast<int>(edits.size()), 0, 1, 2);
    layoutBox->setRowStretch(static_cast<int>(edits.size()) + 1, 1);

    Edit9 = new QLineEdit(InitialNumbers, this);
    Button3 = new QPushButton(this);
    Button100 = new QPushButton(this);
    Button4 = new QPushButton(this);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral("..."));
    SetTag(Button3, StringId::Add);
    SetTag(Button100, StringId::OpenOldLabel);
    SetTag(Button4, StringId::FromTable);
    ListBox1 = new QListView(this);
    ListBox1->setModel(&m_state.Numbers());
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setFlow(QListView::TopToBottom);
    ListBox1->setWrapping(true);
    ListBox1->setResizeMode(QListView::Adjust);
    ListBox1->setUniformItemSizes(true);
    ListBox1->installEventFilter(this);
    ListBox1->viewport()->installEventFilter(this);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(Edit9, 1);
    numberRow->addWidget(Button3);
    numberRow->addWidget(Button4);
    numberRow->addWidget(Button100);
    auto* numberBox = new QVBoxLayout;
    numberBox->addLayout(numberRow);
    numberBox->addWidget(ListBox1, 1);

    PaintBox1 = new TemplatePreview(m_state, this);
    PaintBox1->setFixedSize(PreviewSide, PreviewSide);
    m_state.SetPreviewSize(PreviewSide, PreviewSide);
    auto* previewBox = new QVBoxLayout;
    previewBox->addWidget(PaintBox1);
    previewBox->addWidget(SpeedButton1, 0, Qt::AlignLeft);
    previewBox->addStretch(1);

    Button1 = new QPushButton(this);
    Button2 = new QPushButton(this);
    SetTag(Button1, StringId::Create);
    SetTag(Button2, StringId::Cancel);
    Button1->setDefault(true);
    for (QPushButton* button : {Button2, Button3, Button4, Button100})
        button->setAutoDefault(false);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(Button1);
    buttonRow->addWidget(Button2);

    auto* top = new QHBoxLayout;
    top->addLayout(layoutBox);
    top->addLayout(numberBox, 1);
    top->addLayout(previewBox);
    auto* window = new QVBoxLayout(this);
    window->addLayout(top, 1);
    window->addLayout(buttonRow);

    // FormCreate: the form's initial texts.
    ShowLayout();

    for (int i = 0; i < LayoutValueCount; ++i)
        connect(edits[i], &QLineEdit::editingFinished, this, [this, i] { LayoutEditExit(LayoutValue(i)); });
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm9::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, &TForm9::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm9::Button4Click);
    connect(Button100, &QPushButton::clicked, this, &TForm9::Button100Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm9::SpeedButton1Click);
    ApplyCaptions(this);
}

TForm9::~TForm9()
{
    // The list view lets go of the model before the state that holds it goes.
    ListBox1->setModel(nullptr);
}

std::optional<LabelSheetLayout> TForm9::ShowForSheet(QuillfenTransferForm& form, std::vector<LabelNumber>& numbers,
                                                     std::unique_ptr<AbstractFormObject>& labelTemplate)
{
    m_state.SetGlobalTexts(form.GetGlobalTexts());
    m_state.SetPageSize(form.GetWidth(), form.GetHeight());
    m_state.Numbers().SetEntries(&numbers);
    m_state.SetTemplate(*labelTemplate);
    const bool accepted = exec() == QDialog::Accepted;
    // The entries and global texts belong to the document, which may be
    // replaced while the wizard is hidden.
    m_state.Numbers().SetEntries(nullptr);
    m_state.SetGlobalTexts(nullptr);
    if (!accepted)
        return std::nullopt;
    labelTemplate = m_state.GetTemplate().Clone();
    return m_state.Layout();
}

QLineEdit* TForm9::LayoutEdit(LayoutValue which) const
{
    const std::array<QLineEdit*, LayoutValueCount> edits = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6};
    return edits[static_cast<size_t>(which)];
}

void TForm9::ShowLayout()
{
    for (int i = 0; i < LayoutValueCount; ++i)
        LayoutEdit(LayoutValue(i))->setText(FloatToStr(LayoutLength(m_state.Layout(), LayoutValue(i))));
    CheckBox1->setChecked(m_state.IsAutomatic());
    Edit7->setEnabled(!m_state.IsAutomatic());
    Edit8->setEnabled(!m_state.IsAutomatic());
    ShowCounts();
}

void TForm9::ShowCounts()
{
    Edit7->setText(QString::number(m_state.Layout().Across));
    Edit8->setText(QString::number(m_state.Layout().Down));
}

void TForm9::UpdateCounts()
{
    if (m_state.UpdateCounts())
        ShowCounts();
}

void TForm9::MarkBadInput(QLineEdit* edit)
{
    Dialogs().Beep();
    edit->setFocus();
    edit->selectAll();
}

void TForm9::LayoutEditExit(LayoutValue which)
{
    QLineEdit* edit = LayoutEdit(which);
    const CheckedLayoutText checked = CheckLayoutText(which, edit->text());
    if (!checked.IsNumber)
        MarkBadInput(edit);
    if (edit->text() != checked.Text)
        edit->setText(checked.Text);
    LayoutLength(m_state.Layout(), which) = checked.Value;
    // A text that was no number leaves the counts as they were.
    if (checked.IsNumber)
        UpdateCounts();
    else
        edit->selectAll();
}

void TForm9::CheckBox1Click()
{
    m_state.SetAutomatic(CheckBox1->isChecked());
    Edit7->setEnabled(!m_state.IsAutomatic());
    Edit8->setEnabled(!m_state.IsAutomatic());
    UpdateCounts();
}

void TForm9::Button1Click()
{
    const std::optional<int32_t> across = CountOf(Edit7);
    if (!across) {
        MarkBadInput(Edit7);
        return;
    }
    const std::optional<int32_t> down = CountOf(Edit8);
    if (!down) {
        MarkBadInput(Edit8);
        return;
    }
    m_state.Layout().Across = *across;
    m_state.Layout().Down = *down;
    accept();
}

void TForm9::Button3Click()
{
    const NumberListResult result = m_state.AddNumbers(Edit9->text());
    if (result.Result == NumberListResult::Added)
        return;
    if (result.Result == NumberListResult::TooMany)
        Dialogs().MessageBox(MainLanguage.GetString(StringId::TooManyLabels),
                             MainLanguage.GetString(StringId::BarcodeWizard), MsgButtons::Ok,
                             MsgIcon::Warning);
    Edit9->setFocus();
    Edit9->setSelection(result.Start, result.Length);
}

void TForm9::Button4Click()
{
    if (m_records)
        m_state.AddRecordIds(*m_records);
}

void TForm9::Button100Click()
{
    const QString fileName = Dialogs().GetOpenFileName(QString(), QString(), OldLabelFilter);
    if (fileName.isEmpty())
        return;
    const LabelWizardState::FileImport result = m_state.ImportOldLabelFile(fileName);
    if (result == LabelWizardState::FileImport::Imported) {
        ShowLayout();
        PaintBox1->update();
    }
    ShowFileMessage(result, fileName);
}

void TForm9::SpeedButton1Click()
{
    const QString fileName = Dialogs().GetOpenFileName(QString(), QString(), TemplateFilter);
    if (fileName.isEmpty())
        return;
    const LabelWizardState::FileImport result = m_state.ImportTemplateDocument(fileName);
    if (result == LabelWizardState::FileImport::Imported)
        PaintBox1->update();
    ShowFileMessage(result, fileName);
}

void TForm9::ShowFileMessage(LabelWizardState::FileImport result, const QString& fileName)
{
    struct Message
    {
        LabelWizardState::FileImport kind;
        int text;
        bool named; // the file's name follows the text
    };
    static const Message Messages[] = {
        {LabelWizardState::FileImport::CannotOpen, StringId::FileNotOpened, false},
        {LabelWizardState::FileImport::Damaged, StringId::FileDamaged, false},
        {LabelWizardState::FileImport::NotQuillfen, StringId::NotQuillfenDocument, false},
        {LabelWizardState::FileImport::NotRegularFile, StringId::NotRegularFile, true},
    };
    for (const auto& [kind, id, named] : Messages) {
        if (result != kind)
            continue;
        QString text = MainLanguage.GetString(id);
        if (named)
            text += u'\n' + fileName;
        Dialogs().MessageBox(text, MainLanguage.GetString(StringId::BarcodeWizard), MsgButtons::Ok,
                             MsgIcon::Error);
    }
}

void TForm9::showEvent(QShowEvent* event)
{
    // The data window may have refilled the entries while the wizard was hidden.
    m_state.Numbers().Refresh();
    UpdateCounts();
    QDialog::showEvent(event);
}

bool TForm9::eventFilter(QObject* watched, QEvent* event)
{
    // The columns follow the list's own size, which the layout sets after
    // the dialog's.
    if (watched == ListBox1->viewport() && event->type() == QEvent::Resize) {
        const int width = static_cast<QResizeEvent*>(event)->size().width();
        const int columns = std::max(1, width / ListColumnWidth);
        ListBox1->setGridSize(QSize(width / columns, ListBox1->fontMetrics().height()));
    }
    if (watched == ListBox1 && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        QList<int> rows;
        for (const QModelIndex& index : ListBox1->selectionModel()->selectedIndexes())
            rows << index.row();
        m_state.Numbers().Remove(rows);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
