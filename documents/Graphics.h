#pragma once
// The three kinds of picture a picture field holds: a bitmap (a BMP file), a
// metafile (SVG on this platform) and a JPEG stream.
//
// A graphic keeps the bytes it was loaded from and saves exactly those back,
// so copying a picture or saving a document never re-encodes it: a JPEG keeps
// its quality, a bitmap its bit depth, and a metafile of a flavour this
// platform cannot draw (EMF, WMF) survives unchanged and is drawn as a plain
// frame. Bytes that do not decode are kept in the same way.

#include "platform/Canvas.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

// The kinds as picture records store them.
enum class GraphicKind : uint8_t { Bitmap = 1, Metafile = 2, Jpeg = 3 };

class TGraphic
{
public:
    virtual ~TGraphic();
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual GraphicKind Kind() const = 0;
    // A new empty graphic of the same kind.
    virtual std::unique_ptr<TGraphic> NewEmpty() const = 0;

    // Takes the graphic's stored form. Returns whether it can be drawn; the
    // bytes are kept either way (see ErrorString for why not).
    bool LoadFromBytes(const QByteArray& bytes);
    // The stored form: exactly the bytes loaded or encoded.
    const QByteArray& SaveToBytes() const { return m_bytes; }

    bool Empty() const { return m_bytes.isEmpty(); }
    // True when the bytes decoded into something this platform can draw.
    bool IsDrawable() const { return m_drawable; }
    QString ErrorString() const { return m_error; }
    // Natural size in pixels (metafiles: their default size); empty when not drawable.
    virtual QSize Size() const = 0;

    // Draws the picture stretched over `rect`. A graphic that holds bytes it
    // cannot draw draws a plain grey frame instead; an empty one draws nothing.
    void Draw(TCanvas& canvas, const TRect& rect) const;

protected:
    TGraphic() = default;
    // Decodes `bytes`; on failure returns false with the reason in `error`.
    virtual bool Decode(const QByteArray& bytes, QString& error) = 0;
    virtual void Clear() = 0;
    virtual void Render(TCanvas& canvas, const TRect& rect) const = 0;

private:
    QByteArray m_bytes;
    QString m_error;
    bool m_drawable = false;
};

// A graphic that decodes into an image: bitmaps and JPEGs.
class TRasterGraphic : public TGraphic
{
public:
    ~TRasterGraphic() override;
    QSize Size() const override { return m_image.size(); }
    const QImage& Image() const { return m_image; }

protected:
    TRasterGraphic() = default;
    void Clear() override { m_image = QImage(); }
    void Render(TCanvas& canvas, const TRect& rect) const override;

    QImage m_image;
};

// A bitmap, stored as a BMP file.
class TBitmap : public TRasterGraphic
{
public:
    TBitmap() = default;
    ~TBitmap() override;
    GraphicKind Kind() const override { return GraphicKind::Bitmap; }
    std::unique_ptr<TGraphic> NewEmpty() const override;
    // Replaces the picture by `image`, stored as a BMP file. False for a null image.
    bool Assign(const QImage& image);

protected:
    bool Decode(const QByteArray& bytes, QString& error) override;
};

// A JPEG picture, stored as its JPEG stream.
class TJPEGImage : public TRasterGraphic
{
public:
    static constexpr int DefaultQuality = 90;

    TJPEGImage() = default;
    ~TJPEGImage() override;
    GraphicKind Kind() const override { return GraphicKind::Jpeg; }
    std::unique_ptr<TGraphic> NewEmpty() const override;
    // Replaces the picture by `image`, encoded once at `quality`.
    bool Assign(const QImage& image, int quality = DefaultQuality);

protected:
    bool Decode(const QByteArray& bytes, QString& error) override;
};

// A metafile: an SVG document is drawn; any other bytes (an EMF or WMF from
// another build of the program) are kept and drawn as a frame.
class TMetafile : public TGraphic
{
public:
    TMetafile() = default;
    ~TMetafile() override;
    GraphicKind Kind() const override { return GraphicKind::Metafile; }
    std::unique_ptr<TGraphic> NewEmpty() const override;
    QSize Size() const override { return m_size; }
    // True for bytes of a metafile flavour this platform does not draw.
    bool IsForeignFlavour() const;
    // The drawing rendered into an image of the given size on a transparent
    // background; null when the metafile is not drawable.
    QImage Rasterize(const QSize& size) const;

protected:
    bool Decode(const QByteArray& bytes, QString& error) override;
    void Clear() override
    {
        m_size = QSize();
        m_drawing.clear();
    }
    void Render(TCanvas& canvas, const TRect& rect) const override;

private:
    QSize m_size;
    // What Qt draws: the stored drawing made self-contained, once per load.
    QByteArray m_drawing;
};

// The SVG drawing as Qt may parse it: the same elements, attributes and text,
// with nothing that reads outside the bytes given (a file, a URL, a style
// sheet, an external entity). Images held in data: URLs stay. Empty when the
// drawing is no well-formed XML or grows too large as its entities expand.
QByteArray SelfContainedSvg(const QByteArray& svg);

// A new empty graphic of a stored kind (1, 2, 3); null for any other value.
std::unique_ptr<TGraphic> NewGraphic(int kind);

// Loads a picture file, its kind chosen by the extension: .jpg and .jpeg a
// JPEG, .bmp a bitmap, .svg, .emf and .wmf a metafile. Null, with the reason
// in `error`, for another extension, an unreadable file or a picture that
// cannot be drawn.
std::unique_ptr<TGraphic> LoadGraphicFile(const QString& fileName, QString* error = nullptr);
