#include <gtest/gtest.h>

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"
#include "documents/JpegCodec.h"
#include "documents/PictureObject.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/stat.h>

namespace {

QImage Quarters()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, qRgb(200, 20, 20));
    return image;
}

QByteArray Encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

const QByteArray Svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"10\">"
                       "<rect x=\"0\" y=\"0\" width=\"10\" height=\"10\" fill=\"#00ff00\"/></svg>";

// The start of an enhanced metafile as Windows builds store it.
QByteArray FakeEmf()
{
    QByteArray bytes = Le32(1) + Le32(108) + QByteArray(32, '\x07');
    bytes += " EMF";
    bytes += QByteArray(64, '\x11');
    return bytes;
}

QByteArray PictureTail(uint8_t kind, const QByteArray& picture)
{
    QByteArray bytes("\x01", 1);
    bytes += static_cast<char>(kind);
    bytes += Le32(static_cast<int32_t>(picture.size() + 1)) + picture + QByteArray(1, '\0');
    return bytes;
}

const QByteArray NoPicture = QByteArray("\x01\x00", 2) + Le32(0);

template <typename Graphic>
std::unique_ptr<Graphic> GraphicFrom(const QByteArray& bytes)
{
    auto graphic = std::make_unique<Graphic>();
    graphic->LoadFromBytes(bytes);
    return graphic;
}

} // namespace

TEST(PictureObjectTest, FieldWithoutPicture)
{
    PictureObject picture;
    EXPECT_EQ(picture.GetTypeCode(), FourCC("pict"));
    EXPECT_EQ(picture.GetGraphic(), nullptr);
    EXPECT_EQ(SavedRecord(picture), BaseRecord() + NoPicture);
    // The picture is not exported: the XML is the base part's.
    EXPECT_EQ(WrittenXml(picture), DefaultBaseXml());

    PictureObject loaded;
    qint64 left = -1;
    ASSERT_TRUE(LoadRecord(loaded, BaseRecord() + NoPicture + "more", &left));
    EXPECT_EQ(left, 4);
    EXPECT_EQ(loaded.GetGraphic(), nullptr);
}

