#pragma once
// A paint device that keeps the texts painted on it, piece by piece, so that a
// test can tell what a widget wrote without looking at pixels.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QStringList>
#include <QWidget>

// The characters a styled text shows: without its style escapes (ESC and the
// code after it) and without blanks and tabs, which paint nothing.
inline QString ShownLetters(const QString& styled)
{
    QString shown;
    for (qsizetype i = 0; i < styled.size(); ++i) {
        if (styled[i] == QChar(0x1b))
            ++i;
        else if (!styled[i].isSpace())
            shown += styled[i];
    }
    return shown;
}

class TextRecorder : public QPaintDevice
{
public:
    // Paints `widget` (and its children) onto the recorder.
    QStringList Render(QWidget& widget)
    {
        m_engine.texts.clear();
        QPainter painter(this);
        widget.render(&painter);
        painter.end();
        return m_engine.texts;
    }

    // Everything painted on `widget`, as ShownLetters gives it.
    QString RenderLetters(QWidget& widget) { return ShownLetters(Render(widget).join(QString())); }

    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return Size;
        case PdmWidthMM:
        case PdmHeightMM:
            return Size * 254 / (Dpi * 10);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return Dpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    static constexpr int Size = 2000;
    static constexpr int Dpi = 96;

    class Engine : public QPaintEngine
    {
    public:
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawImage(const QRectF&, const QImage&, const QRectF&,
                       Qt::ImageConversionFlags) override
        {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
        Type type() const override { return QPaintEngine::User; }

        QStringList texts;
    };
    mutable Engine m_engine;
};
