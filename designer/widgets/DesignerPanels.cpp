// The property panels of the designer window: every control shows what the
// selected fields share and applies an edit to all of them. Controls are
// connected to what the user does (activated, returnPressed, textEdited), so
// filling them from the selection never writes back into it.

#include "designer/DesignerUnits.h"
#include "designer/widgets/ColorSwatch.h"
#include "designer/widgets/DesignerCanvas.h"
#include "designer/widgets/LimitSetup.h"
#include "designer/widgets/QuillfenDesigner.h"
#include "documents/Graphics.h"
#include "documents/MeasureLimit.h"
#include "documents/MeasureObject.h"
#include "documents/StyledText.h"
#include "documents/widgets/StyledTextDelegate.h"
#include "instruments/QuantityTable.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/NumberText.h"
#include "platform/UserDialogs.h"
#include "platform/widgets/Captions.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using namespace DesignerUnits;

// The geometry boxes in order, with their captions and the selection's getter and setter.
struct GeometryBox
{
    const char* name;
    int caption;
    int32_t (QuillfenSelection::*get)() const;
    void (QuillfenSelection::*set)(int32_t);
};
constexpr std::array<GeometryBox, 6> GeometryBoxTable = {{
    {"Edit1", StringId::LeftLabel, &QuillfenSelection::GetLeft, &QuillfenSelection::SetLeft},
    {"Edit2", StringId::TopLabel, &QuillfenSelection::GetTop, &QuillfenSelection::SetTop},
    {"Edit3", StringId::RightLabel, &QuillfenSelection::GetRight, &QuillfenSelection::SetRight},
    {"Edit4", StringId::BottomLabel, &QuillfenSelection::GetBottom, &QuillfenSelection::SetBottom},
    {"Edit5", StringId::WidthLabel, &QuillfenSelection::GetWidth, &QuillfenSelection::SetWidth},
    {"Edit6", StringId::HeightLabel, &QuillfenSelection::GetHeight, &QuillfenSelection::SetHeight},
}};
constexpr int RightBox = 2;
constexpr int BottomBox = 3;
constexpr int WidthBox = 4;
constexpr int HeightBox = 5;

constexpr int BorderWidths = 11; // "0 mm" ... "1 mm" in tenths
constexpr int SizeItems = 10;    // "1 mm" ... "10 mm"
constexpr int AlignItems = 18;
constexpr int AlignItemHeight = 40;
constexpr QSize AlignIconSize(48, 32);
constexpr int FormatItemHeight = 18;
constexpr int QuantityItemHeight = 20;
constexpr int StyledTabColumn = 55;
constexpr int BordersPreviewSize = 80;
constexpr int SwatchSize = 24;
// Rows of the quantity list shown without scrolling, on a laptop's screen too.
constexpr int QuantityRowsShown = 8;

// The measure field's value formats, as UTF-8 styled texts (ESC 2 subscript
// is not used; the brackets show the SI prefix).
constexpr const char* FormatItems[] = {"120", "120 AC", "120 V", "120 V AC", "U=120", "U=120 AC",
                                       "U=120 V", "U=120 V AC", "120 [\xCE\xBC]", "120 [m]", "120 [ ]",
                                       "120 [k]", "120 [M]", "120 [G]"};
constexpr const char* DecimalItems[] = {"0,", "0,0", "0,00", "0,000", "0,0000"};

// Item i of the alignment list: a white box with a black block where the
// text would sit and an "A" in it, upright for 0..8 and turned for 9..17.
void DrawAlignItem(QPainter& painter, const QRect& cell, int item)
{
    const QRect inner = cell.adjusted(2, 2, -2, -2);
    painter.fillRect(inner, Qt::white);
    const int w = inner.width() / 2;
    const int h = inner.height() / 2;
    const int column = (item % 9) / 3;
    const int row = item % 3;
    const QRect block(inner.left() + column * inner.width() / 4,
                      inner.top() + row * inner.height() / 4, w, h);
    painter.fillRect(block, Qt::black);
    QFont font(QStringLiteral("Courier New"));
    font.setBold(true);
    font.setPixelSize(FormatItemHeight);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.save();
    painter.translate(block.center());
    if (item >= 9)
        painter.rotate(-90);
    painter.drawText(QRect(-w / 2, -h / 2, w, h), Qt::AlignCenter, QStringLiteral("A"));
    painter.restore();
}

