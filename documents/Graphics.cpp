#include "documents/Graphics.h"

#include "documents/JpegCodec.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "storage/File.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

constexpr TColor PlaceholderColor = 0x808080;
// Width of the placeholder frame's bars, in logical units (0.3 mm).
constexpr int64_t PlaceholderBar = 3;
// A metafile drawn on a canvas without a painter (a recorder) is rasterised
// at one pixel per logical unit, at most this wide or high.
constexpr int MaxRasterSide = 2048;
// A picture's record length is an int32 that counts one byte more than the
// picture; files much larger than any logo or photograph are refused.
constexpr qint64 MaxPictureFileSize = qint64(256) << 20;

// Flavours of metafile that other builds of the program store: an enhanced
// metafile (its header record, with " EMF" at offset 40), a placeable or a
// plain Windows metafile; and gzip, which we do not inflate from a document.
bool IsForeignMetafile(const QByteArray& bytes)
{
    if (bytes.size() >= 44 && bytes.startsWith(QByteArrayView("\x01\x00\x00\x00", 4))
        && bytes.mid(40, 4) == " EMF")
        return true;
    return bytes.startsWith(QByteArrayView("\xD7\xCD\xC6\x9A", 4))
           || bytes.startsWith(QByteArrayView("\x01\x00\x09\x00", 4))
           || bytes.startsWith(QByteArrayView("\x02\x00\x09\x00", 4))
           || bytes.startsWith(QByteArrayView("\x1F\x8B", 2));
}

QRectF ToRectF(const TRect& rect)
{
    const double l = std::min(rect.Left, rect.Right), t = std::min(rect.Top, rect.Bottom);
    return QRectF(l, t, std::abs(double(rect.Width())), std::abs(double(rect.Height())));
}

void DrawPlaceholder(TCanvas& canvas, const TRect& rect)
{
    const int64_t l = std::min(rect.Left, rect.Right), r = std::max(rect.Left, rect.Right);
    const int64_t t = std::min(rect.Top, rect.Bottom), b = std::max(rect.Top, rect.Bottom);
    const int64_t bar = std::max<int64_t>(1, std::min({PlaceholderBar, (r - l) / 2, (b - t) / 2}));
    const TColor brush = canvas.GetBrushColor();
    canvas.SetBrushColor(PlaceholderColor);
    const auto fill = [&canvas](int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        canvas.FillRect({ClampToInt32(x0), ClampToInt32(y0), ClampToInt32(x1), ClampToInt32(y1)});
    };
    fill(l, t, r, t + bar);
    fill(l, b - bar, r, b);
    fill(l, t, l + bar, b);
    fill(r - bar, t, r, b);
    canvas.SetBrushColor(brush);
}

QByteArray EncodeBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image))
        return {};
    return bytes;
}

} // namespace

// --- TGraphic ------------------------------------------------------------------

TGraphic::~TGraphic() = default;

bool TGraphic::LoadFromBytes(const QByteArray& bytes)
{
    Clear();
    m_bytes = bytes;
    m_error.clear();
    m_drawable = !bytes.isEmpty() && Decode(bytes, m_error);
    if (!m_drawable)
        Clear();
    return m_drawable;
}

void TGraphic::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (m_drawable)
        Render(canvas, rect);
    else if (!m_bytes.isEmpty())
        DrawPlaceholder(canvas, rect);
}

// --- Raster graphics -------------------------------------------------------------

TRasterGraphic::~TRasterGraphic() = default;

void TRasterGraphic::Render(TCanvas& canvas, const TRect& rect) const
{
    canvas.StretchDraw(rect, m_image);
}


TBitmap::~TBitmap() = default;

std::unique_ptr<TGraphic> TBitmap::NewEmpty() const
{
    return std::make_unique<TBitmap>();
}

bool TBitmap::Assign(const QImage& image)
{
    if (image.isNull())
        return false;
    return LoadFromBytes(EncodeBmp(image));
}

