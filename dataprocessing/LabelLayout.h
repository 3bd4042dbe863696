#pragma once
// The rules of the label wizard's layout: the bounds of the six lengths as
// the user types them, the automatic label counts, and the fitting of a
// label template into the preview box.

#include "dataprocessing/QuillfenTransferForm.h"
#include "platform/Canvas.h"

#include <QString>

#include <cstdint>
#include <optional>

// The six lengths, in the order of the wizard's edits 1 to 6.
enum class LayoutValue { Width, Height, LeftMargin, TopMargin, HorizontalSpace, VerticalSpace };
constexpr int LayoutValueCount = 6;

// The length of the layout that a value names, in millimetres.
double& LayoutLength(LabelSheetLayout& layout, LayoutValue which);
double LayoutLength(const LabelSheetLayout& layout, LayoutValue which);

// Value × 10, truncated toward zero (and kept within 32 bits).
int32_t MillimetresToTenths(double millimetres);

// What leaving a layout edit makes of its text.
struct CheckedLayoutText
{
    bool IsNumber = false; // false: the text was replaced by the default
    double Value = 0;      // millimetres, within the value's bounds
    QString Text;          // what the edit shows afterwards
};
CheckedLayoutText CheckLayoutText(LayoutValue which, const QString& text);

struct LabelCounts
{
    int32_t Across = 0;
    int32_t Down = 0;
};
// How many labels fit across and down a page (tenths of a millimetre);
// nothing when a label with its space has no positive extent.
std::optional<LabelCounts> AutomaticCounts(int32_t pageWidth, int32_t pageHeight, const LabelSheetLayout& layout);

// A template rectangle fitted into a preview box of the given size, centred
// along its shorter side; nothing when either has no positive extent.
std::optional<TRect> FitIntoPreview(const TRect& rect, int previewWidth, int previewHeight);
