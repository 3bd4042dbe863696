#include "documents/RtfParser.h"

#include "documents/StyledText.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

// Windows character sets and their code pages.
struct Charset
{
    int charset;
    int codePage;
};
constexpr Charset Charsets[] = {
    {161, 1253}, {162, 1254}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {238, 1250},
};

// The fonts of the header after font 0 (which maps no upper byte), in the
// order the writer tries them for a character: font number and charset.
struct Font
{
    const char* select;
    int charset;
};
constexpr Font WriterFonts[] = {
    {"\\f1", 238}, {"\\f2", 161}, {"\\f3", 204}, {"\\f4", 186}, {"\\f5", 162},
};

constexpr char Header[] =
    "{\\rtf1\\pard {\\fonttbl{\\f0\\fnil Arial;}"
    "{\\f1\\fnil\\fcharset238{\\*\\fname Arial;}Arial CE;}"
    "{\\f2\\fnil\\fcharset161{\\*\\fname Arial;}Arial Greek;}"
    "{\\f3\\fnil\\fcharset204{\\*\\fname Arial;}Arial CYR;}"
    "{\\f4\\fnil\\fcharset186{\\*\\fname Arial;}Arial Baltic;}"
    "{\\f5\\fnil\\fcharset162{\\*\\fname Arial;}Arial Tur;}}\\f0\\fs25 ";

constexpr int UpperBytes = 128;
constexpr int FirstUpperByte = 0x80;
using UpperTable = std::array<char16_t, UpperBytes>;

// The characters of a code page's upper half, from Qt's converter. Bytes the
// code page leaves undefined (the converter gives C1 controls or the
// replacement character for them) hold 0.
UpperTable BuildUpperTable(int codePage)
{
    UpperTable table{};
    QStringDecoder decoder(QByteArray("windows-") + QByteArray::number(codePage));
    if (!decoder.isValid())
        return table;
    QByteArray bytes;
    for (int b = FirstUpperByte; b < FirstUpperByte + UpperBytes; ++b)
        bytes.append(char(b));
    const QString text = decoder.decode(bytes);
    for (int i = 0; i < UpperBytes && i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool undefined = (unit >= 0x80 && unit < 0xA0) || unit == 0xFFFD;
        table[static_cast<size_t>(i)] = undefined ? 0 : unit;
    }
    return table;
}

// Null for a code page the program does not use.
const UpperTable* UpperTableOf(int codePage)
{
    static const std::array<UpperTable, std::size(Charsets)> tables = [] {
        std::array<UpperTable, std::size(Charsets)> t{};
        for (size_t i = 0; i < std::size(Charsets); ++i)
            t[i] = BuildUpperTable(Charsets[i].codePage);
        return t;
    }();
    for (size_t i = 0; i < std::size(Charsets); ++i)
        if (Charsets[i].codePage == codePage)
            return &tables[i];
    return nullptr;
}

