#include "documents/StyledText.h"

#include <algorithm>

namespace {

// Takes the ESC at `pos` and the style word after it. False when the ESC is
// the text's last character: it has no style word, and the text ends there.
bool TakeStyleSwitch(QStringView text, qsizetype& pos, int& style)
{
    if (pos + 1 >= text.size())
        return false;
    style = text[pos + 1].unicode();
    pos += 2;
    return true;
}

QStringView UpToNul(QStringView text)
{
    const qsizetype end = text.indexOf(QChar(0));
    return end < 0 ? text : text.left(end);
}

// The character at `pos`: one unit, or a surrogate pair kept together.
qsizetype CharLength(QStringView text, qsizetype pos)
{
    if (text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate())
        return 2;
    return 1;
}

} // namespace

QString TextUpToNul(const QString& text)
{
    const qsizetype end = text.indexOf(QChar(0));
    QString result = end < 0 ? text : text.left(end);
    if (result.isNull())
        result = QString(QLatin1StringView(""));
    return result;
}

int CountStyledLines(QStringView text)
{
    text = UpToNul(text);
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == Style::Esc)
            ++i;
        else if (text[i] == u'\n')
            ++lines;
    }
    return lines;
}

StyledFont FontForStyle(int style, int32_t size, const QByteArray& face, bool turned)
{
    StyledFont result;
    int64_t height = size;
    switch (style & 3) {
    case Style::Subscript:
        height = int64_t(size) * 60 / 100;
        result.BaselineOffset = ClampToInt32(int64_t(size) * 40 / 100);
        break;
    case Style::Superscript:
        height = int64_t(size) * 60 / 100;
        break;
    default:
        break;
    }
    result.Font.Height = ClampToInt32(height);
    result.Font.Escapement = turned ? 900 : 0;
    result.Font.Weight = (style & Style::Bold) ? 700 : 400;
    result.Font.Italic = (style & Style::Italic) != 0;
    result.Font.FaceName = face;
    return result;
}

int64_t StyledLineWidth(const TextMetrics& metrics, QStringView text, qsizetype start, int style,
                        int32_t size, const QByteArray& face, bool turned)
{
    text = UpToNul(text);
    StyledFont font = FontForStyle(style, size, face, turned);
    int64_t width = 0;
    for (qsizetype i = start; i < text.size() && text[i] != u'\n';) {
        if (text[i] == Style::Esc) {
            if (!TakeStyleSwitch(text, i, style))
                break;
            font = FontForStyle(style, size, face, turned);
            continue;
        }
        const qsizetype len = CharLength(text, i);
        width += metrics.TextExtent(font.Font, text.mid(i, len)).cx;
        i += len;
    }
    return width;
}

