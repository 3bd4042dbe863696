#include <gtest/gtest.h>

#include "documents/BarcodeObject.h"
#include "documents/ChoiceObject.h"
#include "documents/GlobalTextObject.h"
#include "documents/Linkobject.h"
#include "documents/PictureObject.h"
#include "documents/JpegCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>

namespace {

// An A6 page in tenths of a millimetre, painted at half a pixel per unit.
constexpr int PageWidth = 1050;
constexpr int PageHeight = 1480;
constexpr double Scale = 0.5;

template <typename Field>
std::unique_ptr<Field> Placed(std::unique_ptr<Field> field, int l, int t, int r, int b)
{
    field->SetRect(l, t, r, b);
    return field;
}

QImage Photo()
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 240));
    QPainter p(&image);
    p.fillRect(0, 0, 60, 40, QColor(210, 30, 30));
    p.fillRect(60, 40, 60, 40, QColor(30, 60, 200));
    return image;
}

// The colour at a model point of the page.
QRgb At(const QImage& page, int x, int y)
{
    return page.pixel(int(x * Scale), int(y * Scale));
}

bool IsDark(QRgb c)
{
    return qGray(c) < 100;
}

} // namespace

// One field of each kind on a page, painted through the canvas into an image
// that is kept beside the test program (FieldsPage.png) for a person to look at.
TEST(FieldsPageTest, EveryFieldKindPaintsOnAPage)
{
    GlobalTextStorage globals;
    std::vector<std::unique_ptr<AbstractFormObject>> fields;

    auto text = Placed(std::make_unique<TextObject>(), 50, 50, 1000, 170);
    text->SetText(QStringLiteral("Revision report U") + QChar(27) + QChar(2) + QStringLiteral("N")
                  + QChar(27) + QChar(1) + QStringLiteral(" = 230 V"));
    text->SetSize(60);
    fields.push_back(std::move(text));

    auto barcode = Placed(std::make_unique<BarcodeObject>(), 50, 200, 650, 450);
    barcode->SetText(QStringLiteral("12345678"));
    barcode->SetAlign(2);
    barcode->SetSize(50);
    fields.push_back(std::move(barcode));

    auto choice = Placed(std::make_unique<ChoiceObject>(), 700, 200, 1000, 300);
    choice->SetText(QStringLiteral("Passed;") + QChar(27) + QChar(5) + QStringLiteral("Failed"));
    choice->Activate();
    choice->SetForeColor(0x0000C0);
    fields.push_back(std::move(choice));

    auto link = Placed(std::make_unique<LinkObject>(), 700, 350, 1000, 450);
    link->SetText(QStringLiteral("https://example.com/manual.pdf;Manual"));
    link->SetForeColor(0xC00000);
    fields.push_back(std::move(link));

    auto global = Placed(std::make_unique<GlobalTextObject>(&globals), 50, 500, 1000, 600);
    global->SetText(QStringLiteral("Customer: Vod\u00E1rna Praha"));
    global->SetAlign(3);
    fields.push_back(std::move(global));

    TJPEGImage jpeg;
    ASSERT_TRUE(jpeg.Assign(Photo()));
    auto photo = Placed(std::make_unique<PictureObject>(), 50, 650, 530, 970);
    photo->SetGraphic(&jpeg);
    fields.push_back(std::move(photo));

    TMetafile svg;
    ASSERT_TRUE(svg.LoadFromBytes("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
                                  "<circle cx=\"50\" cy=\"50\" r=\"45\" fill=\"#20a040\"/></svg>"));
    auto drawing = Placed(std::make_unique<PictureObject>(), 570, 650, 1000, 970);
    drawing->SetGraphic(&svg);
    fields.push_back(std::move(drawing));

    TMetafile emf;
    emf.LoadFromBytes(QByteArray("\x01\x00\x00\x00", 4) + QByteArray(36, '\0') + " EMF" + QByteArray(20, '\0'));
    auto foreign = Placed(std::make_unique<PictureObject>(), 50, 1000, 1000, 1400);
    foreign->SetGraphic(&emf);
    fields.push_back(std::move(foreign));

    QImage page(int(PageWidth * Scale), int(PageHeight * Scale), QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(Scale, Scale);
        PainterCanvas canvas(painter);
        for (const auto& field : fields)
            field->Draw(canvas, DrawContext{});
    }
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("FieldsPage.png"));
    ASSERT_TRUE(page.save(path)) << path.toStdString();

    // Smoke checks only (the layout is tested with fixed metrics elsewhere):
    // the photo's red quarter, the drawing's green disc, dark bars in the
    // barcode, and the grey frame of the metafile that cannot be drawn.
    const QRgb red = At(page, 150, 720);
    EXPECT_GT(qRed(red), 150);
    EXPECT_LT(qGreen(red), 90);
    const QRgb green = At(page, 785, 810);
    EXPECT_GT(qGreen(green), 120);
    EXPECT_LT(qRed(green), 90);
    int dark = 0;
    for (int x = 60; x < 640; x += 2)
        dark += IsDark(At(page, x, 300)) ? 1 : 0;
    EXPECT_GT(dark, 60);
    EXPECT_LT(dark, 230);
    EXPECT_EQ(qGray(At(page, 525, 1001)), qGray(qRgb(128, 128, 128)));
}