int CodePageOf(int charset)
{
    for (const Charset& c : Charsets)
        if (c.charset == charset)
            return c.codePage;
    return 0;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A control word with its numeric parameter.
struct ControlWord
{
    QByteArrayView name;
    bool hasParameter = false;
    bool startsWithZero = false;
    int64_t parameter = 0;
};

// Parameters beyond any font number or character are saturated here.
constexpr int64_t ParameterLimit = int64_t(1) << 40;

// Reads RTF as a run of groups, keeping the state the content depends on:
// the group depth, each group's style word and the fonts' character sets.
class Reader
{
public:
    Reader(QByteArrayView rtf, RtfContentHandler& handler) : m_rtf(rtf), m_handler(handler)
    {
        m_fontCharsets.fill(0);
    }

    void Run()
    {
        while (m_pos < m_rtf.size()) {
            const char c = m_rtf[m_pos++];
            switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                CloseGroup();
                break;
            case '\\':
                if (!Escape())
                    m_pos = m_rtf.size();
                break;
            case '\r':
            case '\n':
                break;
            default:
                Byte(static_cast<uint8_t>(c));
                break;
            }
        }
        // A switch after the last character still counts.
        FlushStyle();
    }

private:
    // The document's own text is in the outer group; the font table and
    // other nested groups give none.
    bool InText() const { return m_styles.size() == 2; }
    int& CurrentStyle() { return m_styles.back(); }

    // Reports the switch made in the text since the last character, once.
    void FlushStyle()
    {
        if (m_pendingStyle) {
            m_handler.Style(*m_pendingStyle);
            m_outputStyle = *m_pendingStyle;
            m_pendingStyle.reset();
        }
    }

    void OpenGroup()
    {
        m_styles.push_back(m_styles.back());
        // A further group of text after the document's own starts from its
        // own style, which may not be the one the text ended in.
        if (InText() && CurrentStyle() != m_pendingStyle.value_or(m_outputStyle))
            m_pendingStyle = CurrentStyle();
    }

    void CloseGroup()
    {
        if (m_styles.size() < 2)
            return; // a brace that closes nothing
        const int inner = m_styles.back();
        m_styles.pop_back();
        // Leaving a nested group restores the style in force before it.
        if (InText() && inner != CurrentStyle())
            m_pendingStyle = CurrentStyle();
    }

    void Emit(char16_t unit)
    {
        // ESC and NUL in the text would read as a style switch or its end.
        if (!InText() || unit == 0 || unit == Style::Esc)
            return;
        FlushStyle();
        m_handler.Character(unit);
    }

    void Byte(uint8_t byte) { Emit(RtfParser::DecodeCharsetByte(m_charset, byte)); }

    void SetStyle(int style)
    {
        CurrentStyle() = style;
        if (InText())
            m_pendingStyle = style;
    }

    // After a backslash. False when the input ends inside the escape.
    bool Escape()
    {
        if (m_pos >= m_rtf.size())
            return false;
        const char c = m_rtf[m_pos];
        if (c == '\'') {
            if (m_rtf.size() - m_pos < 3)
                return false;
            const int value = RtfParser::GetHexDigitValue(m_rtf[m_pos + 1]) * 16
                              + RtfParser::GetHexDigitValue(m_rtf[m_pos + 2]);
            m_pos += 3;
            if (value >= FirstUpperByte)
                Emit(RtfParser::DecodeCharsetByte(m_charset, value));
            return true;
        }
        if (c == '{' || c == '}' || c == '\\') {
            ++m_pos;
            Emit(static_cast<char16_t>(c));
            return true;
        }
        Word(ReadControlWord());
        return true;
    }

    ControlWord ReadControlWord()
    {
        ControlWord word;
        const qsizetype start = m_pos;
        while (m_pos < m_rtf.size() && IsLetter(m_rtf[m_pos]))
            ++m_pos;
        word.name = m_rtf.sliced(start, m_pos - start);
        const bool negative = m_pos + 1 < m_rtf.size() && m_rtf[m_pos] == '-' && IsDigit(m_rtf[m_pos + 1]);
        if (negative)
            ++m_pos;
        if (m_pos < m_rtf.size() && IsDigit(m_rtf[m_pos])) {
            word.hasParameter = true;
            word.startsWithZero = m_rtf[m_pos] == '0';
            while (m_pos < m_rtf.size() && IsDigit(m_rtf[m_pos])) {
                word.parameter = std::min(word.parameter * 10 + (m_rtf[m_pos] - '0'), ParameterLimit);
                ++m_pos;
            }
            if (negative)
                word.parameter = -word.parameter;
        }
        // One delimiter belongs to the word; a backslash or brace starts the next token.
        if (m_pos < m_rtf.size() && m_rtf[m_pos] != '\\' && m_rtf[m_pos] != '{' && m_rtf[m_pos] != '}')
            ++m_pos;
        return word;
    }

    bool ValidFont() const { return m_font >= 0 && m_font < RtfParser::FontCount; }

    void Word(const ControlWord& w)
    {
        const auto flag = [&](int bit) {
            const bool off = w.hasParameter && w.startsWithZero;
            SetStyle(off ? CurrentStyle() & ~bit : CurrentStyle() | bit);
        };
        const auto position = [&](int pos) { SetStyle((CurrentStyle() & ~3) | pos); };
        if (w.name == "f") {
            m_font = w.parameter;
            if (ValidFont())
                m_charset = m_fontCharsets[static_cast<size_t>(m_font)];
        } else if (w.name == "fcharset") {
            if (ValidFont())
                m_fontCharsets[static_cast<size_t>(m_font)] = static_cast<int>(w.parameter);
        } else if (w.name == "par") {
            if (InText()) {
                FlushStyle();
                m_handler.Paragraph();
            }
        } else if (w.name == "plain") {
            SetStyle(Style::Normal);
        } else if (w.name == "b") {
            flag(Style::Bold);
        } else if (w.name == "i") {
            flag(Style::Italic);
        } else if (w.name == "sub") {
            position(Style::Subscript);
        } else if (w.name == "super") {
            position(Style::Superscript);
        } else if (w.name == "nosupersub") {
            position(Style::Normal);
        } else if (w.name == "u" && w.hasParameter) {
            Emit(static_cast<char16_t>(w.parameter & 0xFFFF));
        }
    }

    QByteArrayView m_rtf;
    RtfContentHandler& m_handler;
    qsizetype m_pos = 0;
    // One style word per open group; the first entry stands for the level
    // outside every group.
    std::vector<int> m_styles{Style::Normal};
    // A switch to report before the next character; the style last reported.
    std::optional<int> m_pendingStyle;
    int m_outputStyle = Style::Normal;
    std::array<int, RtfParser::FontCount> m_fontCharsets;
    int64_t m_font = 0;
    int m_charset = 0;
};