TEST(PictureObjectTest, EveryKindRoundTripsByteForByte)
{
    // A JPEG at a quality we would never choose, an indexed bitmap, an SVG
    // drawing and a metafile of a flavour we cannot draw: each comes back as
    // exactly the bytes it was given, through copies, saves and loads.
    QImage indexed = Quarters().convertToFormat(QImage::Format_Indexed8);
    struct Case
    {
        std::unique_ptr<TGraphic> graphic;
        uint8_t kind;
        bool drawable;
    };
    Case cases[] = {
        {GraphicFrom<TJPEGImage>(Encoded(Quarters(), "jpeg", 37)), 3, true},
        {GraphicFrom<TBitmap>(Encoded(indexed, "bmp")), 1, true},
        {GraphicFrom<TMetafile>(Svg), 2, true},
        {GraphicFrom<TMetafile>(FakeEmf()), 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        const QByteArray bytes = c.graphic->SaveToBytes();
        PictureObject field;
        field.SetRect(10, 20, 410, 320);
        field.SetGraphic(c.graphic.get());
        ASSERT_NE(field.GetGraphic(), nullptr);
        EXPECT_NE(field.GetGraphic(), c.graphic.get());

        const QByteArray record = BaseRecord(10, 20, 410, 320) + PictureTail(c.kind, bytes);
        EXPECT_EQ(SavedRecord(field), record);

        PictureObject loaded;
        qint64 left = -1;
        ASSERT_TRUE(LoadRecord(loaded, record + "tail", &left));
        EXPECT_EQ(left, 4);
        ASSERT_NE(loaded.GetGraphic(), nullptr);
        EXPECT_EQ(loaded.GetGraphic()->Kind(), GraphicKind(c.kind));
        EXPECT_EQ(loaded.GetGraphic()->SaveToBytes(), bytes);
        EXPECT_EQ(loaded.GetGraphic()->IsDrawable(), c.drawable);
        EXPECT_EQ(SavedRecord(loaded), record);
        EXPECT_EQ(SavedRecord(*loaded.Clone()), record);
    }
}

TEST(PictureObjectTest, DecodedPictures)
{
    const auto jpeg = GraphicFrom<TJPEGImage>(Encoded(Quarters(), "jpeg", 90));
    EXPECT_EQ(jpeg->Size(), QSize(40, 30));
    const QRgb red = jpeg->Image().pixel(5, 5);
    EXPECT_GT(qRed(red), 180);
    EXPECT_LT(qGreen(red), 50);

    const auto bitmap = GraphicFrom<TBitmap>(Encoded(Quarters(), "bmp"));
    EXPECT_EQ(bitmap->Image().pixel(5, 5), qRgb(200, 20, 20));
    EXPECT_EQ(bitmap->Image().pixel(30, 25), qRgb(255, 255, 255));

    const auto svg = GraphicFrom<TMetafile>(Svg);
    EXPECT_EQ(svg->Size(), QSize(20, 10));
    EXPECT_FALSE(svg->IsForeignFlavour());
    const QImage raster = svg->Rasterize(QSize(40, 20));
    EXPECT_EQ(raster.pixel(5, 5), qRgb(0, 255, 0));
    EXPECT_EQ(qAlpha(raster.pixel(35, 5)), 0);

    // Pictures made here are encoded once and then kept as they are.
    TJPEGImage made;
    ASSERT_TRUE(made.Assign(Quarters()));
    EXPECT_TRUE(made.SaveToBytes().startsWith("\xFF\xD8"));
    TBitmap madeBitmap;
    ASSERT_TRUE(madeBitmap.Assign(Quarters()));
    EXPECT_TRUE(madeBitmap.SaveToBytes().startsWith("BM"));
    EXPECT_EQ(madeBitmap.Image().pixel(5, 5), qRgb(200, 20, 20));
}

TEST(PictureObjectTest, UnknownKindsAndUndecodablePictures)
{
    // Kind 7 with ten bytes: skipped, and the next record reads correctly.
    const QByteArray unknown = BaseRecord() + QByteArray("\x01\x07", 2) + Le32(10) + QByteArray(10, 'z');
    const QByteArray next = BaseRecord(1, 2, 3, 4) + PictureTail(2, Svg);
    QBuffer buffer;
    buffer.setData(unknown + next);
    buffer.open(QIODevice::ReadOnly);
    PictureObject first, second;
    ASSERT_TRUE(first.Load(buffer));
    EXPECT_EQ(first.GetGraphic(), nullptr);
    ASSERT_TRUE(second.Load(buffer));
    ASSERT_NE(second.GetGraphic(), nullptr);
    EXPECT_EQ(second.GetGraphic()->SaveToBytes(), Svg);
    EXPECT_TRUE(buffer.atEnd());
    EXPECT_FALSE(IsStreamDamaged(buffer));

    // Bytes that are no picture of their kind are kept, so nothing is lost
    // when the document is saved again.
    for (uint8_t kind : {1, 2, 3}) {
        const QByteArray record = BaseRecord() + PictureTail(kind, "not a picture");
        PictureObject field;
        ASSERT_TRUE(LoadRecord(field, record));
        ASSERT_NE(field.GetGraphic(), nullptr);
        EXPECT_FALSE(field.GetGraphic()->IsDrawable());
        EXPECT_FALSE(field.GetGraphic()->ErrorString().isEmpty());
        EXPECT_EQ(SavedRecord(field), record);
    }

    // A known kind with no bytes at all: an empty picture, saved with its 0 byte.
    PictureObject empty;
    ASSERT_TRUE(LoadRecord(empty, BaseRecord() + QByteArray("\x01\x01", 2) + Le32(0)));
    ASSERT_NE(empty.GetGraphic(), nullptr);
    EXPECT_TRUE(empty.GetGraphic()->Empty());
    EXPECT_EQ(SavedRecord(empty), BaseRecord() + PictureTail(1, QByteArray()));
}

TEST(PictureObjectTest, DamagedLengthsFailWithoutReadingOn)
{
    const QByteArray picture = Encoded(Quarters(), "jpeg", 80);
    const QByteArray good = BaseRecord() + PictureTail(3, picture);
    struct Case
    {
        const char* what;
        QByteArray record;
    };
    const Case cases[] = {
        {"negative length", BaseRecord() + QByteArray("\x01\x03", 2) + Le32(-5) + picture},
        {"length past the end", BaseRecord() + QByteArray("\x01\x03", 2) + Le32(picture.size() + 2) + picture},
        {"huge length", BaseRecord() + QByteArray("\x01\x03", 2) + Le32(INT32_MAX) + picture},
        {"cut picture", good.left(good.size() - 10)},
        {"cut header", good.left(BaseRecord().size() + 3)},
        {"cut base", good.left(10)},
    };
    for (const Case& c : cases) {
        PictureObject field;
        field.SetGraphic(GraphicFrom<TMetafile>(Svg).get());
        bool damaged = false;
        EXPECT_FALSE(LoadRecord(field, c.record, nullptr, &damaged)) << c.what;
        EXPECT_TRUE(damaged) << c.what;
        EXPECT_EQ(field.GetGraphic(), nullptr) << c.what;
    }
}

TEST(PictureObjectTest, SetGraphicCopies)
{
    PictureObject field;
    field.SetGraphic(GraphicFrom<TMetafile>(Svg).get());
    // Given its own picture, the field keeps it.
    field.SetGraphic(field.GetGraphic());
    ASSERT_NE(field.GetGraphic(), nullptr);
    EXPECT_EQ(field.GetGraphic()->SaveToBytes(), Svg);

    const auto clone = field.Clone();
    field.SetGraphic(nullptr);
    EXPECT_EQ(field.GetGraphic(), nullptr);
    const auto* copied = static_cast<const PictureObject&>(*clone).GetGraphic();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->SaveToBytes(), Svg);
}