// The closed box shows the chosen item's drawing, so each item carries it as
// its icon; the items have no text.
QIcon AlignItemIcon(int item)
{
    QPixmap pixmap(AlignIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    DrawAlignItem(painter, pixmap.rect(), item);
    return QIcon(pixmap);
}

class AlignItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        DrawAlignItem(*painter, option.rect, index.row());
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), AlignItemHeight};
    }
};

QLabel* CaptionLabel(int id, QWidget* parent)
{
    auto* label = new QLabel(parent);
    SetTag(label, id);
    return label;
}

// Characters a list box shows at least, whatever its entries.
constexpr int ListBoxMinimumChars = 12;

// A kind's panel lines up with the geometry boxes and adds no margins of its
// own to the height the column takes.
template <typename Layout>
Layout* PanelLayout(QWidget* panel)
{
    auto* layout = new Layout(panel);
    layout->setContentsMargins(QMargins());
    return layout;
}

QComboBox* ListBox(const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    // A long entry (a font's name, a quantity's description) widens the
    // drop-down, not the panel.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(ListBoxMinimumChars);
    return box;
}

// A common value shown in a box: empty for the mixed marker.
QString CommonMillimetres(int32_t value)
{
    return value == QuillfenSelection::Mixed ? QString() : MillimetreText(value);
}

} // namespace

