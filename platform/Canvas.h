#pragma once
// The drawing surface of the document model: GDI-like pen, brush, fonts and
// text on top of a QPainter (screen, printer, image) or, in tests, a recorder.
//
// Coordinates are logical units (the document's tenths of a millimetre); the
// owner of the QPainter sets the transform that maps them to the device.
// The canvas holds its own state (colours, font) and no global state, so one
// canvas per thread may draw the same document at the same time.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>

class QPainter;

// Saturates a 64-bit intermediate into the int32 range: edges and sizes come
// from files and must not overflow when added up.
constexpr int32_t ClampToInt32(int64_t value)
{
    return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

// A Windows colour value 0x00BBGGRR.
using TColor = int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;

// A rectangle by its edges; Right and Bottom lie just outside it, as in GDI.
struct TRect
{
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int64_t Width() const { return int64_t(Right) - Left; }
    int64_t Height() const { return int64_t(Bottom) - Top; }
    bool operator==(const TRect&) const = default;
};

struct TSize
{
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const TSize&) const = default;
};

// A font as CreateFontA takes it. Height is the cell height (ascent + descent)
// in logical units; a negative height is the em height. Escapement is in
// tenths of a degree: 900 turns the text 90 degrees counter-clockwise.
struct FontSpec
{
    int32_t Height = 0;
    int32_t Escapement = 0;
    int32_t Weight = 400;
    bool Italic = false;
    QByteArray FaceName;

    bool operator==(const FontSpec&) const = default;
};

// Measures text. The program uses the real font metrics; tests use fixed
// advances so that text layout can be checked to the unit.
class TextMetrics
{
public:
    virtual ~TextMetrics() = default;
    // The advance width of the text along its baseline and the cell height,
    // both in logical units, as GetTextExtentPointW gives them.
    virtual TSize TextExtent(const FontSpec& font, QStringView text) const = 0;
};

// Metrics of the installed fonts (fontconfig substitutes a missing face:
// "Arial" becomes the metric-compatible Liberation Sans).
class FontTextMetrics : public TextMetrics
{
public:
    TSize TextExtent(const FontSpec& font, QStringView text) const override;
};

// The Qt font for a FontSpec. Qt sizes fonts in whole pixels, so the font
// comes with the factor to draw and measure it by: scaled, its ascent +
// descent is exactly the cell height.
struct CellFont
{
    QFont Font;
    double Scale = 1.0;
};
CellFont MakeCellFont(const FontSpec& spec);

// The Qt colour of a 0x00BBGGRR value (the high byte is ignored).
QColor ToQColor(TColor color);
// The 0x00BBGGRR value of a Qt colour.
TColor FromQColor(const QColor& color);

class TCanvas
{
public:
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void SetPenColor(TColor color) { m_penColor = color; }
    TColor GetPenColor() const { return m_penColor; }
    // 0 draws the thinnest line the device has.
    void SetPenWidth(int32_t width) { m_penWidth = width; }
    int32_t GetPenWidth() const { return m_penWidth; }
    void SetBrushColor(TColor color) { m_brushColor = color; }
    TColor GetBrushColor() const { return m_brushColor; }
    void SetTextColor(TColor color) { m_textColor = color; }
    TColor GetTextColor() const { return m_textColor; }
    void SetFont(const FontSpec& font) { m_font = font; }
    const FontSpec& GetFont() const { return m_font; }

    // Extent of a text in the current font.
    TSize TextExtent(QStringView text) const;
    int32_t TextWidth(QStringView text) const { return TextExtent(text).cx; }
    const TextMetrics& Metrics() const { return *m_metrics; }

    // Outline in the pen and fill in the brush; the fill covers Left..Right-1
    // and Top..Bottom-1 (GDI Rectangle). Corners may come in any order. The
    // outline lies inside that area and is at least one device pixel wide
    // (width 0 is exactly one); a negative pen width draws no outline.
    virtual void Rectangle(const TRect& rect) = 0;
    // The brush only, same area.
    virtual void FillRect(const TRect& rect) = 0;
    // Text in the current font and text colour with its cell's top-left corner
    // at (x, y); the cell is first painted in the brush colour (opaque text).
    // With escapement 900 the cell's top edge lies along x and the text runs
    // upward from y.
    virtual void TextOut(int32_t x, int32_t y, QStringView text) = 0;
    // TextOut clipped to a rectangle (ExtTextOutW with ETO_CLIPPED).
    virtual void TextOutClipped(int32_t x, int32_t y, const TRect& clip, QStringView text) = 0;
    // The image stretched over the rectangle.
    virtual void StretchDraw(const TRect& rect, const QImage& image) = 0;

protected:
    // Without metrics the canvas measures with the installed fonts.
    explicit TCanvas(std::shared_ptr<const TextMetrics> metrics = nullptr);

private:
    std::shared_ptr<const TextMetrics> m_metrics;
    TColor m_penColor = clBlack;
    int32_t m_penWidth = 1;
    TColor m_brushColor = clWhite;
    TColor m_textColor = clBlack;
    FontSpec m_font{0, 0, 400, false, QByteArrayLiteral("Arial")};
};

// The canvas over a painter that is active on its device. The painter's
// transform maps logical units to the device and is left as it is found.
class PainterCanvas : public TCanvas
{
public:
    explicit PainterCanvas(QPainter& painter, std::shared_ptr<const TextMetrics> metrics = nullptr);

    void Rectangle(const TRect& rect) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int32_t x, int32_t y, QStringView text) override;
    void TextOutClipped(int32_t x, int32_t y, const TRect& clip, QStringView text) override;
    void StretchDraw(const TRect& rect, const QImage& image) override;

    QPainter& Painter() { return m_painter; }

private:
    void DrawText(int32_t x, int32_t y, QStringView text);

    QPainter& m_painter;
};