TEST(PictureObjectTest, PictureFilesByExtension)
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    };
    const QByteArray jpeg = Encoded(Quarters(), "jpeg", 70);
    QString error;
    auto graphic = LoadGraphicFile(write("logo.JPG", jpeg), &error);
    ASSERT_NE(graphic, nullptr) << error.toStdString();
    EXPECT_EQ(graphic->Kind(), GraphicKind::Jpeg);
    EXPECT_EQ(graphic->SaveToBytes(), jpeg);

    graphic = LoadGraphicFile(write("plan.bmp", Encoded(Quarters(), "bmp")), &error);
    ASSERT_NE(graphic, nullptr);
    EXPECT_EQ(graphic->Kind(), GraphicKind::Bitmap);
    graphic = LoadGraphicFile(write("plan.svg", Svg), &error);
    ASSERT_NE(graphic, nullptr);
    EXPECT_EQ(graphic->Kind(), GraphicKind::Metafile);

    // Refused, each with a reason: a metafile we cannot draw, a JPEG that is
    // none, an unknown extension, a missing file.
    for (const QString& path : {write("old.emf", FakeEmf()), write("photo.jpeg", "GIF89a"),
                                write("photo.png", Encoded(Quarters(), "png")), dir.filePath("missing.bmp")}) {
        error.clear();
        EXPECT_EQ(LoadGraphicFile(path, &error), nullptr) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
    }
}

