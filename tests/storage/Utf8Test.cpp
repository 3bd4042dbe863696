#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "storage/Utf8.h"

namespace {

QString FromUtf16(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

} // namespace

TEST(Utf8, EncodesEachUnitInOneToThreeBytes)
{
    EXPECT_EQ(EncodeUtf8(QString(QChar(0x03A9))), QByteArray("\xCE\xA9"));
    EXPECT_EQ(EncodeUtf8(QString(QChar(0x20AC))), QByteArray("\xE2\x82\xAC"));
    EXPECT_EQ(EncodeUtf8(QString(QChar(0x7F))), QByteArray("\x7F"));
    EXPECT_EQ(EncodeUtf8(QString(QChar(0x80))), QByteArray("\xC2\x80"));
    EXPECT_EQ(EncodeUtf8(QString(QChar(0x7FF))), QByteArray("\xDF\xBF"));
    EXPECT_EQ(EncodeUtf8(QString(QChar(0x800))), QByteArray("\xE0\xA0\x80"));
    EXPECT_EQ(EncodeUtf8(QString(QChar(0xFFFF))), QByteArray("\xEF\xBF\xBF"));
    EXPECT_TRUE(EncodeUtf8(QString()).isEmpty());

    EXPECT_EQ(GetUtf8Size("abc"), 3);
    EXPECT_EQ(GetUtf8Size(FromUtf16(u"\u03A9\u20AC")), 5);
    EXPECT_EQ(GetUtf8Size(QString()), 0);
}

TEST(Utf8, SurrogatePairTravelsAsTwoThreeByteSequences)
{
    const QString grin = FromUtf16(u"\U0001F600");
    ASSERT_EQ(grin.size(), 2);
    const QByteArray bytes = EncodeUtf8(grin);
    EXPECT_EQ(bytes, QByteArray("\xED\xA0\xBD\xED\xB8\x80"));
    EXPECT_EQ(GetUtf8Size(grin), 6);
    EXPECT_EQ(CountUtf8Chars(bytes), 2);
    EXPECT_EQ(DecodeUtf8(bytes, 2), grin);
}

TEST(Utf8, RoundTripOfMixedText)
{
    const QString text = FromUtf16(u"Zkou\u0161ka \u03A9 20\u20AC\ttab\nline \x1b\x02PE\x1b\x01");
    const QByteArray bytes = EncodeUtf8(text);
    EXPECT_EQ(bytes.size(), GetUtf8Size(text));
    EXPECT_EQ(CountUtf8Chars(bytes), text.size());
    EXPECT_EQ(DecodeUtf8(bytes, CountUtf8Chars(bytes)), text);
}

TEST(Utf8, CountSkipsContinuationBytesAndStopsAtNul)
{
    EXPECT_EQ(CountUtf8Chars(""), 0);
    EXPECT_EQ(CountUtf8Chars("abc"), 3);
    EXPECT_EQ(CountUtf8Chars("\xC4\x8C" "e\xC5\xA1tina"), 7);
    EXPECT_EQ(CountUtf8Chars("\xE2\x82\xAC"), 1);
    EXPECT_EQ(CountUtf8Chars(QByteArrayView("ab\0cd", 5)), 2);
    EXPECT_EQ(CountUtf8Chars("\x80\xBF"), 0);
}

TEST(Utf8, DecodeStopsAtCountNulAndUnreadableBytes)
{
    EXPECT_EQ(DecodeUtf8("abcdef", 3), "abc");
    EXPECT_EQ(DecodeUtf8("abc", 10), "abc");
    EXPECT_TRUE(DecodeUtf8("abc", 0).isEmpty());
    EXPECT_TRUE(DecodeUtf8("abc", -1).isEmpty());
    EXPECT_EQ(DecodeUtf8(QByteArrayView("ab\0cd", 5), 5), "ab");
    // A 4-byte sequence is not supported: the text ends before it.
    EXPECT_EQ(DecodeUtf8("ab\xF0\x9F\x98\x80" "cd", 10), "ab");
    // A continuation byte cannot start a character.
    EXPECT_EQ(DecodeUtf8("a\x80" "b", 10), "a");
    EXPECT_TRUE(DecodeUtf8("\xBF", 10).isEmpty());
    // A sequence cut short by the end of the input ends the text cleanly.
    EXPECT_EQ(DecodeUtf8(QByteArrayView("x\xE2\x82", 3), 10), "x");
    EXPECT_EQ(DecodeUtf8(QByteArrayView("x\xC3", 2), 10), "x");
    EXPECT_TRUE(DecodeUtf8(QByteArrayView(), 10).isEmpty());
}
