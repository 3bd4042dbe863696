#include "platform/widgets/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// Fits its window when the window is about to appear; it is the window's
// child, so it goes with it.
class ShowFitter : public QObject
{
public:
    ShowFitter(QWidget* window, QSize preferred)
        : QObject(window), m_window(window), m_preferred(preferred)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && event->type() == QEvent::Show)
            FitOnScreen(m_window, m_preferred);
        return false;
    }

private:
    QWidget* m_window;
    QSize m_preferred;
};

QScreen* ScreenOf(const QWidget* window)
{
    if (QScreen* screen = window->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

// The window manager's frame around the client area; none is known before
// the window first appears.
QMargins FrameMargins(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

int ClampedStart(int start, int length, int areaStart, int areaLength)
{
    return std::clamp(start, areaStart, areaStart + std::max(0, areaLength - length));
}

} // namespace

void FitOnScreen(QWidget* window, QSize preferred)
{
    const QScreen* screen = ScreenOf(window);
    if (!screen || window->isMaximized() || window->isFullScreen())
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = FrameMargins(window);
    const QSize room = area.size().shrunkBy(frame);
    if (QLayout* layout = window->layout())
        layout->activate();
    const QSize size =
        window->size().expandedTo(window->sizeHint()).expandedTo(preferred).boundedTo(room);
    window->resize(size);
    const QSize outer = window->size().grownBy(frame);
    const QPoint at = window->pos();
    window->move(ClampedStart(at.x(), outer.width(), area.left(), area.width()),
                 ClampedStart(at.y(), outer.height(), area.top(), area.height()));
}

void FitOnScreenWhenShown(QWidget* window, QSize preferred)
{
    new ShowFitter(window, preferred);
}

void FitVisibleWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && type != Qt::Popup && type != Qt::ToolTip)
            FitOnScreen(window);
    }
}
