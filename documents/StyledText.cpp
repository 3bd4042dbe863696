#include "documents/StyledText.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

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

// The first `unit` in [from, to), or `to` when there is none.
qsizetype IndexOr(QStringView text, char16_t unit, qsizetype from, qsizetype to)
{
    const qsizetype found = text.sliced(from, to - from).indexOf(QChar(unit));
    return found < 0 ? to : from + found;
}

// The line feed that ends the line at `pos`, or the end of the text, with
// `style` taken through the switches on the way.
qsizetype LineEnd(QStringView text, qsizetype pos, int& style)
{
    qsizetype lf = IndexOr(text, u'\n', pos, text.size());
    for (;;) {
        const qsizetype esc = IndexOr(text, Style::Esc, pos, lf);
        if (esc == lf)
            return lf;
        pos = esc;
        if (!TakeStyleSwitch(text, pos, style))
            return text.size();
        if (pos > lf) // the line feed was a style word
            lf = IndexOr(text, u'\n', pos, text.size());
    }
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
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    // Line feeds, and those right after an ESC, counted in stretches short
    // enough for 16-bit counters, which the compiler counts many units at a
    // time: a text may hold megabytes.
    constexpr qsizetype Stretch = 0xFFFF;
    qsizetype feeds = n > 0 && units[0] == u'\n';
    qsizetype escFeeds = 0;
    for (qsizetype start = 1; start < n; start += Stretch) {
        const qsizetype end = std::min(n, start + Stretch);
        uint16_t stretchFeeds = 0;
        uint16_t stretchEscFeeds = 0;
        for (qsizetype i = start; i < end; ++i) {
            const uint16_t feed = units[i] == u'\n';
            stretchFeeds += feed;
            stretchEscFeeds += feed & uint16_t(units[i - 1] == Style::Esc);
        }
        feeds += stretchFeeds;
        escFeeds += stretchEscFeeds;
    }
    // In a run of ESCs the first is a switch, the second its style word and
    // so on: a line feed after an odd run is a style word. Such line feeds
    // are rare.
    for (qsizetype i = 1; escFeeds > 0 && i < n; ++i) {
        if (units[i] != u'\n' || units[i - 1] != Style::Esc)
            continue;
        --escFeeds;
        qsizetype run = 0;
        while (run < i && units[i - 1 - run] == Style::Esc)
            ++run;
        if (run % 2 == 1)
            --feeds;
    }
    return int(feeds + 1);
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

namespace {

// Glyphs may reach a little beyond their cells (italics, accents), never by a
// line pitch: text that starts this far outside its box leaves nothing in it.
int64_t Reach(int32_t size)
{
    return size < 0 ? -int64_t(size) : int64_t(size);
}

// The widths of single characters in the fonts of one text, each measured
// once: a field draws its characters one by one, and a long text repeats a
// few dozen characters in a few styles. Measuring is what a paint costs.
class CharWidths
{
public:
    CharWidths(const TextMetrics& metrics, int32_t size, const QByteArray& face, bool turned)
        : m_metrics(metrics), m_size(size), m_face(face), m_turned(turned)
    {}

    int32_t Get(int style, QStringView ch)
    {
        const int font = FontIndex(style);
        const char16_t unit = ch[0].unicode();
        if (ch.size() == 1 && unit < FlatUnits) {
            std::vector<int32_t>& flat = m_flat[font];
            if (flat.empty())
                flat.assign(FlatUnits, Unknown);
            int32_t& width = flat[unit];
            if (width == Unknown)
                width = Measure(style, ch);
            return width;
        }
        // A surrogate pair's high unit lies above every single unit.
        const uint32_t code = ch.size() > 1 ? uint32_t(unit) << 16 | ch[1].unicode() : unit;
        const uint64_t key = uint64_t(font) << 32 | code;
        const auto found = m_other.constFind(key);
        if (found != m_other.constEnd())
            return *found;
        const int32_t width = Measure(style, ch);
        m_other.insert(key, width);
        return width;
    }

private:
    // Latin letters with the Czech ones: looked up without hashing.
    static constexpr char16_t FlatUnits = 0x180;
    static constexpr int32_t Unknown = INT32_MIN;
    // A style word selects one of 16 fonts: normal, subscript or superscript
    // size (bits 0-1), bold (bit 2), italic (bit 3).
    static constexpr int Fonts = 16;
    static int FontIndex(int style)
    {
        const int position = style & 3;
        return (style & (Style::Bold | Style::Italic))
               | (position == Style::Subscript || position == Style::Superscript ? position
                                                                                 : Style::Normal);
    }

    int32_t Measure(int style, QStringView ch) const
    {
        return m_metrics.TextExtent(FontForStyle(style, m_size, m_face, m_turned).Font, ch).cx;
    }

    const TextMetrics& m_metrics;
    int32_t m_size;
    const QByteArray& m_face;
    bool m_turned;
    std::array<std::vector<int32_t>, Fonts> m_flat;
    QHash<uint64_t, int32_t> m_other;
};

int64_t LineWidth(CharWidths& widths, QStringView text, qsizetype start, int style)
{
    int64_t width = 0;
    for (qsizetype i = start; i < text.size() && text[i] != u'\n';) {
        if (text[i] == Style::Esc) {
            if (!TakeStyleSwitch(text, i, style))
                break;
            continue;
        }
        const qsizetype len = CharLength(text, i);
        width += widths.Get(style, text.mid(i, len));
        i += len;
    }
    return width;
}

} // namespace

int64_t StyledLineWidth(const TextMetrics& metrics, QStringView text, qsizetype start, int style,
                        int32_t size, const QByteArray& face, bool turned)
{
    CharWidths widths(metrics, size, face, turned);
    return LineWidth(widths, UpToNul(text), start, style);
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

// A text may hold far more lines, and lines far longer, than its box shows:
// lines outside the box and characters beyond its edges are neither measured
// nor drawn, only walked over for their style switches. What lies in the box
// is drawn as if the whole text were.
void DrawUprightBlock(TCanvas& canvas, const TRect& box, QStringView text, int32_t align, int32_t size,
                      const QByteArray& face)
{
    // A block at the top needs no count of its lines: the walk ends with the text.
    const int64_t lines =
        align % 3 == 0 ? std::numeric_limits<int64_t>::max() : CountStyledLines(text);
    const int64_t dy = align % 3 == 0 ? 0 : Place(align % 3, box.Height() - lines * size);
    const int64_t reach = Reach(size);
    const int64_t left = int64_t(box.Left) - reach;
    const int64_t right = int64_t(box.Right) + reach;
    // A size of 0 or less stacks the lines upward or on one another.
    const bool linesGoDown = size > 0;
    CharWidths widths(canvas.Metrics(), size, face, false);
    int style = Style::Normal;
    qsizetype pos = 0;
    for (int64_t line = 0; line < lines && pos <= text.size(); ++line) {
        const int64_t y = int64_t(box.Top) + dy + line * size;
        if (linesGoDown && y >= int64_t(box.Bottom) + reach)
            break;
        if (linesGoDown && y + size <= int64_t(box.Top) - reach) {
            pos = LineEnd(text, pos, style);
            ++pos; // the line feed
            continue;
        }
        // A line placed at the left does not need its width.
        const int64_t width = align / 3 == 0 ? 0 : LineWidth(widths, text, pos, style);
        const int64_t dx = Place(align / 3, box.Width() - width);
        StyledFont font = FontForStyle(style, size, face, false);
        canvas.SetFont(font.Font);
        int64_t x = int64_t(box.Left) + dx;
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
            if (x >= right) {
                pos = LineEnd(text, pos, style);
                break;
            }
            const QStringView ch = text.mid(pos, CharLength(text, pos));
            const int32_t advance = widths.Get(style, ch);
            if (x + advance > left)
                canvas.TextOutClipped(ClampToInt32(x), ClampToInt32(y + font.BaselineOffset), box,
                                      ch);
            x += advance;
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
    const int64_t reach = Reach(size);
    const int64_t top = int64_t(box.Top) - reach;
    const int64_t bottom = int64_t(box.Bottom) + reach;
    const bool linesGoRight = size > 0;
    CharWidths widths(canvas.Metrics(), size, face, true);
    int style = Style::Normal;
    qsizetype pos = 0;
    for (int64_t line = 0; line < lines && pos <= text.size(); ++line) {
        const int64_t x = int64_t(box.Left) + line * size + dx;
        if (linesGoRight && x >= int64_t(box.Right) + reach)
            break;
        if (linesGoRight && x + size <= int64_t(box.Left) - reach) {
            pos = LineEnd(text, pos, style);
            ++pos; // the line feed
            continue;
        }
        // 0: the line ends at the top edge; 2: it starts at the bottom edge
        // and does not need its width.
        const int64_t width = k % 3 == 2 ? 0 : LineWidth(widths, text, pos, style);
        const int64_t dy = Place(2 - k % 3, box.Height() - width);
        StyledFont font = FontForStyle(style, size, face, true);
        canvas.SetFont(font.Font);
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
            if (y <= top) {
                pos = LineEnd(text, pos, style);
                break;
            }
            // The characters of the run that reach into the box: a run that
            // lies in it whole is drawn and measured as one piece.
            qsizetype end = pos;
            qsizetype first = -1;
            qsizetype last = pos;
            int64_t firstY = y;
            int64_t runY = y;
            while (end < text.size() && text[end] != u'\n' && text[end] != Style::Esc) {
                const qsizetype len = CharLength(text, end);
                if (runY <= top)
                    break;
                const int64_t next = runY - widths.Get(style, text.mid(end, len));
                if (next < bottom) {
                    if (first < 0) {
                        first = end;
                        firstY = runY;
                    }
                    last = end + len;
                }
                runY = next;
                end += len;
            }
            const bool whole =
                first == pos && last == end
                && (end == text.size() || text[end] == u'\n' || text[end] == Style::Esc);
            const int32_t runX = ClampToInt32(x + font.BaselineOffset);
            if (whole) {
                const QStringView run = text.mid(pos, end - pos);
                canvas.TextOutClipped(runX, ClampToInt32(y), box, run);
                y -= canvas.TextWidth(run);
            } else {
                if (first >= 0)
                    canvas.TextOutClipped(runX, ClampToInt32(firstY), box,
                                          text.mid(first, last - first));
                y = runY;
            }
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
