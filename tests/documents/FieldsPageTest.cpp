#include <gtest/gtest.h>

#include "documents/BarcodeObject.h"
#include "documents/ChoiceObject.h"
#include "documents/GlobalTextObject.h"
#include "documents/LinkObject.h"
#include "documents/PageObject.h"
#include "documents/PictureObject.h"

#include "common/RecordBytes.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>

namespace {

// An A6 page in tenths of a millimetre, painted at half a pixel per unit.
constexpr int PageWidth = 1050;
constexpr int PageHeight = 1480;
constexpr double Scale = 0.5;

template <typename Field>
Field* Place(PageObject& page, std::unique_ptr<Field> field, int l, int t, int r, int b)
{
    field->SetRect(l, t, r, b);
    Field* placed = field.get();
    page.AddObject(std::move(field));
    return placed;
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

const QByteArray Svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">"
                       "<circle cx=\"50\" cy=\"50\" r=\"45\" fill=\"#20a040\"/></svg>";

// One field of each kind: text, barcode, choice, link, global text, a JPEG
// photo, an SVG drawing and a metafile of a flavour that is not drawn here.
void BuildPage(PageObject& page)
{
    auto* text = Place(page, std::make_unique<TextObject>(), 50, 50, 1000, 170);
    text->SetText(QStringLiteral("Revision report U") + QChar(27) + QChar(2) + QStringLiteral("N")
                  + QChar(27) + QChar(1) + QStringLiteral(" = 230 V"));
    text->SetSize(60);

    auto* barcode = Place(page, std::make_unique<BarcodeObject>(), 50, 200, 650, 450);
    barcode->SetText(QStringLiteral("12345678"));
    barcode->SetAlign(2);
    barcode->SetSize(50);

    auto* choice = Place(page, std::make_unique<ChoiceObject>(), 700, 200, 1000, 300);
    choice->SetText(QStringLiteral("Passed;") + QChar(27) + QChar(5) + QStringLiteral("Failed"));
    choice->Activate();
    choice->SetForeColor(0x0000C0);

    auto* link = Place(page, std::make_unique<LinkObject>(), 700, 350, 1000, 450);
    link->SetText(QStringLiteral("https://example.com/manual.pdf;Manual"));
    link->SetForeColor(0xC00000);

    auto* global = Place(page, std::make_unique<GlobalTextObject>(page.GetGlobalTexts()), 50, 500, 1000, 600);
    global->SetText(QStringLiteral("Customer: Vod\u00E1rna Praha"));
    global->SetAlign(3);

    TJPEGImage jpeg;
    jpeg.Assign(Photo());
    Place(page, std::make_unique<PictureObject>(), 50, 650, 530, 970)->SetGraphic(&jpeg);

    TMetafile svg;
    svg.LoadFromBytes(Svg);
    Place(page, std::make_unique<PictureObject>(), 570, 650, 1000, 970)->SetGraphic(&svg);

    TMetafile emf;
    emf.LoadFromBytes(QByteArray("\x01\x00\x00\x00", 4) + QByteArray(36, '\0') + " EMF" + QByteArray(20, '\0'));
    Place(page, std::make_unique<PictureObject>(), 50, 1000, 1000, 1400)->SetGraphic(&emf);
}

} // namespace

TEST(FieldsPageTest, EveryFieldKindTravelsThroughThePageRecordAndXml)
{
    GlobalTextStorage globals;
    PageObject page(&globals);
    BuildPage(page);
    const QByteArray record = Written([&page](QIODevice& s) { page.Save(s); });

    GlobalTextStorage otherGlobals;
    otherGlobals.SetText(0, globals.GetText(0));
    PageObject loaded(&otherGlobals);
    ReadBuffer in(record);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_TRUE(in.atEnd());
    ASSERT_EQ(loaded.GetCount(), page.GetCount());
    for (int i = 0; i < page.GetCount(); ++i) {
        EXPECT_EQ(loaded.GetObject(i)->GetTypeCode(), page.GetObject(i)->GetTypeCode()) << i;
        EXPECT_EQ(loaded.GetObject(i)->GetDisplayText(), page.GetObject(i)->GetDisplayText()) << i;
    }
    EXPECT_EQ(Written([&loaded](QIODevice& s) { loaded.Save(s); }), record);

    const QByteArray xml = Written([&loaded](QIODevice& s) { loaded.WriteXml(s); });
    qsizetype at = 0;
    for (const char* element : {"<Page>", "<Text>", "<Barcode>", "<Choice>", "<Link>", "<Global>", "<Picture>",
                                "<Picture>", "<Picture>", "</Page>"}) {
        at = xml.indexOf(element, at);
        ASSERT_GE(at, 0) << element;
        ++at;
    }
    // The choice exports all its alternatives, the link its whole text.
    EXPECT_TRUE(xml.contains("<String>Passed;<Style>5</Style>\nFailed</String>"));
    EXPECT_TRUE(xml.contains("<String>https://example.com/manual.pdf;Manual</String>"));
}

// The page painted through the canvas into an image that is kept beside the
// test program (FieldsPage.png) for a person to look at.
TEST(FieldsPageTest, EveryFieldKindPaintsOnAPage)
{
    GlobalTextStorage globals;
    PageObject page(&globals);
    BuildPage(page);

    QImage image(int(PageWidth * Scale), int(PageHeight * Scale), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(Scale, Scale);
        PainterCanvas canvas(painter);
        page.Draw(canvas, DrawContext{});
    }
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("FieldsPage.png"));
    ASSERT_TRUE(image.save(path)) << path.toStdString();

    // Smoke checks only (the layout is tested with fixed metrics elsewhere):
    // the photo's red quarter, the drawing's green disc, dark bars in the
    // barcode, and the grey frame of the metafile that cannot be drawn.
    const QRgb red = At(image, 150, 720);
    EXPECT_GT(qRed(red), 150);
    EXPECT_LT(qGreen(red), 90);
    const QRgb green = At(image, 785, 810);
    EXPECT_GT(qGreen(green), 120);
    EXPECT_LT(qRed(green), 90);
    int dark = 0;
    for (int x = 60; x < 640; x += 2)
        dark += IsDark(At(image, x, 300)) ? 1 : 0;
    EXPECT_GT(dark, 60);
    EXPECT_LT(dark, 230);
    EXPECT_EQ(qGray(At(image, 525, 1001)), qGray(qRgb(128, 128, 128)));
}