void TForm2::BuildPanels()
{
    auto* area = new QWidget(ScrollBox2);
    auto* column = new QVBoxLayout(area);

    auto* geometry = new QGridLayout;
    for (size_t i = 0; i < GeometryBoxTable.size(); ++i) {
        const GeometryBox& box = GeometryBoxTable[i];
        auto* edit = new QLineEdit(area);
        edit->setObjectName(QString::fromLatin1(box.name));
        GeometryBoxes[i] = edit;
        geometry->addWidget(CaptionLabel(box.caption, area), int(i), 0);
        geometry->addWidget(edit, int(i), 1);
        geometry->addWidget(new QLabel(QStringLiteral("mm"), area), int(i), 2);
        connect(edit, &QLineEdit::returnPressed, this, [this, i] { GeometryEnter(int(i)); });
    }
    Edit1 = GeometryBoxes[0];
    Edit2 = GeometryBoxes[1];
    Edit3 = GeometryBoxes[2];
    Edit4 = GeometryBoxes[3];
    Edit5 = GeometryBoxes[4];
    Edit6 = GeometryBoxes[5];
    // The borders widget and the swatches stand beside the geometry boxes:
    // below them they would take the height the quantity list needs.
    auto* top = new QHBoxLayout;
    top->addLayout(geometry, 1);
    auto* borders = new QVBoxLayout;
    borders->addWidget(CaptionLabel(StringId::Borders, area));
    PaintBox4 = new BordersPreview(this, area);
    PaintBox4->setFixedSize(BordersPreviewSize, BordersPreviewSize);
    borders->addWidget(PaintBox4);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (int width = 0; width < BorderWidths; ++width)
        PopupMenu1->addAction(MillimetreText(width) + QStringLiteral(" mm"), this,
                              [this, width] { BorderWidthClick(width); });
    QAction* allZero = PopupMenu1->addAction(QString(), this, &TForm2::N0mmAll1Click);
    SetTag(allZero, StringId::AllZero);

    auto* swatches = new QHBoxLayout;
    Panel13 = new ColorSwatch(clBlack, area);
    Panel13->setObjectName(QStringLiteral("Panel13"));
    Panel14 = new ColorSwatch(clBlack, area);
    Panel14->setObjectName(QStringLiteral("Panel14"));
    for (ColorSwatch* swatch : {Panel13, Panel14}) {
        swatch->setFixedSize(SwatchSize, SwatchSize);
        swatches->addWidget(swatch);
    }
    swatches->addStretch();
    connect(Panel13, &ColorSwatch::clicked, this, &TForm2::Panel13Click);
    connect(Panel14, &ColorSwatch::clicked, this, &TForm2::Panel14Click);
    borders->addLayout(swatches);
    top->addLayout(borders);
    top->setAlignment(borders, Qt::AlignTop);
    column->addLayout(top);

    TextPanel = new QWidget(area);
    TextPanel->setObjectName(QStringLiteral("TextPanel"));
    auto* text = PanelLayout<QGridLayout>(TextPanel);
    ComboBox1 = ListBox("ComboBox1", TextPanel);
    ComboBox1->addItems(QFontDatabase::families());
    ComboBox2 = ListBox("ComboBox2", TextPanel);
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    for (int mm = 1; mm <= SizeItems; ++mm)
        ComboBox2->addItem(QString::number(mm) + QStringLiteral(" mm"));
    ComboBox5 = ListBox("ComboBox5", TextPanel);
    ComboBox5->setItemDelegate(new AlignItemDelegate(ComboBox5));
    ComboBox5->setIconSize(AlignIconSize);
    for (int i = 0; i < AlignItems; ++i)
        ComboBox5->addItem(AlignItemIcon(i), QString());
    ComboBox7 = ListBox("ComboBox7", TextPanel);
    for (size_t i = 0; i < TextTypeCaptions.size(); ++i)
        ComboBox7->addItem(QString());
    text->addWidget(CaptionLabel(StringId::FontLabel, TextPanel), 0, 0);
    text->addWidget(ComboBox1, 0, 1);
    text->addWidget(CaptionLabel(StringId::SizeLabel, TextPanel), 1, 0);
    text->addWidget(ComboBox2, 1, 1);
    text->addWidget(CaptionLabel(StringId::AlignLabel, TextPanel), 2, 0);
    text->addWidget(ComboBox5, 2, 1);
    text->addWidget(ComboBox7, 3, 0, 1, 2);
    connect(ComboBox1, &QComboBox::activated, this, &TForm2::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &TForm2::ComboBox2Change);
    connect(ComboBox2->lineEdit(), &QLineEdit::returnPressed, this, &TForm2::ComboBox2Enter);
    connect(ComboBox5, &QComboBox::activated, this, &TForm2::ComboBox5Change);
    connect(ComboBox7, &QComboBox::activated, this, &TForm2::ComboBox7Change);
    column->addWidget(TextPanel);

    Panel3 = new QWidget(area);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto* global = PanelLayout<QHBoxLayout>(Panel3);
    Edit9 = new QLineEdit(Panel3);
    Edit9->setObjectName(QStringLiteral("Edit9"));
    global->addWidget(CaptionLabel(StringId::GlobalText, Panel3));
    global->addWidget(Edit9);
    connect(Edit9, &QLineEdit::returnPressed, this, &TForm2::Edit9Enter);
    column->addWidget(Panel3);

    Panel11 = new QWidget(area);
    Panel11->setObjectName(QStringLiteral("Panel11"));
    auto* measure = PanelLayout<QGridLayout>(Panel11);
    ComboBox3 = ListBox("ComboBox3", Panel11);
    ComboBox3->setItemDelegate(
        new StyledTextDelegate(nullptr, StyledTabColumn, ComboBox3, FormatItemHeight));
    for (const char* format : FormatItems)
        ComboBox3->addItem(QString::fromUtf8(format));
    SpeedButton2 = new QToolButton(Panel11);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SetTag(SpeedButton2, StringId::Limits);
    ComboBox8 = ListBox("ComboBox8", Panel11);
    ComboBox8->addItem(QString());
    for (const char* decimals : DecimalItems)
        ComboBox8->addItem(QString::fromLatin1(decimals));
    CheckListBox1 = new QListWidget(Panel11);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setItemDelegate(
        new StyledTextDelegate(nullptr, StyledTabColumn, CheckListBox1, QuantityItemHeight));
    for (int i = 0; i < QuantityItems; ++i) {
        auto* item = new QListWidgetItem(QString::number(i), CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // The list takes the height the other panels leave, and never less than
    // a few rows: finding a quantity row by row is no use.
    CheckListBox1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    CheckListBox1->setMinimumHeight(QuantityRowsShown * CheckListBox1->sizeHintForRow(0)
                                    + 2 * CheckListBox1->frameWidth()
                                    + CheckListBox1->horizontalScrollBar()->sizeHint().height());
    // The limits button stands on the caption's row, which has room for it.
    measure->addWidget(CaptionLabel(StringId::Measure, Panel11), 0, 0);
    measure->addWidget(SpeedButton2, 0, 1, Qt::AlignRight);
    measure->addWidget(CaptionLabel(StringId::FormatLabel, Panel11), 1, 0);
    measure->addWidget(ComboBox3, 1, 1);
    measure->addWidget(CaptionLabel(StringId::DecimalDigits, Panel11), 2, 0);
    measure->addWidget(ComboBox8, 2, 1);
    measure->addWidget(CheckListBox1, 3, 0, 1, 2);
    connect(ComboBox3, &QComboBox::activated, this, &TForm2::ComboBox3Change);
    connect(ComboBox8, &QComboBox::activated, this, &TForm2::ComboBox8Change);
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm2::SpeedButton2Click);
    connect(CheckListBox1, &QListWidget::itemChanged, this, &TForm2::CheckListBox1ClickCheck);
    column->addWidget(Panel11, 1);

    Panel12 = new QWidget(area);
    Panel12->setObjectName(QStringLiteral("Panel12"));
    auto* picture = PanelLayout<QHBoxLayout>(Panel12);
    SpeedButton1 = new QToolButton(Panel12);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SetTag(SpeedButton1, StringId::PictureFile);
    picture->addWidget(SpeedButton1);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm2::SpeedButton1Click);
    column->addWidget(Panel12);
    // Without the measure panel the panels stay at the top.
    column->addStretch();
    ScrollBox2->setWidget(area);
    // The panels are never cut at the side: the area is as wide as the
    // widest panel needs, whichever panels are shown.
    ScrollBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitPanels();
}

