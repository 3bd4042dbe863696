#include "documents/QuillfenZoom.h"

#include "platform/Canvas.h"

#include <algorithm>

QuillfenZoom::QuillfenZoom(int32_t zoom, PanelResizer panel, int32_t pageWidth, int32_t pageHeight)
    : m_panel(std::move(panel)), m_pageWidth(pageWidth), m_pageHeight(pageHeight)
{
    SetZoom(zoom);
}

void QuillfenZoom::SetPageSize(int32_t width, int32_t height)
{
    m_pageWidth = width;
    m_pageHeight = height;
}

void QuillfenZoom::SetZoom(int32_t zoom)
{
    m_zoom = std::clamp(zoom, MinZoom, MaxZoom);
    if (m_panel)
        m_panel(ModelToScreen(m_pageWidth), ModelToScreen(m_pageHeight));
}

int32_t QuillfenZoom::ScreenToModel(int32_t v) const
{
    return ClampToInt32(int64_t(v) * MaxZoom / m_zoom);
}

int32_t QuillfenZoom::ModelToScreen(int32_t v) const
{
    return ClampToInt32(int64_t(v) * m_zoom / MaxZoom);
}