namespace {

// Offset of a block or line placed at the start (0), centre (1) or end (2)
// of the room left over; halves truncate toward zero.
int64_t Place(int placement, int64_t room)
{
    switch (placement) {
    case 1:
        return room / 2;
    case 2:
        return room;
    default:
        return 0;
    }
}

void DrawUprightBlock(TCanvas& canvas, const TRect& box, QStringView text, int32_t align, int32_t size,
                      const QByteArray& face)
{
    const int64_t lines = CountStyledLines(text);
    const int64_t dy = Place(align % 3, box.Height() - lines * size);
    int style = Style::Normal;
    qsizetype pos = 0;
    for (int64_t line = 0; line < lines; ++line) {
        const int64_t width = StyledLineWidth(canvas.Metrics(), text, pos, style, size, face, false);
        const int64_t dx = Place(align / 3, box.Width() - width);
        StyledFont font = FontForStyle(style, size, face, false);
        canvas.SetFont(font.Font);
        int64_t x = int64_t(box.Left) + dx;
        const int64_t y = int64_t(box.Top) + dy + line * size;
        while (pos < text.size() && text[pos] != u'\n') {
            if (text[pos] == Style::Esc) {
                if (!TakeStyleSwitch(text, pos, style)) {
                    pos = text.size();
                    break;
                }
                font = FontForStyle(style, size, face, false);
                canvas.SetFont(font.Font);
                continue;
            }
            const QStringView ch = text.mid(pos, CharLength(text, pos));
            canvas.TextOutClipped(ClampToInt32(x), ClampToInt32(y + font.BaselineOffset), box, ch);
            x += canvas.TextWidth(ch);
            pos += ch.size();
        }
        ++pos; // the line feed
    }
}

void DrawTurnedBlock(TCanvas& canvas, const TRect& box, QStringView text, int32_t align, int32_t size,
                     const QByteArray& face)
{
    const int k = align - 9;
    const int64_t lines = CountStyledLines(text);
    const int64_t dx = Place(k / 3, box.Width() - lines * size);
    int style = Style::Normal;
    qsizetype pos = 0;
    for (int64_t line = 0; line < lines; ++line) {
        const int64_t width = StyledLineWidth(canvas.Metrics(), text, pos, style, size, face, true);
        // 0: the line ends at the top edge; 2: it starts at the bottom edge.
        const int64_t dy = Place(2 - k % 3, box.Height() - width);
        StyledFont font = FontForStyle(style, size, face, true);
        canvas.SetFont(font.Font);
        const int64_t x = int64_t(box.Left) + line * size + dx;
        int64_t y = int64_t(box.Bottom) - dy;
        while (pos < text.size() && text[pos] != u'\n') {
            if (text[pos] == Style::Esc) {
                if (!TakeStyleSwitch(text, pos, style)) {
                    pos = text.size();
                    break;
                }
                font = FontForStyle(style, size, face, true);
                canvas.SetFont(font.Font);
                continue;
            }
            qsizetype end = pos;
            while (end < text.size() && text[end] != u'\n' && text[end] != Style::Esc)
                ++end;
            const QStringView run = text.mid(pos, end - pos);
            canvas.TextOutClipped(ClampToInt32(x + font.BaselineOffset), ClampToInt32(y), box, run);
            y -= canvas.TextWidth(run);
            pos = end;
        }
        ++pos; // the line feed
    }
}

} // namespace

void DrawStyledBlock(TCanvas& canvas, const TRect& box, QStringView text, int32_t align, int32_t size,
                     const QByteArray& face)
{
    text = UpToNul(text);
    if (align >= 0 && align <= 8)
        DrawUprightBlock(canvas, box, text, align, size, face);
    else if (align >= 9 && align <= 17)
        DrawTurnedBlock(canvas, box, text, align, size, face);
}

void DrawStyledText(TCanvas& canvas, const QByteArray& fontName, const TRect& rect, QStringView text,
                    int32_t tabPosition, bool bold)
{
    text = UpToNul(text);
    const FontSpec saved = canvas.GetFont();
    const int64_t height = rect.Height();
    const FontSpec big{ClampToInt32(height), 0, bold ? 700 : 400, false, fontName};
    FontSpec small = big;
    small.Height = ClampToInt32(height * 70 / 100);
    const int64_t subscriptOffset = height * 30 / 100;

    canvas.SetFont(big);
    int state = Style::Normal;
    int64_t x = 0;
    for (qsizetype i = 0; i < text.size() && text[i] != u'\r';) {
        const QChar c = text[i];
        if (c == u'\t') {
            x = tabPosition;
            ++i;
            continue;
        }
        if (c == Style::Esc) {
            if (!TakeStyleSwitch(text, i, state))
                break;
            continue;
        }
        canvas.SetFont(state == Style::Normal ? big : small);
        const int64_t offset = state == Style::Subscript ? subscriptOffset : 0;
        const QStringView ch = text.mid(i, CharLength(text, i));
        canvas.TextOutClipped(ClampToInt32(rect.Left + x), ClampToInt32(rect.Top + offset), rect, ch);
        x += canvas.TextWidth(ch);
        i += ch.size();
    }
    canvas.SetFont(saved);
}