void TForm2::FitPanels()
{
    QWidget* area = ScrollBox2->widget();
    // A caption changed inside a panel reaches the area's layout only after
    // the panel's own layout has been done again, in a later event; the
    // width is wanted now.
    for (QWidget* panel : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (QLayout* layout = panel->layout())
            layout->activate();
    QLayout* column = area->layout();
    column->activate();
    // As wide as the widest panel, shown or hidden: the drawing area beside
    // it keeps its place whatever the selection shows.
    int widest = 0;
    for (int i = 0; i < column->count(); ++i) {
        QLayoutItem* item = column->itemAt(i);
        const QWidget* panel = item->widget();
        widest =
            std::max(widest, panel ? panel->sizeHint().expandedTo(panel->minimumSizeHint()).width()
                                   : item->sizeHint().width());
    }
    const QMargins margins = column->contentsMargins();
    ScrollBox2->setMinimumWidth(widest + margins.left() + margins.right()
                              + 2 * ScrollBox2->frameWidth()
                              + ScrollBox2->verticalScrollBar()->sizeHint().width());
    // The window's layout counts the new width at once, so that a fit of
    // the window that follows makes room for it.
    centralWidget()->updateGeometry();
}

void TForm2::PanelsLanguage()
{
    for (size_t i = 0; i < TextTypeCaptions.size(); ++i)
        ComboBox7->setItemText(int(i), MainLanguage.GetString(TextTypeCaptions[i]));
    ComboBox8->setItemText(0, MainLanguage.GetString(StringId::GeneralFormat));
    const QSignalBlocker block(CheckListBox1);
    for (int i = 0; i < QuantityItems; ++i) {
        const QuantityRow* row = FindQuantityRow(i);
        CheckListBox1->item(i)->setText(row ? QString::fromUtf8(row->Symbol) + u'\t' + GetQuantityDescription(i)
                                            : QString::number(i));
    }
}

// --- Refresh -----------------------------------------------------------------

void TForm2::Refresh()
{
    const QuillfenSelection& selection = Document->GetSelection();
    const bool any = selection.GetCount() > 0;
    for (size_t i = 0; i < GeometryBoxTable.size(); ++i)
        GeometryBoxes[i]->setText(any ? CommonMillimetres((selection.*GeometryBoxTable[i].get)()) : QString());
    Panel13->SetColor(any ? selection.GetForeColor() : clBlack);
    Panel14->SetColor(any ? selection.GetBackColor() : clBlack);

    Panel11->setVisible(selection.HasMeasureObject());
    if (selection.HasMeasureObject()) {
        ComboBox3->setCurrentIndex(selection.GetFormat());
        ComboBox8->setCurrentIndex(selection.GetDecimalPosition());
        RefreshSymbols();
    }
    TextPanel->setVisible(selection.HasTextObject());
    if (selection.HasTextObject()) {
        const int32_t size = selection.GetSize();
        ComboBox2->setEditText(size == QuillfenSelection::Mixed ? QString()
                                                                : MillimetreText(size) + QStringLiteral(" mm"));
        ComboBox5->setCurrentIndex(selection.GetAlign());
        ComboBox7->setCurrentIndex(selection.GetType());
        const std::optional<QByteArray> font = selection.GetFontName();
        ComboBox1->setCurrentIndex(font ? ComboBox1->findText(QString::fromLatin1(*font)) : -1);
    }
    Panel3->setVisible(selection.HasGlobalTextObject());
    if (selection.HasGlobalTextObject()) {
        const int32_t gid = selection.GetGID();
        Edit9->setText(gid == QuillfenSelection::Mixed ? QString() : QString::number(gid));
    }
    Panel12->setVisible(selection.HasPictureObject());
    const AbstractFormObject* only = selection.GetCount() == 1 ? selection.GetObject(0) : nullptr;
    SpeedButton27->setChecked(only && only->IsGroup());
    PaintBox4->update();
}

void TForm2::RefreshSymbols()
{
    const QSignalBlocker block(CheckListBox1);
    const std::vector<bool> checked = Document->GetSelection().CheckSymbols(CheckListBox1->count());
    for (int i = 0; i < CheckListBox1->count(); ++i)
        CheckListBox1->item(i)->setCheckState(checked[size_t(i)] ? Qt::Checked : Qt::Unchecked);
}

void TForm2::Applied()
{
    Document->SetModified();
    Repaint();
}

// --- Geometry and borders ----------------------------------------------------

void TForm2::GeometryEnter(int box)
{
    QLineEdit* edit = GeometryBoxes[size_t(box)];
    const std::optional<int32_t> value = TenthsFromMillimetres(edit->text());
    if (!value)
        return RefuseInput(edit);
    QuillfenSelection& selection = Document->GetSelection();
    (selection.*GeometryBoxTable[size_t(box)].set)(*value);
    if (box == WidthBox)
        Edit3->setText(CommonMillimetres(selection.GetCount() ? selection.GetRight() : QuillfenSelection::Mixed));
    if (box == HeightBox)
        Edit4->setText(CommonMillimetres(selection.GetCount() ? selection.GetBottom() : QuillfenSelection::Mixed));
    Applied();
}

void TForm2::BorderSideChosen(int side, const QPoint& globalPos)
{
    BorderSide = side;
    PopupMenu1->popup(globalPos);
}

void TForm2::BorderWidthClick(int width)
{
    QuillfenSelection& selection = Document->GetSelection();
    switch (BorderSide) {
    case RightSide: selection.SetRightBorder(width); break;
    case TopSide: selection.SetTopBorder(width); break;
    case BottomSide: selection.SetBottomBorder(width); break;
    case LeftSide: selection.SetLeftBorder(width); break;
    }
    Applied();
}

void TForm2::N0mmAll1Click()
{
    QuillfenSelection& selection = Document->GetSelection();
    selection.SetLeftBorder(0);
    selection.SetTopBorder(0);
    selection.SetRightBorder(0);
    selection.SetBottomBorder(0);
    Applied();
}

void TForm2::Panel13Click()
{
    if (!ChooseSwatchColor(*Panel13))
        return;
    Document->GetSelection().SetForeColor(Panel13->Color());
    Applied();
}

void TForm2::Panel14Click()
{
    if (!ChooseSwatchColor(*Panel14))
        return;
    Document->GetSelection().SetBackColor(Panel14->Color());
    Applied();
}

// --- Text panel --------------------------------------------------------------

void TForm2::ComboBox1Change()
{
    Document->GetSelection().SetFontName(ComboBox1->currentText().toLatin1());
    Applied();
}

void TForm2::ComboBox2Change()
{
    Document->GetSelection().SetSize(ComboBox2->currentIndex() * 10 + 10);
    Applied();
}

void TForm2::ComboBox2Enter()
{
    const std::optional<int32_t> size = TenthsFromMillimetreText(ComboBox2->currentText());
    if (!size || *size <= 0)
        return RefuseInput(ComboBox2->lineEdit());
    Document->GetSelection().SetSize(*size);
    Applied();
}

void TForm2::ComboBox5Change()
{
    Document->GetSelection().SetAlign(ComboBox5->currentIndex());
    Applied();
}

void TForm2::ComboBox7Change()
{
    QuillfenSelection& selection = Document->GetSelection();
    selection.SetType(ComboBox7->currentIndex());
    ComboBox7->setCurrentIndex(selection.GetType());
    if (selection.HasMeasureObject())
        RefreshSymbols();
    Applied();
}

void TForm2::Edit9Enter()
{
    int gid = 0;
    if (!TryStrToInt(Edit9->text(), gid)) {
        Dialogs().Beep();
        Edit9->setFocus();
        return;
    }
    Document->GetSelection().SetGID(gid);
    Applied();
}

// --- Measure and picture panels ----------------------------------------------

void TForm2::ComboBox3Change()
{
    Document->GetSelection().SetFormat(ComboBox3->currentIndex());
    Applied();
}

void TForm2::ComboBox8Change()
{
    Document->GetSelection().SetDecimalPosition(ComboBox8->currentIndex());
    Applied();
}

void TForm2::SpeedButton2Click()
{
    QuillfenSelection& selection = Document->GetSelection();
    LimitsDialog->SetLimit(selection.GetLimit());
    if (LimitsDialog->exec() != QDialog::Accepted)
        return;
    const MeasureLimit limit = LimitsDialog->GetLimit();
    const bool used = limit.GetMinType() != MeasureLimit::NoAction || limit.GetMaxType() != MeasureLimit::NoAction;
    selection.SetLimit(used ? &limit : nullptr);
    Applied();
}

void TForm2::CheckListBox1ClickCheck(QListWidgetItem* item)
{
    const int quantity = CheckListBox1->row(item);
    if (item->checkState() == Qt::Checked)
        Document->GetSelection().AddSymbol(quantity);
    else
        Document->GetSelection().RemoveSymbol(quantity);
    Applied();
}

void TForm2::SpeedButton1Click()
{
    const QString name = Dialogs().GetOpenFileName(
        MainLanguage.GetString(StringId::PictureFile), QString(),
        QStringLiteral("All (*.jpg *.jpeg *.bmp *.emf *.wmf *.svg);;JPEG Image File (*.jpg);;"
                       "JPEG Image File (*.jpeg);;Bitmaps (*.bmp);;Enhanced Metafiles (*.emf);;"
                       "Metafiles (*.wmf);;Scalable Vector Graphics (*.svg)"));
    if (name.isEmpty())
        return;
    QString error;
    const std::unique_ptr<TGraphic> graphic = LoadGraphicFile(name, &error);
    if (!graphic) {
        Dialogs().MessageBox(MainLanguage.GetString(StringId::FileNotOpened) + u'\n' + error,
                             MainLanguage.GetString(StringId::TemplateDesigner), MsgButtons::Ok,
                             MsgIcon::Error);
        return;
    }
    Document->GetSelection().SetPicture(graphic.get());
    Applied();
}
