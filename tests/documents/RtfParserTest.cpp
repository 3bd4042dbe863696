#include "documents/RtfParser.h"

#include <gtest/gtest.h>

namespace {

const QByteArray Header =
    "{\\rtf1\\pard {\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil\\fcharset238{\\*\\fname Arial;}Arial CE;}"
    "{\\f2\\fnil\\fcharset161{\\*\\fname Arial;}Arial Greek;}{\\f3\\fnil\\fcharset204{\\*\\fname Arial;}Arial CYR;}"
    "{\\f4\\fnil\\fcharset186{\\*\\fname Arial;}Arial Baltic;}{\\f5\\fnil\\fcharset162{\\*\\fname Arial;}Arial Tur;}}"
    "\\f0\\fs25 ";

// Styled text written readably: '^' stands for ESC.
QString Styled(const char16_t* text)
{
    QString s = QString::fromUtf16(text);
    s.replace(u'^', QChar(27));
    return s;
}

QString Parse(const QByteArray& rtf)
{
    RtfParser parser;
    return parser.Parse(rtf);
}

TEST(RtfParser, WritesTheHeaderStyleSwitchesAndCodePageBytes)
{
    EXPECT_EQ(RtfParser::ToRtf(u""), Header + "\\par}");
    EXPECT_EQ(RtfParser::ToRtf(u"čžΩ"), Header + "\\f1\\'e8\\'9e\\f2\\'d9}");
    EXPECT_EQ(RtfParser::ToRtf(Styled(u"^\x05" u"A^\x02" u"B^\x0b\nC")),
              Header + "\\plain \\b A\\plain \\sub B\\plain \\super \\i \\par C}");
    // Braces and backslashes are escaped; an ESC cut off at the end writes nothing.
    EXPECT_EQ(RtfParser::ToRtf(Styled(u"C:\\docs\\a.pdf;{R}^")), Header + "C:\\\\docs\\\\a.pdf;\\{R\\}}");
    // Characters none of the code pages holds travel as signed \u numbers.
    EXPECT_EQ(RtfParser::ToRtf(u"≤\xFFFD"), Header + "\\u8804 \\u-3 }");
}

TEST(RtfParser, StyledTextSurvivesTheRoundTrip)
{
    const char16_t* texts[] = {
        u"Ab",
        u"",
        u"^\x01" u"plain^\x05" u"bold^\x09" u"italic^\x0d" u"both^\x02" u"sub^\x03" u"super^\x06" u"b-sub^\x0f" u"all",
        u"R^\x02" u"PE^\x01" u" = 0.12 Ω\nZ^\x02" u"S^\x01" u" < 1 kΩ",
        u"Příliš žluťoučký kůň úpěl ďábelské ódy",
        u"αβγ ΔΩμ ЖЩ āļņ ğış € ‰",
        u"C:\\docs\\a.pdf;Report {1}",
        u"Ħ ≤ ≥ ✓ mixed ž≤ž",
        u"line 1\n\nline 3\n^\x05" u"bold after a break",
        u"style at the end^\x05",
    };
    for (const char16_t* text : texts) {
        const QString styled = Styled(text);
        EXPECT_EQ(Parse(RtfParser::ToRtf(styled)), styled) << RtfParser::ToRtf(styled).constData();
    }
    // Only a final line feed is dropped: it is the closing paragraph mark.
    EXPECT_EQ(Parse(RtfParser::ToRtf(u"two lines\n")), u"two lines");
    // Switches with no character between them come back as the last one.
    EXPECT_EQ(Parse(RtfParser::ToRtf(Styled(u"^\x05^\x09" u"x"))), Styled(u"^\x09" u"x"));
}

TEST(RtfParser, ReadsTheControlsRtf)
{
    // As a rich-edit control writes it: its own font table, toggles with
    // parameters, the closing paragraph mark.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1029{\\fonttbl{\\f0\\fnil\\fcharset238 Arial;}"
        "{\\f1\\fnil\\fcharset161 Arial;}}\r\n\\viewkind4\\uc1\\pard\\b\\f0\\fs20 Ab\\b0  \\'e8\\'80\\f1\\'d9\\par\r\n"
        "\\i\\super x\\nosupersub\\i0 y\\par\r\n}\r\n";
    EXPECT_EQ(Parse(rtf), Styled(u"^\x05" u"Ab^\x01" u" č€Ω\n^\x0b" u"x^\x01" u"y"));

    // A byte under a font without a character set is no character.
    EXPECT_EQ(Parse("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset238 B;}}\\f0\\'e8\\f1\\'e8}"), u"č");
    // Font tables and other nested groups give no text; a nested group's
    // style ends with it.
    EXPECT_EQ(Parse("{\\rtf1 a{\\*\\generator x}{\\b b}c}"), Styled(u"a^\x01" u"c"));
}

TEST(RtfParser, DamagedRtfGivesWhatCouldBeRead)
{
    for (const char* rtf : {"{\\rtf1 a\\'", "{\\rtf1 a\\'e", "{\\rtf1 a\\", "{\\rtf1 a}}}}\\par"})
        EXPECT_EQ(Parse(rtf), u"a") << rtf;
    // Font numbers far out of range, negative or overflowing, select nothing.
    EXPECT_EQ(Parse("{\\rtf1{\\fonttbl{\\f99999999999999999999999\\fcharset238 X;}}"
                    "\\f99999999999999999999999\\'e8\\f-5\\fcharset238\\'e8\\f100\\'e8z}"),
              u"z");
    // ESC and NUL bytes in the text would corrupt the styled text.
    EXPECT_EQ(Parse(QByteArray("{\\rtf1 a\x1b\x05\0b}", 13)), u"a\x05" u"b");
    // Deep nesting does not exhaust the stack.
    EXPECT_EQ(Parse("{\\rtf1 x" + QByteArray(200000, '{') + "y}"), u"x");

    // Nothing is cut: a text longer than a field takes is returned whole for
    // the caller to refuse.
    const QString longText(RtfParser::MaxStyledLength + 500, u'x');
    EXPECT_EQ(Parse(RtfParser::ToRtf(longText)), longText);
}

TEST(RtfParser, CodePagesComeFromTheCharsets)
{
    EXPECT_EQ(RtfParser::DecodeCharsetByte(238, 0x41), u'A');
    EXPECT_EQ(RtfParser::DecodeCharsetByte(238, 0x80), u'€');
    EXPECT_EQ(RtfParser::DecodeCharsetByte(204, 0xC6), u'Ж');
    EXPECT_EQ(RtfParser::DecodeCharsetByte(177, 0xE0), u'א');
    EXPECT_EQ(RtfParser::DecodeCharsetByte(0, 0xE8), 0);
    EXPECT_EQ(RtfParser::DecodeCharsetByte(238, 0x81), 0); // undefined in the code page
    EXPECT_EQ(RtfParser::EncodeCharsetByte(238, u'ž'), 0x9E);
    EXPECT_EQ(RtfParser::EncodeCharsetByte(238, u'Ω'), -1);
    EXPECT_EQ(RtfParser::FindInCodePage(1253, u'Ω'), 0xD9);
    EXPECT_EQ(RtfParser::GetHexDigitValue('F'), 15);
    EXPECT_EQ(RtfParser::GetHexDigitValue('g'), 0);
}

} // namespace
