#include "designer/widgets/DesignerCanvas.h"

#include "designer/widgets/QuillfenDesigner.h"
#include "platform/NumberText.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
// The dotted outline of a drag and the width of the strip repainted under it.
constexpr int OutlineWidth = 1;
constexpr int OutlineStrip = 2;
constexpr auto BordersTextFlags = Qt::TextSingleLine;
} // namespace

DesignerCanvas::DesignerCanvas(TForm2* window, QWidget* parent) : QWidget(parent), m_window(window)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void DesignerCanvas::Invalidate()
{
    m_dragCache = QImage();
    m_shownOutline = QRegion();
    update();
}

QRegion DesignerCanvas::FocusOutline() const
{
    const MouseAction* action = m_document ? m_document->GetAction() : nullptr;
    const std::optional<TRect> r = action ? action->GetFocusRect() : std::nullopt;
    if (!r)
        return {};
    const QRect outer = QRect(QPoint(r->Left, r->Top), QPoint(r->Right, r->Bottom))
                            .adjusted(-OutlineStrip, -OutlineStrip, OutlineStrip, OutlineStrip);
    const QRect inner = outer.adjusted(2 * OutlineStrip, 2 * OutlineStrip, -2 * OutlineStrip, -2 * OutlineStrip);
    return QRegion(outer).subtracted(inner.isValid() ? QRegion(inner) : QRegion());
}

void DesignerCanvas::DragMoved()
{
    const QRegion outline = FocusOutline();
    update(outline.united(m_shownOutline));
    m_shownOutline = outline;
}

void DesignerCanvas::PaintPage(QPainter& painter)
{
    painter.fillRect(rect(), Qt::white);
    if (!m_document)
        return;
    PainterCanvas canvas(painter);
    m_document->DrawScaled(canvas);
}

void DesignerCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const bool dragging = m_document && m_document->GetAction();
    if (dragging) {
        if (m_dragCache.isNull()) {
            m_dragCache = QImage(size() * devicePixelRatio(), QImage::Format_RGB32);
            m_dragCache.setDevicePixelRatio(devicePixelRatio());
            QPainter cachePainter(&m_dragCache);
            PaintPage(cachePainter);
        }
        for (const QRect& r : event->region())
            painter.drawImage(r, m_dragCache, QRectF(r.topLeft() * devicePixelRatio(), r.size() * devicePixelRatio()));
        const std::optional<TRect> focus = m_document->GetAction()->GetFocusRect();
        if (focus) {
            QPen pen(Qt::black, OutlineWidth, Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(QPoint(focus->Left, focus->Top), QPoint(focus->Right, focus->Bottom)));
        }
        return;
    }
    m_dragCache = QImage();
    PaintPage(painter);
}

void DesignerCanvas::mousePressEvent(QMouseEvent* event)
{
    m_window->PaintBox1MouseDown(event, false);
}

void DesignerCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_window->PaintBox1MouseDown(event, true);
}

void DesignerCanvas::mouseMoveEvent(QMouseEvent* event)
{
    m_window->PaintBox1MouseMove(event);
}

void DesignerCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    m_window->PaintBox1MouseUp(event);
}

BordersPreview::BordersPreview(TForm2* window, QWidget* parent) : QWidget(parent), m_window(window)
{
    setObjectName(QStringLiteral("PaintBox4"));
}

int BordersPreview::SideAt(int x, int y, int width, int height)
{
    const float a = float(x) / float(width);
    const float b = float(y) / float(height);
    const float c = float(width - x) / float(width);
    if (a > b)
        return c >= b ? TForm2::TopSide : TForm2::RightSide;
    return c < b ? TForm2::BottomSide : TForm2::LeftSide;
}

void BordersPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const QuillfenSelection* selection = m_document ? &m_document->GetSelection() : nullptr;
    const auto width = [selection](int32_t (QuillfenSelection::*get)() const) {
        return selection && selection->GetCount() > 0 ? (selection->*get)() : QuillfenSelection::Mixed;
    };
    const int32_t l = width(&QuillfenSelection::GetLeftBorder);
    const int32_t t = width(&QuillfenSelection::GetTopBorder);
    const int32_t r = width(&QuillfenSelection::GetRightBorder);
    const int32_t b = width(&QuillfenSelection::GetBottomBorder);
    const int w = this->width();
    const int h = height();
    if (t > 0)
        painter.fillRect(0, 0, w, t, Qt::black);
    if (l > 0)
        painter.fillRect(0, 0, l, h, Qt::black);
    if (b > 0)
        painter.fillRect(0, h - b, w, b, Qt::black);
    if (r > 0)
        painter.fillRect(w - r, 0, r, h, Qt::black);
    const auto text = [](int32_t v) { return v < 0 ? QStringLiteral("?") : FloatToStr(v * 0.1); };
    painter.setPen(Qt::black);
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | BordersTextFlags, text(t));
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignBottom | BordersTextFlags, text(b));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | BordersTextFlags, text(l));
    painter.drawText(rect(), Qt::AlignRight | Qt::AlignVCenter | BordersTextFlags, text(r));
}

void BordersPreview::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_window->BorderSideChosen(SideAt(p.x(), p.y(), width(), height()), event->globalPosition().toPoint());
}