TEST(PictureObjectTest, DrawsThePictureOverTheWholeRectangle)
{
    PictureObject field;
    field.SetRect(100, 50, 500, 350);
    field.SetForeColor(0x112233);
    field.SetBackColor(0x445566);

    RecordingCanvas plain;
    field.Draw(plain, DrawContext{});
    EXPECT_EQ(plain.Rectangles().size(), 5); // background and four borders
    EXPECT_TRUE(plain.Of(CanvasCall::Image).isEmpty());
    EXPECT_EQ(plain.GetBrushColor(), 0x445566);
    EXPECT_EQ(plain.GetPenColor(), 0x112233);

    // Bitmaps, JPEGs and SVG drawings alike are stretched over the rectangle,
    // borders included, after the frame is drawn.
    const std::unique_ptr<TGraphic> graphics[] = {GraphicFrom<TJPEGImage>(Encoded(Quarters(), "jpeg")),
                                                  GraphicFrom<TBitmap>(Encoded(Quarters(), "bmp")),
                                                  GraphicFrom<TMetafile>(Svg)};
    for (const auto& graphic : graphics) {
        field.SetGraphic(graphic.get());
        RecordingCanvas canvas;
        field.Draw(canvas, DrawContext{});
        ASSERT_EQ(canvas.calls.size(), 6u);
        EXPECT_EQ(canvas.calls.last().kind, CanvasCall::Image);
        EXPECT_EQ(canvas.calls.last().rect, (TRect{100, 50, 500, 350}));
        EXPECT_EQ(canvas.GetBrushColor(), 0x445566);
        EXPECT_EQ(canvas.GetPenColor(), 0x112233);
    }

    // Bytes that cannot be drawn show as a grey frame inside the rectangle.
    field.SetGraphic(GraphicFrom<TMetafile>(FakeEmf()).get());
    RecordingCanvas canvas;
    field.Draw(canvas, DrawContext{});
    const QList<CanvasCall> frame = canvas.Of(CanvasCall::FillRect);
    ASSERT_EQ(frame.size(), 4);
    EXPECT_EQ(frame[0].rect, (TRect{100, 50, 500, 53}));
    EXPECT_EQ(frame[1].rect, (TRect{100, 347, 500, 350}));
    EXPECT_EQ(frame[2].rect, (TRect{100, 50, 103, 350}));
    EXPECT_EQ(frame[3].rect, (TRect{497, 50, 500, 350}));
    for (const CanvasCall& bar : frame)
        EXPECT_EQ(bar.brushColor, 0x808080);
    EXPECT_EQ(canvas.GetBrushColor(), 0x445566);
}

namespace {

int GreenPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count +=
                qGreen(pixel) > 200 && qRed(pixel) < 60 && qBlue(pixel) < 60 && qAlpha(pixel) > 200;
        }
    return count;
}

// Green pixels of the drawing as the screen and the printer draw it (through
// a painter) and as a recording canvas gets it (rasterised).
int GreenPixelsDrawn(const TMetafile& drawing)
{
    QImage painted(20, 20, QImage::Format_ARGB32);
    painted.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        PainterCanvas canvas(painter);
        drawing.Draw(canvas, {0, 0, 20, 20});
    }
    return GreenPixels(painted) + GreenPixels(drawing.Rasterize(QSize(20, 20)));
}

QByteArray WithImage(const QByteArray& href)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "width=\"20\" height=\"20\"><image x=\"0\" y=\"0\" width=\"20\" height=\"20\" "
           "xlink:href=\""
           + href + "\"/></svg>";
}

class ScopedCurrentDir
{
public:
    explicit ScopedCurrentDir(const QString& path) : m_old(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~ScopedCurrentDir() { QDir::setCurrent(m_old); }
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    QString m_old;
};

} // namespace

