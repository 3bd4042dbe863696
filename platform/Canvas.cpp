#include "platform/Canvas.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// Font sizes are measured once at this size and scaled: outline metrics
// scale linearly, and a large size keeps the rounding error small.
constexpr int ReferencePixels = 1000;
// A size from a damaged record must not make the rasteriser allocate glyphs
// the size of a house: a metre is more than any page holds.
constexpr int MaxPixels = 10000;

QString FaceName(const QByteArray& face)
{
    // Face names are 8-bit texts of the documents; the names in use are ASCII.
    return QString::fromLatin1(face);
}

} // namespace

QColor ToQColor(TColor color)
{
    const auto c = static_cast<uint32_t>(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color)
{
    return static_cast<TColor>(uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16);
}

namespace {

// What sizing a font needs of its spec: the escapement turns the text but
// does not change its size.
struct SizeKey
{
    QByteArray FaceName;
    int32_t Height;
    int32_t Weight;
    bool Italic;
    bool operator==(const SizeKey&) const = default;
};

size_t qHash(const SizeKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.FaceName, key.Height, key.Weight, key.Italic);
}

struct PixelSize
{
    int Whole = 1;
    double Scale = 1.0;
};

// Sizing a font measures it at the reference size, which costs far more than
// drawing or measuring a field's text; a page asks the same few fonts again
// for every field on every paint. Print jobs size fonts on their own threads,
// so the cache is shared under a lock; it holds numbers only, no Qt font
// objects, which belong to the thread that made them.
class PixelSizeCache
{
public:
    template <typename Compute>
    PixelSize Get(const SizeKey& key, Compute compute)
    {
        {
            const std::lock_guard lock(m_mutex);
            const auto found = m_sizes.constFind(key);
            if (found != m_sizes.constEnd())
                return *found;
        }
        const PixelSize size = compute();
        const std::lock_guard lock(m_mutex);
        // Documents use a handful of fonts; a damaged one may bring thousands
        // of sizes, which must not grow the cache without end.
        if (m_sizes.size() >= MaxEntries)
            m_sizes.clear();
        m_sizes.insert(key, size);
        return size;
    }

private:
    static constexpr qsizetype MaxEntries = 1024;
    std::mutex m_mutex;
    QHash<SizeKey, PixelSize> m_sizes;
};

PixelSizeCache& PixelSizes()
{
    static PixelSizeCache cache;
    return cache;
}

} // namespace

CellFont MakeCellFont(const FontSpec& spec)
{
    CellFont result{QFont(FaceName(spec.FaceName))};
    QFont& font = result.Font;
    // Layout must not depend on the device's resolution or the zoom.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    const int weight = spec.Weight <= 0 ? 400 : std::min(spec.Weight, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(spec.Italic);

    const PixelSize size =
        PixelSizes().Get(SizeKey{spec.FaceName, spec.Height, weight, spec.Italic}, [&font, &spec] {
            double pixels = 1;
            if (spec.Height > 0) {
                QFont reference(font);
                reference.setPixelSize(ReferencePixels);
                const QFontMetricsF fm(reference);
                const double cell = fm.ascent() + fm.descent();
                pixels = cell > 0 ? spec.Height * (ReferencePixels / cell) : spec.Height;
            } else if (spec.Height < 0) {
                pixels = -double(spec.Height);
            }
            pixels = std::min(pixels, double(MaxPixels));
            const int whole = std::max(1, static_cast<int>(std::lround(pixels)));
            return PixelSize{whole, pixels / whole};
        });
    font.setPixelSize(size.Whole);
    result.Scale = size.Scale;
    return result;
}

TSize FontTextMetrics::TextExtent(const FontSpec& spec, QStringView text) const
{
    const CellFont cell = MakeCellFont(spec);
    const QFontMetricsF fm(cell.Font);
    const double width = text.isEmpty() ? 0.0 : fm.horizontalAdvance(text.toString());
    return {static_cast<int32_t>(std::lround(width * cell.Scale)),
            static_cast<int32_t>(std::lround((fm.ascent() + fm.descent()) * cell.Scale))};
}

TCanvas::TCanvas(std::shared_ptr<const TextMetrics> metrics)
    : m_metrics(metrics ? std::move(metrics) : std::make_shared<FontTextMetrics>())
{
}

TCanvas::~TCanvas() = default;

