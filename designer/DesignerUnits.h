#pragma once
// The designer's texts for lengths, zoom, grid and the status line, and the
// reading of what the user types into its boxes. Lengths are typed and shown
// in millimetres and stored in tenths of a millimetre.

#include "language/StringIds.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace DesignerUnits {

// A page side in tenths of a millimetre: at least one tenth, and small enough
// that placing fields and scaling the page to the screen cannot overflow.
constexpr int32_t MinPageSize = 1;
constexpr int32_t MaxPageSize = 1000000;
// Rows and columns of a new table.
constexpr int32_t MaxTableCells = 100;
// The grid box's range in millimetres.
constexpr double MaxGridMillimetres = 10.0;
// What Whole page leaves free below the page, in pixels.
constexpr int32_t WholePageMargin = 20;

// A decimal number of millimetres (the locale's separator) as tenths,
// truncated toward zero; none for junk and for values outside int32.
std::optional<int32_t> TenthsFromMillimetres(const QString& text);
// The same, bounded to MinPageSize..MaxPageSize.
std::optional<int32_t> PageSizeFromMillimetres(const QString& text);
// A number of millimetres followed by a unit the user may have typed
// ("12 mm", "1.5mm"): the text before the first "m" is read.
std::optional<int32_t> TenthsFromMillimetreText(const QString& text);
// Tenths shown as millimetres in the general float format (125 -> "12.5").
QString MillimetreText(int64_t tenths);

// The leading integer of a text: blanks, an optional sign, then digits up to
// the first other character; 0 when there are none. Saturates.
int32_t LeadingInteger(const QString& text);

// Zoom in and out by a factor of 1.41, truncated (the zoom object clamps).
int32_t ZoomIn(int32_t zoom);
int32_t ZoomOut(int32_t zoom);
// The zoom that fits the page's height into a viewport; the default zoom for
// a page without height.
int32_t WholePageZoom(int32_t viewportHeight, int32_t pageHeight);
// The zoom box's text ("150 %") and its reading (0 or no digits: 100).
QString ZoomText(int32_t zoom);
int32_t ZoomFromText(const QString& text);

// The grid box: the text before the first "m" as millimetres, 0..10 (junk
// 0), returned as a step in tenths; and a step shown as "None" or "1.5 mm".
double GridMillimetres(const QString& text);
int32_t GridStepFromText(const QString& text);
QString GridText(int32_t step);

// "123.0:56.0   Location": the pointer in whole millimetres and the kind of
// field under it.
QString StatusText(int32_t x, int32_t y, const QString& kind);

// A text field's Type names the record column it holds, as the status line
// and the type list show it.
constexpr std::array<int, 12> TextTypeCaptions = {
    StringId::FixedText,   StringId::EditableText,      StringId::RecordName,
    StringId::RecordId,    StringId::RecordDescription, StringId::RecordNextRevision,
    StringId::RecordNote1, StringId::RecordNote2,       StringId::RecordNote3,
    StringId::RecordNote4, StringId::RecordNote5,       StringId::RecordLocation};

// The caption of a text field's Type; 0 for a Type without one.
constexpr int TextTypeCaption(int type)
{
    return type >= 0 && type < static_cast<int>(TextTypeCaptions.size())
               ? TextTypeCaptions[static_cast<size_t>(type)]
               : 0;
}

} // namespace DesignerUnits