TEST(PictureObjectTest, DrawingsAreDrawnFromTheirOwnBytesOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage green(8, 8, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    const QByteArray png = Encoded(green, "png");
    const QString pngPath = dir.filePath("green.png");
    {
        QFile file(pngPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(png);
        QFile css(dir.filePath("green.css"));
        ASSERT_TRUE(css.open(QIODevice::WriteOnly));
        css.write("rect { fill: #00ff00 }");
        QFile part(dir.filePath("part.xml"));
        ASSERT_TRUE(part.open(QIODevice::WriteOnly));
        part.write("<rect width=\"20\" height=\"20\" fill=\"#00ff00\"/>");
    }
    // Relative names are what Qt would resolve against the current folder.
    const ScopedCurrentDir inDir(dir.path());
    const QByteArray dataUrl = "data:image/png;base64," + png.toBase64();
    const QByteArray nestedOutside =
        "data:image/svg+xml;base64," + WithImage(pngPath.toUtf8()).toBase64();
    const QByteArray nestedInside = "data:image/svg+xml;base64," + WithImage(dataUrl).toBase64();
    const QByteArray square = "<rect width=\"20\" height=\"20\" fill=\"#00ff00\"/>";
    const QByteArray svgStart =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"20\" height=\"20\">";

    struct Case
    {
        const char* what;
        QByteArray svg;
        bool drawsGreen;
    };
    const Case cases[] = {
        {"absolute path", WithImage(pngPath.toUtf8()), false},
        {"relative path", WithImage("green.png"), false},
        {"file: URL", WithImage(QUrl::fromLocalFile(pngPath).toEncoded()), false},
        {"data: URL", WithImage(dataUrl), true},
        {"drawing in a data: URL naming a file", WithImage(nestedOutside), false},
        {"drawing in a data: URL holding its image", WithImage(nestedInside), true},
        {"style sheet file",
         "<?xml-stylesheet type=\"text/css\" href=\"" + dir.filePath("green.css").toUtf8() + "\"?>"
             + svgStart + "<rect width=\"20\" height=\"20\"/></svg>",
         false},
        {"external entity",
         "<!DOCTYPE svg [<!ENTITY part SYSTEM \"" + dir.filePath("part.xml").toUtf8() + "\">]>"
             + svgStart + "&part;</svg>",
         false},
        {"internal entity",
         "<!DOCTYPE svg [<!ENTITY part '" + square + "'>]>" + svgStart + "&part;</svg>", true},
        {"use of a part",
         svgStart + "<defs><g id=\"a\">" + square + "</g></defs><use xlink:href=\"#a\"/></svg>",
         true},
        {"gradient",
         svgStart
             + "<defs><linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"#00ff00\"/>"
               "<stop offset=\"1\" stop-color=\"#00ff00\"/></linearGradient></defs>"
               "<rect width=\"20\" height=\"20\" style=\"fill:url(#g)\"/></svg>",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMetafile drawing;
        EXPECT_TRUE(drawing.LoadFromBytes(c.svg));
        if (c.drawsGreen)
            EXPECT_GT(GreenPixelsDrawn(drawing), 0);
        else
            EXPECT_EQ(GreenPixelsDrawn(drawing), 0);
        // What the document saves is what it loaded.
        PictureObject field;
        field.SetGraphic(&drawing);
        EXPECT_EQ(field.GetGraphic()->SaveToBytes(), c.svg);
        EXPECT_EQ(SavedRecord(field), BaseRecord() + PictureTail(2, c.svg));
    }

    // A named pipe would block whoever opens it until something writes to it.
    const QString pipe = dir.filePath("pipe.png");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QByteArray& href : {pipe.toUtf8(), QByteArray("pipe.png")}) {
        PictureObject field;
        ASSERT_TRUE(LoadRecord(field, BaseRecord() + PictureTail(2, WithImage(href))));
        const auto* drawing = static_cast<const TMetafile*>(field.GetGraphic());
        ASSERT_NE(drawing, nullptr);
        EXPECT_TRUE(drawing->IsDrawable());
        EXPECT_EQ(GreenPixelsDrawn(*drawing), 0);
    }
}