TSize TCanvas::TextExtent(QStringView text) const
{
    return m_metrics->TextExtent(m_font, text);
}

namespace {

QRectF Normalised(const TRect& r)
{
    const double left = std::min(r.Left, r.Right);
    const double top = std::min(r.Top, r.Bottom);
    return QRectF(left, top, std::abs(double(r.Right) - r.Left), std::abs(double(r.Bottom) - r.Top));
}

// A device coordinate rounded to its pixel edge. Far beyond any device, so
// that edges of a damaged record cannot overflow the arithmetic on them.
int DevicePixel(double value)
{
    constexpr double Limit = 1 << 28;
    return static_cast<int>(std::lround(std::clamp(value, -Limit, Limit)));
}

} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, std::shared_ptr<const TextMetrics> metrics)
    : TCanvas(std::move(metrics)), m_painter(painter)
{
}

void PainterCanvas::FillRect(const TRect& rect)
{
    m_painter.fillRect(Normalised(rect), ToQColor(GetBrushColor()));
}

void PainterCanvas::Rectangle(const TRect& rect)
{
    const QRectF area = Normalised(rect);
    const int32_t width = GetPenWidth();
    if (width < 0) {
        m_painter.fillRect(area, ToQColor(GetBrushColor()));
        return;
    }
    if (area.isEmpty())
        return;
    // GDI rounds the rectangle to whole device pixels and keeps its outline
    // inside them, at least one pixel wide however far the mapping shrinks
    // the pen: a border of a tenth of a millimetre stays visible at every
    // zoom, and a hairline (width 0) covers what a one-unit pen would.
    const QTransform& t = m_painter.transform();
    const QRectF mapped = t.mapRect(area);
    const int left = DevicePixel(mapped.left());
    const int top = DevicePixel(mapped.top());
    const int right = std::max(left + 1, DevicePixel(mapped.right()));
    const int bottom = std::max(top + 1, DevicePixel(mapped.bottom()));
    const auto penPixels = [width](double scale) {
        return width == 0 ? 1 : std::max(1, DevicePixel(width * scale));
    };
    const int penX = penPixels(std::hypot(t.m11(), t.m12()));
    const int penY = penPixels(std::hypot(t.m21(), t.m22()));
    const int w = right - left;
    const int h = bottom - top;
    const QColor pen = ToQColor(GetPenColor());

    m_painter.save();
    m_painter.resetTransform();
    if (penX >= w - penX || penY >= h - penY) {
        m_painter.fillRect(QRect(left, top, w, h), pen);
    } else {
        m_painter.fillRect(QRect(left, top, w, h), ToQColor(GetBrushColor()));
        m_painter.fillRect(QRect(left, top, penX, h), pen);
        m_painter.fillRect(QRect(right - penX, top, penX, h), pen);
        m_painter.fillRect(QRect(left, top, w, penY), pen);
        m_painter.fillRect(QRect(left, bottom - penY, w, penY), pen);
    }
    m_painter.restore();
}

void PainterCanvas::DrawText(int32_t x, int32_t y, QStringView text)
{
    if (text.isEmpty())
        return;
    const CellFont cell = MakeCellFont(GetFont());
    const QFontMetricsF fm(cell.Font);
    const QString str = text.toString();
    m_painter.save();
    m_painter.translate(x, y);
    if (GetFont().Escapement != 0)
        m_painter.rotate(-GetFont().Escapement / 10.0);
    m_painter.scale(cell.Scale, cell.Scale);
    m_painter.fillRect(QRectF(0, 0, fm.horizontalAdvance(str), fm.ascent() + fm.descent()),
                       ToQColor(GetBrushColor()));
    m_painter.setFont(cell.Font);
    m_painter.setPen(ToQColor(GetTextColor()));
    m_painter.drawText(QPointF(0, fm.ascent()), str);
    m_painter.restore();
}

void PainterCanvas::TextOut(int32_t x, int32_t y, QStringView text)
{
    DrawText(x, y, text);
}

void PainterCanvas::TextOutClipped(int32_t x, int32_t y, const TRect& clip, QStringView text)
{
    m_painter.save();
    m_painter.setClipRect(Normalised(clip), m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    DrawText(x, y, text);
    m_painter.restore();
}

void PainterCanvas::StretchDraw(const TRect& rect, const QImage& image)
{
    if (!image.isNull())
        m_painter.drawImage(Normalised(rect), image);
}
