#include "designer/widgets/CreateFields.h"

#include "designer/DesignerUnits.h"
#include "designer/widgets/ColorSwatch.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/NumberText.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

// Captions of the seven rows of the dialog, top to bottom.
constexpr int RowCaptions[] = {StringId::RowCount,   StringId::ColumnCount, StringId::CellWidth,
                               StringId::CellHeight, StringId::TableBorder, StringId::CellBorder,
                               StringId::CellType};
constexpr int CellKindCaptions[] = {StringId::Barcode, StringId::Choice,  StringId::GlobalText,
                                    StringId::Link,    StringId::Measure, StringId::Picture,
                                    StringId::Text};

std::optional<int32_t> CellCount(const QString& text)
{
    int value = 0;
    // Zero or fewer pass: such a table has no cell and builds nothing. The
    // upper bound keeps a typing slip from building a huge table.
    if (!TryStrToInt(text, value) || value > DesignerUnits::MaxTableCells)
        return std::nullopt;
    return value;
}

std::optional<int32_t> CellSize(const QString& text)
{
    const std::optional<int32_t> tenths = DesignerUnits::TenthsFromMillimetres(text);
    if (!tenths || *tenths <= 0 || *tenths > DesignerUnits::MaxPageSize)
        return std::nullopt;
    return tenths;
}

} // namespace

TForm4::TForm4(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm4"));
    SetTag(this, StringId::NewTable);
    FitOnScreenWhenShown(this);
    auto* layout = new QGridLayout(this);
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    Edit3 = new QLineEdit(this);
    Edit4 = new QLineEdit(this);
    ComboBox1 = new QComboBox(this);
    ComboBox3 = new QComboBox(this);
    ComboBox2 = new QComboBox(this);
    QWidget* rows[] = {Edit1, Edit2, Edit3, Edit4, ComboBox1, ComboBox3, ComboBox2};
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        auto* label = new QLabel(this);
        SetTag(label, RowCaptions[i]);
        layout->addWidget(label, i, 0);
        layout->addWidget(rows[i], i, 1);
    }
    Button1 = new QPushButton(this);
    Button2 = new QPushButton(this);
    SetTag(Button1, StringId::Create);
    SetTag(Button2, StringId::Cancel);
    layout->addWidget(Button1, static_cast<int>(std::size(rows)), 0);
    layout->addWidget(Button2, static_cast<int>(std::size(rows)), 1);
    Button1->setDefault(true);

    // FormCreate
    for (int i = 0; i < BorderItems; ++i) {
        ComboBox1->addItem(QString::number(i) + QStringLiteral(" mm"));
        ComboBox3->addItem(QString::number(i) + QStringLiteral(" mm"));
    }
    for (size_t i = 0; i < std::size(CellKindCaptions); ++i)
        ComboBox2->addItem(QString());
    ComboBox2->setCurrentIndex(TextCellItem);

    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    ApplyLanguage();
}

void TForm4::ApplyLanguage()
{
    ApplyCaptions(this);
    for (size_t i = 0; i < std::size(CellKindCaptions); ++i)
        ComboBox2->setItemText(static_cast<int>(i), MainLanguage.GetString(CellKindCaptions[i]));
}

void TForm4::showEvent(QShowEvent* event)
{
    ComboBox1->setCurrentIndex(DefaultTableBorder);
    ComboBox2->setCurrentIndex(TextCellItem);
    ComboBox3->setCurrentIndex(DefaultCellBorder);
    Edit1->setText(QStringLiteral("5"));
    Edit2->setText(QStringLiteral("3"));
    Edit3->setText(QStringLiteral("25"));
    Edit4->setText(QStringLiteral("10"));
    QDialog::showEvent(event);
}

void TForm4::Button1Click()
{
    const std::optional<int32_t> rows = CellCount(Edit1->text());
    if (!rows)
        return RefuseInput(Edit1);
    const std::optional<int32_t> columns = CellCount(Edit2->text());
    if (!columns)
        return RefuseInput(Edit2);
    const std::optional<int32_t> width = CellSize(Edit3->text());
    if (!width)
        return RefuseInput(Edit3);
    const std::optional<int32_t> height = CellSize(Edit4->text());
    if (!height)
        return RefuseInput(Edit4);
    m_shape.Rows = *rows;
    m_shape.Columns = *columns;
    m_shape.CellWidth = *width;
    m_shape.CellHeight = *height;
    m_shape.OuterBorder = std::max(ComboBox1->currentIndex(), 0);
    m_shape.InnerBorder = std::max(ComboBox3->currentIndex(), 0);
    m_shape.Kind = TableCellKind(ComboBox2->currentIndex());
    accept();
}
