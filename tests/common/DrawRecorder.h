#pragma once
// A paint device that keeps what was drawn where (images, texts and filled
// shapes, in device coordinates), so that tests check drawing without pixels.

#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>
#include <QTextItem>
#include <QTransform>

#include <climits>

class DrawRecorder : public QPaintDevice
{
public:
    struct Text
    {
        QString text;
        QPointF at;
    };

    struct Engine : QPaintEngine
    {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& state) override
        {
            if (state.state() & DirtyTransform)
                transform = state.transform();
        }
        void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override
        {
            images << transform.mapRect(r).toRect();
        }
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            texts << Text{item.text(), transform.map(p)};
        }
        void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
        {
            // Outlines and lines are the style's frames; filled shapes are marks.
            if (mode != PolylineMode)
                shapes << transform.map(QPolygonF(QList<QPointF>(points, points + count)))
                              .boundingRect()
                              .toRect();
        }
        // Ellipses (the validity marks) are filled shapes too.
        using QPaintEngine::drawEllipse;
        void drawEllipse(const QRectF& r) override { shapes << transform.mapRect(r).toRect(); }
        void drawPath(const QPainterPath&) override {}
        Type type() const override { return QPaintEngine::User; }

        QTransform transform;
        QList<QRect> images;
        QList<Text> texts;
        QList<QRect> shapes;
    };

    QPaintEngine* paintEngine() const override { return &engine; }
    mutable Engine engine;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        constexpr int Side = 4000;
        constexpr int Dpi = 96;
        constexpr double MillimetresPerInch = 25.4;
        constexpr int Depth = 32;
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return Side;
        case PdmWidthMM:
        case PdmHeightMM:
            return static_cast<int>(Side * MillimetresPerInch / Dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return Dpi;
        case PdmDepth:
            return Depth;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }
};
