#include "platform/widgets/ScreenFit.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

enum class Placement {
    Keep,            // where it is, moved only as far as the screen needs
    CentreOnScreen,  // a window that was never placed
    CentreOverOwner, // a dialog, over the window it belongs to
};

bool IsFitted(const QWidget* window)
{
    const Qt::WindowType type = window->windowType();
    return type != Qt::Popup && type != Qt::ToolTip;
}

// The window manager's frame around the client area, when it is known: a
// window is framed only once it has appeared, and a frameless one has none.
bool FrameKnown(const QWidget* window)
{
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return true;
    const QWindow* handle = window->windowHandle();
    return handle && !handle->frameMargins().isNull();
}

QMargins KnownFrame(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

// The frame `window` has or is about to get: its own when known, else the
// frame the window manager gave another window (they are alike), else room
// for a usual one.
QMargins ExpectedFrame(const QWidget* window)
{
    if (FrameKnown(window))
        return KnownFrame(window);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && IsFitted(other)
            && !(other->windowFlags() & Qt::FramelessWindowHint) && FrameKnown(other))
            return KnownFrame(other);
    return UnknownFrameAllowance;
}

QScreen* ScreenOf(const QWidget* window)
{
    if (QScreen* screen = window->screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

// The window a dialog belongs to: its parent's window, or else the window
// the user was working in when the dialog was opened.
QWidget* OwnerOf(QWidget* dialog)
{
    QWidget* owner =
        dialog->parentWidget() ? dialog->parentWidget()->window() : QApplication::activeWindow();
    return owner && owner != dialog && owner->isVisible() ? owner : nullptr;
}

// `frame` moved only as far as it must to lie within `area`.
QRect FrameOnScreen(QRect frame, const QRect& area)
{
    const auto start = [](int at, int length, int areaStart, int areaLength) {
        return std::clamp(at, areaStart, areaStart + std::max(0, areaLength - length));
    };
    frame.moveTo(start(frame.x(), frame.width(), area.left(), area.width()),
                 start(frame.y(), frame.height(), area.top(), area.height()));
    return frame;
}

// Fits `window` and answers the frame it counted with.
QMargins Fit(QWidget* window, QSize preferred, Placement placement, const QWidget* owner)
{
    const QScreen* screen = owner ? ScreenOf(owner) : ScreenOf(window);
    if (!screen || window->isMaximized() || window->isFullScreen())
        return KnownFrame(window);
    const QRect area = screen->availableGeometry();
    const QMargins frame = ExpectedFrame(window);
    if (QLayout* layout = window->layout())
        layout->activate();
    window->resize(window->size()
                       .expandedTo(window->sizeHint())
                       .expandedTo(preferred)
                       .boundedTo(area.size().shrunkBy(frame)));
    // The client area is placed inside the frame counted: before the frame
    // is known, a position given for the frame would go to the client area.
    QRect outer = window->geometry().marginsAdded(frame);
    if (placement == Placement::CentreOverOwner && owner)
        outer.moveCenter(owner->geometry().marginsAdded(ExpectedFrame(owner)).center());
    else if (placement != Placement::Keep)
        outer.moveCenter(area.center());
    window->setGeometry(FrameOnScreen(outer, area).marginsRemoved(frame));
    return frame;
}

// Fits its window when the window is about to appear, and once more when
// the window manager has framed it with another frame than the one counted
// with. It is the window's child, so it goes with it.
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
            Shown();
        else if (watched == m_window && event->type() == QEvent::Hide)
            m_awaitingFrame = false;
        else if (m_awaitingFrame && watched == m_handle
                 && (event->type() == QEvent::Expose || event->type() == QEvent::Move))
            CheckFrame();
        return false;
    }

private:
    void Shown()
    {
        if (m_window->windowType() == Qt::Dialog) {
            m_owner = OwnerOf(m_window);
            m_placement = m_owner ? Placement::CentreOverOwner : Placement::CentreOnScreen;
        } else {
            m_owner = nullptr;
            m_placement =
                m_window->testAttribute(Qt::WA_Moved) ? Placement::Keep : Placement::CentreOnScreen;
        }
        m_frame = Fit(m_window, m_preferred, m_placement, m_owner);
        m_awaitingFrame = !FrameKnown(m_window);
        if (m_awaitingFrame && m_window->windowHandle() != m_handle) {
            m_handle = m_window->windowHandle();
            if (m_handle)
                m_handle->installEventFilter(this);
        }
    }

    void CheckFrame()
    {
        if (!FrameKnown(m_window))
            return;
        m_awaitingFrame = false;
        if (KnownFrame(m_window) == m_frame)
            return;
        // Not inside the window system's event: the fit moves the window.
        QTimer::singleShot(0, this, [this] {
            if (m_window->isVisible())
                m_frame = Fit(m_window, m_preferred, m_placement, m_owner);
        });
    }

    QWidget* m_window;
    QSize m_preferred;
    QPointer<QWindow> m_handle;
    QPointer<QWidget> m_owner;
    Placement m_placement = Placement::Keep;
    QMargins m_frame;
    bool m_awaitingFrame = false;
};

} // namespace

void FitOnScreen(QWidget* window, QSize preferred)
{
    Fit(window, preferred, Placement::Keep, nullptr);
}

void FitOnScreenWhenShown(QWidget* window, QSize preferred)
{
    new ShowFitter(window, preferred);
}

void FitVisibleWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && IsFitted(window))
            FitOnScreen(window);
}
