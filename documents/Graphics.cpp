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
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <optional>

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

// --- Self-contained drawings ----------------------------------------------------
//
// QtSvg follows what a drawing names: an <image> is read from any path (a
// named pipe blocks it for ever) and an xml-stylesheet instruction loads a
// style sheet from a file. A picture is drawn from the document's bytes
// alone, so Qt only ever parses a rewritten copy of the drawing: read the way
// QtSvg reads it (prefixes as written, entities expanded within the reader's
// own bound), written back as plain elements, attributes and text, without
// the document type, processing instructions and comments, and without any
// reference that leaves the drawing.

// A drawing inside an image's data: URL may itself hold one, and so on.
constexpr int MaxNestedDrawings = 3;
// Expanded entities may make the copy larger than the stored drawing; a copy
// that grows beyond this many times the stored size (plus a little for
// escapes) is refused.
constexpr qsizetype MaxDrawingGrowth = 8;
constexpr qsizetype DrawingGrowthSlack = 4096;

constexpr QLatin1StringView DataScheme("data:");
constexpr QLatin1StringView Base64Marker(";base64");

QStringView LocalName(QStringView qualifiedName)
{
    return qualifiedName.sliced(qualifiedName.lastIndexOf(u':') + 1);
}

// Qt's reader can hand over a name with a line break in it when an entity's
// text holds a carriage return; written out again, such a name would read back
// as another name, or as no XML at all.
bool IsPlainName(QStringView name)
{
    static constexpr QStringView Delimiters(u"<>&\"'=/!?");
    return !name.isEmpty() && std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.isSpace() || Delimiters.contains(c);
    });
}

QByteArray CleanDrawing(const QByteArray& svg, int depth);

// An image's data: URL with its bytes written out again as base64, so that Qt
// decodes exactly what was checked here; a drawing among them is cleaned in
// turn. Null when the image cannot be kept.
std::optional<QString> SelfContainedImage(QStringView url, int depth)
{
    const qsizetype comma = url.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    QStringView mediaType = url.first(comma).sliced(DataScheme.size());
    const QStringView text = url.sliced(comma + 1);
    QByteArray image;
    if (mediaType.endsWith(Base64Marker, Qt::CaseInsensitive)) {
        mediaType.chop(Base64Marker.size());
        image = QByteArray::fromBase64(text.toLatin1());
    } else {
        image = QByteArray::fromPercentEncoding(text.toUtf8());
    }
    QBuffer buffer(&image);
    buffer.open(QIODevice::ReadOnly);
    if (QImageReader::imageFormat(&buffer).startsWith("svg")) {
        // A compressed drawing cannot be looked into; a plain one is cleaned.
        if (depth >= MaxNestedDrawings || IsForeignMetafile(image))
            return std::nullopt;
        image = CleanDrawing(image, depth + 1);
        if (image.isEmpty())
            return std::nullopt;
    }
    QString result = DataScheme;
    result += mediaType;
    result += Base64Marker;
    result += u',';
    result += QLatin1StringView(image.toBase64());
    return result;
}

// Every url(...) of a style or presentation value that does not name a part of
// the drawing itself ("#id") is made to name nothing.
QString WithInternalUrlsOnly(QStringView value)
{
    static constexpr QLatin1StringView Open("url(");
    static constexpr QLatin1StringView Nothing("url(#)");
    QString result;
    qsizetype done = 0;
    for (qsizetype at = value.indexOf(Open, 0, Qt::CaseInsensitive); at >= 0;
         at = value.indexOf(Open, done, Qt::CaseInsensitive)) {
        qsizetype start = at + Open.size();
        while (start < value.size() && value[start].isSpace())
            ++start;
        qsizetype close = start;
        if (start < value.size() && (value[start] == u'"' || value[start] == u'\'')) {
            const qsizetype quote = value.indexOf(value[start], start + 1);
            close = quote < 0 ? value.size() : quote;
        }
        close = value.indexOf(u')', close);
        const qsizetype end = close < 0 ? value.size() : close + 1;
        QStringView target =
            value.sliced(start, (close < 0 ? value.size() : close) - start).trimmed();
        if (target.startsWith(u'"') || target.startsWith(u'\''))
            target = target.sliced(1);
        result += value.sliced(done, at - done);
        if (target.startsWith(u'#'))
            result += value.sliced(at, end - at);
        else
            result += Nothing;
        done = end;
    }
    if (done == 0)
        return value.toString();
    result += value.sliced(done);
    return result;
}