// Collects the content as styled text.
class StyledTextBuilder : public RtfContentHandler
{
public:
    void Style(int style) override
    {
        text.append(QChar(Style::Esc));
        text.append(QChar(static_cast<char16_t>(style)));
        endsWithParagraph = false;
    }
    void Character(char16_t unit) override
    {
        text.append(QChar(unit));
        endsWithParagraph = false;
    }
    void Paragraph() override
    {
        text.append(QChar(u'\n'));
        endsWithParagraph = true;
    }

    QString text;
    bool endsWithParagraph = false;
};

void AppendHexByte(QByteArray& out, int byte)
{
    static constexpr char Digits[] = "0123456789abcdef";
    out.append("\\'");
    out.append(Digits[byte >> 4]);
    out.append(Digits[byte & 15]);
}

} // namespace

// --- Writer ------------------------------------------------------------------------

RtfWriter::RtfWriter() : m_out(Header) {}

void RtfWriter::Style(int style)
{
    // Plain first, so that the words after it give exactly this style.
    m_out.append("\\plain ");
    switch (style & 3) {
    case Style::Subscript: m_out.append("\\sub "); break;
    case Style::Superscript: m_out.append("\\super "); break;
    default: break;
    }
    if (style & Style::Italic)
        m_out.append("\\i ");
    if (style & Style::Bold)
        m_out.append("\\b ");
}

void RtfWriter::Character(char16_t unit)
{
    if (unit == 0)
        return;
    // Control characters other than TAB would be taken for layout of the RTF.
    const bool control = unit < 0x20 && unit != u'\t';
    if (unit < FirstUpperByte && !control) {
        if (unit == u'{' || unit == u'}' || unit == u'\\')
            m_out.append('\\');
        m_out.append(static_cast<char>(unit));
        return;
    }
    int byte = RtfParser::EncodeCharsetByte(m_charset, unit);
    if (byte < 0 && !control) {
        for (const Font& font : WriterFonts) {
            byte = RtfParser::EncodeCharsetByte(font.charset, unit);
            if (byte >= 0) {
                m_out.append(font.select);
                m_charset = font.charset;
                break;
            }
        }
    }
    if (byte >= 0) {
        AppendHexByte(m_out, byte);
        return;
    }
    m_out.append("\\u");
    m_out.append(QByteArray::number(static_cast<int16_t>(unit)));
    m_out.append(' ');
}

void RtfWriter::Paragraph()
{
    m_out.append("\\par ");
}

QByteArray RtfWriter::Finish()
{
    m_out.append('}');
    return std::move(m_out);
}

// --- Parser ------------------------------------------------------------------------

RtfParser::RtfParser() = default;

RtfParser::~RtfParser() = default;

QString RtfParser::Parse(QByteArrayView rtf)
{
    StyledTextBuilder builder;
    Read(rtf, builder);
    if (builder.endsWithParagraph)
        builder.text.chop(1);
    return builder.text;
}

QByteArray RtfParser::ToRtf(QStringView styled)
{
    if (styled.isEmpty())
        return QByteArray(Header) + "\\par}";
    RtfWriter writer;
    for (qsizetype i = 0; i < styled.size(); ++i) {
        const char16_t unit = styled[i].unicode();
        if (unit == u'\n') {
            writer.Paragraph();
        } else if (unit == Style::Esc) {
            // A switch cut off at the end switches nothing.
            if (++i < styled.size())
                writer.Style(styled[i].unicode());
        } else {
            writer.Character(unit);
        }
    }
    return writer.Finish();
}

void RtfParser::Read(QByteArrayView rtf, RtfContentHandler& handler)
{
    Reader(rtf, handler).Run();
}

int RtfParser::GetHexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

char16_t RtfParser::DecodeCharsetByte(int charset, int byte)
{
    if (byte < FirstUpperByte)
        return static_cast<char16_t>(std::max(byte, 0));
    const UpperTable* table = UpperTableOf(CodePageOf(charset));
    if (!table || byte >= FirstUpperByte + UpperBytes)
        return 0;
    return (*table)[static_cast<size_t>(byte - FirstUpperByte)];
}

int RtfParser::EncodeCharsetByte(int charset, char16_t unit)
{
    return FindInCodePage(CodePageOf(charset), unit);
}

int RtfParser::FindInCodePage(int codePage, char16_t unit)
{
    const UpperTable* table = UpperTableOf(codePage);
    if (!table || unit == 0)
        return -1;
    const auto found = std::find(table->begin(), table->end(), unit);
    return found == table->end() ? -1 : FirstUpperByte + static_cast<int>(found - table->begin());
}