bool TBitmap::Decode(const QByteArray& bytes, QString& error)
{
    if (!bytes.startsWith("BM")) {
        error = QStringLiteral("not a bitmap file");
        return false;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    m_image = reader.read();
    if (m_image.isNull()) {
        error = reader.errorString();
        return false;
    }
    return true;
}

// --- TJPEGImage ----------------------------------------------------------------

TJPEGImage::~TJPEGImage() = default;

std::unique_ptr<TGraphic> TJPEGImage::NewEmpty() const
{
    return std::make_unique<TJPEGImage>();
}

bool TJPEGImage::Assign(const QImage& image, int quality)
{
    const QByteArray bytes = EncodeJpeg(image, quality);
    return !bytes.isEmpty() && LoadFromBytes(bytes);
}

bool TJPEGImage::Decode(const QByteArray& bytes, QString& error)
{
    m_image = DecodeJpeg(bytes, &error);
    return !m_image.isNull();
}

// --- TMetafile -----------------------------------------------------------------

TMetafile::~TMetafile() = default;

std::unique_ptr<TGraphic> TMetafile::NewEmpty() const
{
    return std::make_unique<TMetafile>();
}

bool TMetafile::IsForeignFlavour() const
{
    return IsForeignMetafile(SaveToBytes());
}

bool TMetafile::Decode(const QByteArray& bytes, QString& error)
{
    if (IsForeignMetafile(bytes)) {
        error = QStringLiteral("metafile flavour that is not drawn on this platform");
        return false;
    }
    const QSvgRenderer renderer(bytes);
    if (!renderer.isValid()) {
        error = QStringLiteral("not an SVG drawing");
        return false;
    }
    m_size = renderer.defaultSize();
    return true;
}

QImage TMetafile::Rasterize(const QSize& size) const
{
    if (!IsDrawable() || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QSvgRenderer renderer(SaveToBytes());
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

void TMetafile::Render(TCanvas& canvas, const TRect& rect) const
{
    // A renderer per drawing: two threads may draw the same document at once.
    if (auto* painterCanvas = dynamic_cast<PainterCanvas*>(&canvas)) {
        QSvgRenderer renderer(SaveToBytes());
        renderer.render(&painterCanvas->Painter(), ToRectF(rect));
        return;
    }
    const auto side = [](int64_t length) {
        return static_cast<int>(std::clamp<int64_t>(std::abs(length), 1, MaxRasterSide));
    };
    canvas.StretchDraw(rect, Rasterize(QSize(side(rect.Width()), side(rect.Height()))));
}

// --- Factories -----------------------------------------------------------------

std::unique_ptr<TGraphic> NewGraphic(int kind)
{
    switch (kind) {
    case static_cast<int>(GraphicKind::Bitmap):
        return std::make_unique<TBitmap>();
    case static_cast<int>(GraphicKind::Metafile):
        return std::make_unique<TMetafile>();
    case static_cast<int>(GraphicKind::Jpeg):
        return std::make_unique<TJPEGImage>();
    default:
        return nullptr;
    }
}

std::unique_ptr<TGraphic> LoadGraphicFile(const QString& fileName, QString* error)
{
    struct Extension
    {
        const char* suffix;
        GraphicKind kind;
    };
    static constexpr Extension Extensions[] = {
        {"jpg", GraphicKind::Jpeg},     {"jpeg", GraphicKind::Jpeg},    {"bmp", GraphicKind::Bitmap},
        {"svg", GraphicKind::Metafile}, {"emf", GraphicKind::Metafile}, {"wmf", GraphicKind::Metafile},
    };
    const auto fail = [error](const QString& text) -> std::unique_ptr<TGraphic> {
        if (error)
            *error = text;
        return nullptr;
    };

    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const auto found = std::find_if(std::begin(Extensions), std::end(Extensions),
                                    [&suffix](const Extension& e) { return suffix == QLatin1String(e.suffix); });
    if (found == std::end(Extensions))
        return fail(QStringLiteral("unknown picture file extension: %1").arg(fileName));

    ReadOnlyFile file(fileName);
    if (!file.OpenForReading())
        return fail(file.IsNotRegularFile()
                        ? MainLanguage.GetString(StringId::NotRegularFile) + u'\n' + fileName
                        : file.errorString());
    if (file.size() > MaxPictureFileSize)
        return fail(QStringLiteral("picture file too large: %1").arg(fileName));
    std::unique_ptr<TGraphic> graphic = NewGraphic(static_cast<int>(found->kind));
    if (!graphic->LoadFromBytes(file.readAll()))
        return fail(graphic->Empty() ? QStringLiteral("empty picture file") : graphic->ErrorString());
    return graphic;
}