// The attribute as Qt may read it, or null when it is left out: an image is
// drawn only from a data: URL (QtSvg takes any other value for a file name,
// "#id" included), other references only to a part of the drawing or a data:
// URL.
std::optional<QString> CleanAttribute(QStringView element, const QXmlStreamAttribute& attribute,
                                      int depth)
{
    const QStringView value = attribute.value();
    if (LocalName(attribute.qualifiedName()) != u"href")
        return WithInternalUrlsOnly(value);
    if (value.startsWith(DataScheme)) {
        if (LocalName(element) == u"image")
            return SelfContainedImage(value, depth);
        return value.toString();
    }
    if (value.startsWith(u'#') && LocalName(element) != u"image")
        return value.toString();
    return std::nullopt;
}

void WriteText(QXmlStreamWriter& writer, QStringView text)
{
    // A carriage return written as itself would be read back as a line feed.
    for (qsizetype from = 0;;) {
        const qsizetype cr = text.indexOf(u'\r', from);
        writer.writeCharacters(text.sliced(from, (cr < 0 ? text.size() : cr) - from).toString());
        if (cr < 0)
            return;
        writer.writeEntityReference(QStringLiteral("#13"));
        from = cr + 1;
    }
}

QByteArray CleanDrawing(const QByteArray& svg, int depth)
{
    const qsizetype limit = svg.size() * MaxDrawingGrowth + DrawingGrowthSlack;
    QXmlStreamReader reader(svg);
    reader.setNamespaceProcessing(false);
    QByteArray drawing;
    QXmlStreamWriter writer(&drawing);
    int openStyles = 0;
    while (!reader.atEnd() && drawing.size() <= limit) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView element = reader.qualifiedName();
            if (!IsPlainName(element))
                return {};
            writer.writeStartElement(element.toString());
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                if (!IsPlainName(attribute.qualifiedName()))
                    continue;
                if (const std::optional<QString> value = CleanAttribute(element, attribute, depth))
                    writer.writeAttribute(attribute.qualifiedName().toString(), *value);
            }
            if (LocalName(element) == u"style")
                ++openStyles;
            break;
        }
        case QXmlStreamReader::EndElement:
            writer.writeEndElement();
            if (LocalName(reader.qualifiedName()) == u"style")
                --openStyles;
            break;
        case QXmlStreamReader::Characters: {
            const QString text =
                openStyles > 0 ? WithInternalUrlsOnly(reader.text()) : reader.text().toString();
            if (reader.isCDATA())
                writer.writeCDATA(text);
            else
                WriteText(writer, text);
            break;
        }
        default:
            // The document type (entities, external ids), processing
            // instructions (style sheets), comments: nothing that is drawn.
            break;
        }
    }
    if (reader.hasError() || drawing.size() > limit)
        return {};
    return drawing;
}

} // namespace

QByteArray SelfContainedSvg(const QByteArray& svg)
{
    return CleanDrawing(svg, 0);
}

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
    QByteArray drawing = SelfContainedSvg(bytes);
    const QSvgRenderer renderer(drawing);
    if (drawing.isEmpty() || !renderer.isValid()) {
        error = QStringLiteral("not an SVG drawing");
        return false;
    }
    m_size = renderer.defaultSize();
    m_drawing = std::move(drawing);
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
    QSvgRenderer renderer(m_drawing);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

void TMetafile::Render(TCanvas& canvas, const TRect& rect) const
{
    // A renderer per drawing: two threads may draw the same document at once.
    if (auto* painterCanvas = dynamic_cast<PainterCanvas*>(&canvas)) {
        QSvgRenderer renderer(m_drawing);
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
