#pragma once
// One drag on the designer's page: a rubber band that selects, a move of the
// whole selection, or a resize of one object by one of its corners. The
// designer creates an action on the left-button press, feeds it the pointer
// in model units while the button is held and, on release, sets the page as
// the clamp bounds and calls MouseUp; then it deletes the action.
//
// The model changes only in MouseUp. During the drag the canvas shows the
// action's rectangle as an overlay: after each call it repaints and draws
// GetFocusRect() (in screen pixels) when there is one.

#include "platform/Canvas.h"

#include <cstdint>
#include <optional>

class AbstractFormObject;
class PageObject;
class QuillfenSelection;
class QuillfenZoom;

class MouseAction
{
public:
    // Clamp bounds until SetBounds is called.
    static constexpr int32_t DefaultMax = 1000;

    // `zoom` is the document's; it must outlive the action. Grid 0 snaps nothing.
    MouseAction(int32_t grid, const QuillfenZoom* zoom);
    virtual ~MouseAction();
    MouseAction(const MouseAction&) = delete;
    MouseAction& operator=(const MouseAction&) = delete;

    // The press point; `rect` is what is dragged (the selection's bounds for
    // a move, the object's rectangle for a resize; ignored otherwise).
    virtual void MouseDown(int32_t x, int32_t y, const TRect& rect) = 0;
    virtual void MouseMove(int32_t x, int32_t y) = 0;
    // Here for the resizes: the rectangle, clamped, goes onto the target.
    virtual void MouseUp(int32_t x, int32_t y);

    void SetBounds(int32_t maxX, int32_t maxY);
    // The next multiple of the grid step at or above v (v itself for grid 0).
    int32_t Snap(int32_t v) const;
    // Shifts the rectangle left (up) so that its greater horizontal
    // (vertical) edge does not pass MaxX (MaxY); the size stays. There is no
    // lower clamp: an object's SetRect puts a negative edge at 0.
    void ClampRect();

    // The rectangle being dragged, in model units, as it stands.
    TRect GetRect() const { return {Left, Top, Right, Bottom}; }
    AbstractFormObject* GetTarget() const { return Target; }
    // The overlay to draw, in screen pixels with Left <= Right and
    // Top <= Bottom; none before MouseDown, after MouseUp and for an action
    // that draws nothing.
    std::optional<TRect> GetFocusRect() const;
    // A model rectangle at the zoom's scale (each edge × zoom / 250,
    // truncated), ordered.
    static TRect ToScreen(const QuillfenZoom& zoom, const TRect& rect);

protected:
    void ShowFocusRect() { m_shown = true; }
    void HideFocusRect() { m_shown = false; }
    void SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom);

    int32_t Grid;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    const QuillfenZoom* Zoom;
    AbstractFormObject* Target = nullptr;
    int32_t MaxX = DefaultMax;
    int32_t MaxY = DefaultMax;

private:
    bool m_shown = false;
};

// The rubber band: on release the selection becomes the page's direct
// children that lie strictly inside the band.
class MouseActionSelect : public MouseAction
{
public:
    MouseActionSelect(PageObject* page, QuillfenSelection* selection, const QuillfenZoom* zoom);
    void MouseDown(int32_t x, int32_t y, const TRect& rect) override;
    void MouseMove(int32_t x, int32_t y) override;
    void MouseUp(int32_t x, int32_t y) override;

private:
    QuillfenSelection* Selection;
    PageObject* Page;
};

// Moves the selection's box with its top-left corner snapped to the grid.
class MouseActionMoveSelection : public MouseAction
{
public:
    MouseActionMoveSelection(QuillfenSelection* selection, int32_t grid, const QuillfenZoom* zoom);
    void MouseDown(int32_t x, int32_t y, const TRect& rect) override;
    void MouseMove(int32_t x, int32_t y) override;
    void MouseUp(int32_t x, int32_t y) override;

private:
    int32_t OffsetX = 0;
    int32_t OffsetY = 0;
    QuillfenSelection* Selection;
};

// The four corner resizes: the dragged corner follows the snapped pointer,
// the opposite corner stays.
class MouseActionCornerSize : public MouseAction
{
public:
    enum Horizontal { RightEdge, LeftEdge };
    enum Vertical { BottomEdge, TopEdge };

    MouseActionCornerSize(AbstractFormObject* target, int32_t grid, const QuillfenZoom* zoom,
                          Horizontal horizontal, Vertical vertical);
    void MouseDown(int32_t x, int32_t y, const TRect& rect) override;
    void MouseMove(int32_t x, int32_t y) override;

private:
    Horizontal m_horizontal;
    Vertical m_vertical;
};

template <MouseActionCornerSize::Horizontal H, MouseActionCornerSize::Vertical V>
class MouseActionCornerSizeAt : public MouseActionCornerSize
{
public:
    MouseActionCornerSizeAt(AbstractFormObject* target, int32_t grid, const QuillfenZoom* zoom)
        : MouseActionCornerSize(target, grid, zoom, H, V)
    {
    }
};

using MouseActionRightBottomSize = MouseActionCornerSizeAt<MouseActionCornerSize::RightEdge, MouseActionCornerSize::BottomEdge>;
using MouseActionLeftBottomSize = MouseActionCornerSizeAt<MouseActionCornerSize::LeftEdge, MouseActionCornerSize::BottomEdge>;
using MouseActionLeftTopSize = MouseActionCornerSizeAt<MouseActionCornerSize::LeftEdge, MouseActionCornerSize::TopEdge>;
using MouseActionRightTopSize = MouseActionCornerSizeAt<MouseActionCornerSize::RightEdge, MouseActionCornerSize::TopEdge>;

// A press that only changed the selection: the drag does nothing.
class MouseActionNull : public MouseAction
{
public:
    explicit MouseActionNull(const QuillfenZoom* zoom);
    void MouseDown(int32_t x, int32_t y, const TRect& rect) override;
    void MouseMove(int32_t x, int32_t y) override;
    void MouseUp(int32_t x, int32_t y) override;
};
