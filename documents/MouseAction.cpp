#include "documents/MouseAction.h"

#include "documents/AbstractFormObject.h"
#include "documents/PageObject.h"
#include "documents/QuillfenSelection.h"
#include "documents/QuillfenZoom.h"

#include <algorithm>
#include <cmath>

MouseAction::MouseAction(int32_t grid, const QuillfenZoom* zoom) : Grid(grid), Zoom(zoom) {}

MouseAction::~MouseAction() = default;

void MouseAction::MouseUp(int32_t, int32_t)
{
    HideFocusRect();
    ClampRect();
    if (Target)
        Target->SetRect(Left, Top, Right, Bottom);
}

void MouseAction::SetBounds(int32_t maxX, int32_t maxY)
{
    MaxX = maxX;
    MaxY = maxY;
}

int32_t MouseAction::Snap(int32_t v) const
{
    if (Grid == 0)
        return v;
    const double steps = std::ceil(double(v) / Grid);
    return ClampToInt32(static_cast<int64_t>(steps * Grid));
}

void MouseAction::ClampRect()
{
    const auto clamp = [](int32_t& low, int32_t& high, int32_t max) {
        const int64_t far = std::max(low, high);
        if (far > max) {
            const int64_t shift = far - max;
            low = ClampToInt32(low - shift);
            high = ClampToInt32(high - shift);
        }
    };
    clamp(Left, Right, MaxX);
    clamp(Top, Bottom, MaxY);
}

std::optional<TRect> MouseAction::GetFocusRect() const
{
    if (!m_shown || !Zoom)
        return std::nullopt;
    return ToScreen(*Zoom, GetRect());
}

TRect MouseAction::ToScreen(const QuillfenZoom& zoom, const TRect& rect)
{
    const int32_t l = zoom.ModelToScreen(rect.Left);
    const int32_t t = zoom.ModelToScreen(rect.Top);
    const int32_t r = zoom.ModelToScreen(rect.Right);
    const int32_t b = zoom.ModelToScreen(rect.Bottom);
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

void MouseAction::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Left = left;
    Top = top;
    Right = right;
    Bottom = bottom;
}

// --- Rubber band -------------------------------------------------------------------

MouseActionSelect::MouseActionSelect(PageObject* page, QuillfenSelection* selection,
                                     const QuillfenZoom* zoom)
    : MouseAction(1, zoom), Selection(selection), Page(page)
{
}

void MouseActionSelect::MouseDown(int32_t x, int32_t y, const TRect&)
{
    SetRect(x, y, x, y);
    ShowFocusRect();
}

void MouseActionSelect::MouseMove(int32_t x, int32_t y)
{
    Right = x;
    Bottom = y;
}

void MouseActionSelect::MouseUp(int32_t, int32_t)
{
    HideFocusRect();
    SetRect(std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right), std::max(Top, Bottom));
    Selection->Clear();
    if (!Page)
        return;
    for (int i = 0; i < Page->GetCount(); ++i) {
        AbstractFormObject* child = Page->GetObject(i);
        const TRect r = child->GetRect();
        if (Left < r.Left && r.Right < Right && Top < r.Top && r.Bottom < Bottom)
            Selection->AddObject(child);
    }
}

// --- Move -------------------------------------------------------------------------

MouseActionMoveSelection::MouseActionMoveSelection(QuillfenSelection* selection, int32_t grid,
                                                   const QuillfenZoom* zoom)
    : MouseAction(grid, zoom), Selection(selection)
{
}

void MouseActionMoveSelection::MouseDown(int32_t x, int32_t y, const TRect& rect)
{
    SetRect(rect.Left, rect.Top, rect.Right, rect.Bottom);
    OffsetX = ClampToInt32(int64_t(rect.Left) - x);
    OffsetY = ClampToInt32(int64_t(rect.Top) - y);
    ShowFocusRect();
}

void MouseActionMoveSelection::MouseMove(int32_t x, int32_t y)
{
    const int32_t left = Snap(ClampToInt32(int64_t(x) + OffsetX));
    const int32_t top = Snap(ClampToInt32(int64_t(y) + OffsetY));
    Right = ClampToInt32(int64_t(Right) + left - Left);
    Bottom = ClampToInt32(int64_t(Bottom) + top - Top);
    Left = left;
    Top = top;
}

void MouseActionMoveSelection::MouseUp(int32_t, int32_t)
{
    HideFocusRect();
    ClampRect();
    Selection->MoveTo(Left, Top);
}

// --- Corner resizes ---------------------------------------------------------------------

MouseActionCornerSize::MouseActionCornerSize(AbstractFormObject* target, int32_t grid,
                                             const QuillfenZoom* zoom, Horizontal horizontal,
                                             Vertical vertical)
    : MouseAction(grid, zoom), m_horizontal(horizontal), m_vertical(vertical)
{
    Target = target;
}

void MouseActionCornerSize::MouseDown(int32_t x, int32_t y, const TRect& rect)
{
    // The press point is the dragged corner, not snapped.
    const bool left = m_horizontal == LeftEdge;
    const bool top = m_vertical == TopEdge;
    SetRect(left ? x : rect.Left, top ? y : rect.Top, left ? rect.Right : x, top ? rect.Bottom : y);
    ShowFocusRect();
}

void MouseActionCornerSize::MouseMove(int32_t x, int32_t y)
{
    (m_horizontal == LeftEdge ? Left : Right) = Snap(x);
    (m_vertical == TopEdge ? Top : Bottom) = Snap(y);
}

// --- Nothing --------------------------------------------------------------------------

MouseActionNull::MouseActionNull(const QuillfenZoom* zoom) : MouseAction(1, zoom) {}

void MouseActionNull::MouseDown(int32_t, int32_t, const TRect&) {}

void MouseActionNull::MouseMove(int32_t, int32_t) {}

void MouseActionNull::MouseUp(int32_t, int32_t) {}
