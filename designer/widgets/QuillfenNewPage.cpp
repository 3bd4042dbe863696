#include "designer/widgets/QuillfenNewPage.h"

#include "designer/DesignerUnits.h"
#include "designer/widgets/ColorSwatch.h"
#include "language/StringIds.h"
#include "platform/widgets/Captions.h"
#include "platform/widgets/ScreenFit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm1::TForm1(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm1"));
    SetTag(this, StringId::NewTemplate);
    FitOnScreenWhenShown(this);
    auto* layout = new QGridLayout(this);
    ComboBox1 = new QComboBox(this);
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    Button1 = new QPushButton(this);
    Button2 = new QPushButton(this);
    SetTag(Label1, StringId::WidthLabel);
    SetTag(Label2, StringId::HeightLabel);
    SetTag(Button1, StringId::Ok);
    SetTag(Button2, StringId::Cancel);
    layout->addWidget(ComboBox1, 0, 0, 1, 3);
    layout->addWidget(Label1, 1, 0);
    layout->addWidget(Edit1, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("mm"), this), 1, 2);
    layout->addWidget(Label2, 2, 0);
    layout->addWidget(Edit2, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("mm"), this), 2, 2);
    layout->addWidget(Button1, 3, 0);
    layout->addWidget(Button2, 3, 1);
    Button1->setDefault(true);

    // FormCreate
    for (const PaperSize& size : PaperSizes)
        ComboBox1->addItem(QString::fromLatin1(size.Name));
    ComboBox1->setCurrentIndex(A4Item);

    connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    ApplyCaptions(this);
}

void TForm1::ComboBox1Click()
{
    const int item = ComboBox1->currentIndex();
    if (item < 0 || item >= static_cast<int>(PaperSizes.size()))
        return;
    const PaperSize& size = PaperSizes[static_cast<size_t>(item)];
    Edit1->setText(DesignerUnits::MillimetreText(size.Width));
    Edit2->setText(DesignerUnits::MillimetreText(size.Height));
}

void TForm1::Button1Click()
{
    const std::optional<int32_t> width = DesignerUnits::PageSizeFromMillimetres(Edit1->text());
    if (!width) {
        RefuseInput(Edit1);
        return;
    }
    const std::optional<int32_t> height = DesignerUnits::PageSizeFromMillimetres(Edit2->text());
    if (!height) {
        RefuseInput(Edit2);
        return;
    }
    m_width = *width;
    m_height = *height;
    accept();
}
