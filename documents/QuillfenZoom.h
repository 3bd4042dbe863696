#pragma once
// The zoom of a document's drawing panel: model units (tenths of a
// millimetre) to screen pixels and back. At zoom 250 a pixel is a tenth of a
// millimetre; at the default 100 it is 2.5 tenths.

#include <cstdint>
#include <functional>

class QuillfenZoom
{
public:
    static constexpr int32_t MinZoom = 20;
    static constexpr int32_t MaxZoom = 250;
    static constexpr int32_t DefaultZoom = 100;

    // Resizes the drawing panel to the page's size in pixels. The model knows
    // no widgets: the window hands in this callback, or none without a window.
    using PanelResizer = std::function<void(int32_t width, int32_t height)>;

    QuillfenZoom(int32_t zoom, PanelResizer panel, int32_t pageWidth, int32_t pageHeight);

    // The panel follows at the next SetZoom.
    void SetPageSize(int32_t width, int32_t height);
    // Clamps to 20..250 and resizes the panel to the scaled page.
    void SetZoom(int32_t zoom);
    int32_t GetZoom() const { return m_zoom; }

    // v * 250 / zoom and v * zoom / 250, truncated toward zero.
    int32_t ScreenToModel(int32_t v) const;
    int32_t ModelToScreen(int32_t v) const;

private:
    PanelResizer m_panel;
    int32_t m_zoom = DefaultZoom;
    int32_t m_pageWidth = 0;
    int32_t m_pageHeight = 0;
};
