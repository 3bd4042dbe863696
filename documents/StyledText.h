#pragma once
// Styled text: UTF-16 with LF between lines and ESC followed by one style
// word (bits 0-1: 2 subscript, 3 superscript, else normal; bit 2 bold; bit 3
// italic) that holds until the next ESC, across line ends. Normal is written
// as 1 so that a style word is never 0.

#include "platform/Canvas.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace Style {
constexpr char16_t Esc = 27;
constexpr int Normal = 1;
constexpr int Subscript = 2;
constexpr int Superscript = 3;
constexpr int Bold = 4;
constexpr int Italic = 8;
} // namespace Style

// 1 plus the line feeds; the unit after an ESC is a style word, never a line feed.
int CountStyledLines(QStringView text);

// The font of a style word for a text of the given size, and how far below
// the line's top its characters sit (subscripts are lowered).
struct StyledFont
{
    FontSpec Font;
    int32_t BaselineOffset = 0;
};
StyledFont FontForStyle(int style, int32_t size, const QByteArray& face, bool turned);

// Width of the line that starts at `start` (up to the next line feed or the
// end), each character measured by itself in the font of its run. `style` is
// the style in force at the start of the line.
int64_t StyledLineWidth(const TextMetrics& metrics, QStringView text, qsizetype start, int style,
                        int32_t size, const QByteArray& face, bool turned);

// Lays a styled text out in a box with one of the 18 alignment codes and
// draws it in the canvas's text and brush colours. Codes 0..8: code / 3 places
// each line (left, centre, right), code % 3 the block (top, middle, bottom).
// Codes 9..17 turn the text 90 degrees counter-clockwise; with k = code - 9,
// k / 3 places the block across the box and k % 3 each line along it. The
// line pitch is `size`. Lines outside the box and characters beyond its
// edges cost no measuring or drawing, so a text of megabytes draws as fast
// as the part its box shows. Leaves a style's font selected.
void DrawStyledBlock(TCanvas& canvas, const TRect& box, QStringView text, int32_t align, int32_t size,
                     const QByteArray& face);

// One line of a list or tree item with quantity-symbol markers: the big font
// is the rectangle's height, sub- and superscripts 70 % of it (subscripts 30 %
// lower). TAB jumps to `tabPosition` from the left, CR ends the text. The
// canvas's font is restored afterwards.
void DrawStyledText(TCanvas& canvas, const QByteArray& fontName, const TRect& rect, QStringView text,
                    int32_t tabPosition, bool bold);

// A text as the stored NUL-terminated texts hold it: cut at the first NUL,
// and never null (an absent text becomes the empty text).
QString TextUpToNul(const QString& text);
