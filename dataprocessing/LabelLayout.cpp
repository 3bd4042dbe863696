#include "dataprocessing/LabelLayout.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Bounds of each layout edit and the text it falls back to.
struct LayoutRule
{
    double LabelSheetLayout::*Field;
    double Minimum;
    double Maximum;
    const char* Default;
};
constexpr double Unbounded = std::numeric_limits<double>::infinity();
constexpr std::array<LayoutRule, LayoutValueCount> LayoutRules{{
    {&LabelSheetLayout::Width, 10, 200, "10"},
    {&LabelSheetLayout::Height, 5, 100, "5"},
    {&LabelSheetLayout::LeftMargin, 0, Unbounded, "0"},
    {&LabelSheetLayout::TopMargin, 0, Unbounded, "0"},
    {&LabelSheetLayout::HorizontalSpace, 0, Unbounded, "0"},
    {&LabelSheetLayout::VerticalSpace, 0, Unbounded, "0"},
}};

const LayoutRule& RuleOf(LayoutValue which)
{
    return LayoutRules[static_cast<int>(which)];
}

// A truncated double saturated into 32 bits (NaN gives 0).
int32_t TruncToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(std::clamp(std::trunc(value), double(INT32_MIN), double(INT32_MAX)));
}

} // namespace

double& LayoutLength(LabelSheetLayout& layout, LayoutValue which)
{
    return layout.*RuleOf(which).Field;
}

double LayoutLength(const LabelSheetLayout& layout, LayoutValue which)
{
    return layout.*RuleOf(which).Field;
}

int32_t MillimetresToTenths(double millimetres)
{
    return TruncToInt32(millimetres * 10);
}

CheckedLayoutText CheckLayoutText(LayoutValue which, const QString& text)
{
    const LayoutRule& rule = RuleOf(which);
    double value = 0;
    if (!TryStrToFloat(text, value) || !std::isfinite(value)) {
        const QString fallback = QString::fromLatin1(rule.Default);
        TryStrToFloat(fallback, value);
        return {false, value, fallback};
    }
    if (value < rule.Minimum)
        return {true, rule.Minimum, FloatToStr(rule.Minimum)};
    if (value > rule.Maximum)
        return {true, rule.Maximum, FloatToStr(rule.Maximum)};
    return {true, value, text};
}

std::optional<LabelCounts> AutomaticCounts(int32_t pageWidth, int32_t pageHeight, const LabelSheetLayout& layout)
{
    const int64_t cellWidth = int64_t(MillimetresToTenths(layout.Width)) + MillimetresToTenths(layout.HorizontalSpace);
    const int64_t cellHeight = int64_t(MillimetresToTenths(layout.Height)) + MillimetresToTenths(layout.VerticalSpace);
    if (cellWidth <= 0 || cellHeight <= 0)
        return std::nullopt;
    return LabelCounts{ClampToInt32((int64_t(pageWidth) - MillimetresToTenths(layout.LeftMargin)) / cellWidth),
                       ClampToInt32((int64_t(pageHeight) - MillimetresToTenths(layout.TopMargin)) / cellHeight)};
}

std::optional<TRect> FitIntoPreview(const TRect& rect, int previewWidth, int previewHeight)
{
    const double w = double(rect.Width());
    const double h = double(rect.Height());
    if (w <= 0 || h <= 0 || previewWidth <= 0 || previewHeight <= 0)
        return std::nullopt;
    double scale = 0;
    double left = 0;
    double top = 0;
    if (h < w) {
        scale = previewWidth / w;
        top = std::trunc((previewHeight - h * scale) * 0.5);
    } else {
        scale = previewHeight / h;
        left = std::trunc((previewWidth - w * scale) * 0.5);
    }
    return TRect{TruncToInt32(left), TruncToInt32(top), TruncToInt32(left + w * scale),
                 TruncToInt32(top + h * scale)};
}
