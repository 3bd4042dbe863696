#include "designer/DesignerUnits.h"

#include "documents/QuillfenZoom.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Canvas.h"
#include "platform/NumberText.h"

#include <cmath>

namespace DesignerUnits {

namespace {
// Zoom steps as integer ratios: in = (z * 141 - 1) / 100 gives the product
// with the double nearest 1.41, which lies just below it.
constexpr int64_t ZoomStepNumerator = 141;
constexpr int64_t ZoomStepDenominator = 100;
constexpr int32_t TenthsPerMillimetre = 10;
const QString MillimetreSuffix = QStringLiteral(" mm");
} // namespace

std::optional<int32_t> TenthsFromMillimetres(const QString& text)
{
    double value = 0;
    if (!TryStrToFloat(text, value))
        return std::nullopt;
    const double tenths = std::trunc(value * TenthsPerMillimetre);
    if (tenths < INT32_MIN || tenths > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(tenths);
}

std::optional<int32_t> PageSizeFromMillimetres(const QString& text)
{
    const std::optional<int32_t> tenths = TenthsFromMillimetres(text);
    if (!tenths || *tenths < MinPageSize || *tenths > MaxPageSize)
        return std::nullopt;
    return tenths;
}

std::optional<int32_t> TenthsFromMillimetreText(const QString& text)
{
    const qsizetype unit = text.indexOf(u'm');
    return TenthsFromMillimetres(unit < 0 ? text : text.left(unit));
}

QString MillimetreText(int64_t tenths)
{
    return FloatToStr(double(tenths) / TenthsPerMillimetre);
}

int32_t LeadingInteger(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i].unicode() - u'0'), int64_t(INT32_MAX) + 1);
    return ClampToInt32(negative ? -value : value);
}

int32_t ZoomIn(int32_t zoom)
{
    return ClampToInt32((int64_t(zoom) * ZoomStepNumerator - 1) / ZoomStepDenominator);
}

int32_t ZoomOut(int32_t zoom)
{
    return ClampToInt32(int64_t(zoom) * ZoomStepDenominator / ZoomStepNumerator);
}

int32_t WholePageZoom(int32_t viewportHeight, int32_t pageHeight)
{
    if (pageHeight <= 0)
        return QuillfenZoom::DefaultZoom;
    return ClampToInt32((int64_t(viewportHeight) - WholePageMargin) * QuillfenZoom::MaxZoom / pageHeight);
}

QString ZoomText(int32_t zoom)
{
    return QString::number(zoom) + QStringLiteral(" %");
}

int32_t ZoomFromText(const QString& text)
{
    const int32_t zoom = LeadingInteger(text);
    return zoom == 0 ? QuillfenZoom::DefaultZoom : zoom;
}

double GridMillimetres(const QString& text)
{
    const qsizetype unit = text.indexOf(u'm');
    double value = 0;
    if (!TryStrToFloat(unit < 0 ? text : text.left(unit), value) || value < 0)
        return 0;
    return std::min(value, MaxGridMillimetres);
}

int32_t GridStepFromText(const QString& text)
{
    return static_cast<int32_t>(std::trunc(GridMillimetres(text) * TenthsPerMillimetre));
}

QString GridText(int32_t step)
{
    if (step == 0)
        return MainLanguage.GetString(StringId::GridNone);
    return MillimetreText(step) + MillimetreSuffix;
}

QString StatusText(int32_t x, int32_t y, const QString& kind)
{
    return FormatFloat(QStringLiteral("0.0"), x / TenthsPerMillimetre) + u':'
        + FormatFloat(QStringLiteral("0.0"), y / TenthsPerMillimetre) + QStringLiteral("   ") + kind;
}

} // namespace DesignerUnits
