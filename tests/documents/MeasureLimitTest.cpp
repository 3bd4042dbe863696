#include "documents/MeasureLimit.h"

#include "common/FieldRecords.h"
#include "storage/File.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

QByteArray LeDouble(double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    QByteArray b(8, '\0');
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return b;
}

MeasureLimit TrippingTimeLimit()
{
    MeasureLimit limit;
    limit.SetMinimum(0.3);
    limit.SetMinType(MeasureLimit::ShowText);
    limit.SetMinText(QString::fromUtf8("< 0,3 s \u03a9"));
    limit.SetMinColor(0x0000FF);
    limit.SetMaximum(-1.7);
    limit.SetMaxType(MeasureLimit::ChangeBackColor);
    limit.SetMaxColor(0x00FF00);
    return limit;
}

} // namespace

TEST(MeasureLimitRecordTest, FractionalBoundsSurviveSaveAndLoad)
{
    const MeasureLimit limit = TrippingTimeLimit();
    const QByteArray bytes = SavedRecord(limit);
    EXPECT_EQ(bytes, Bytes({2, 3}) + LeDouble(0.3) + Le32(0xFF) + Wide("< 0,3 s \xce\xa9")
                         + Bytes({2}) + LeDouble(-1.7) + Le32(0xFF00) + Le32(0));

    EXPECT_EQ(SavedRecord(MeasureLimit()).size(), 1 + 2 * (1 + 8 + 4 + 4));

    ReadBuffer in(bytes);
    MeasureLimit read;
    read.SetMaxText(QStringLiteral("old"));
    ASSERT_TRUE(read.Load(in));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(read.GetMinimum(), 0.3);
    EXPECT_EQ(read.GetMaximum(), -1.7);
    EXPECT_EQ(read.GetMinType(), MeasureLimit::ShowText);
    EXPECT_EQ(read.GetMaxType(), MeasureLimit::ChangeBackColor);
    EXPECT_EQ(read.GetMinColor(), 0xFF);
    EXPECT_EQ(read.GetMaxColor(), 0xFF00);
    EXPECT_EQ(read.GetMinText(), QString::fromUtf8("< 0,3 s \u03a9"));
    EXPECT_TRUE(read.GetMaxText().isNull()); // a stored length of 0
    EXPECT_EQ(SavedRecord(read), bytes);
}

TEST(MeasureLimitRecordTest, IntegerVersionReadsAndIsRewrittenWithDoubles)
{
    // As the first version stored 2.9 and -0.5: truncated to 2 and 0.
    const QByteArray old = Bytes({1, 1}) + Le32(2) + Le32(0x123456) + Wide("low") + Bytes({3}) + Le32(0)
                           + Le32(-1) + Wide("high");
    ReadBuffer in(old);
    MeasureLimit limit;
    ASSERT_TRUE(limit.Load(in));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(limit.GetMinimum(), 2.0);
    EXPECT_EQ(limit.GetMaximum(), 0.0);
    EXPECT_EQ(limit.GetMinColor(), 0x123456);
    EXPECT_EQ(limit.GetMaxColor(), -1);
    EXPECT_EQ(limit.GetMinText(), QStringLiteral("low"));
    EXPECT_EQ(limit.GetMaxText(), QStringLiteral("high"));

    EXPECT_EQ(SavedRecord(limit), Bytes({2, 1}) + LeDouble(2) + Le32(0x123456) + Wide("low") + Bytes({3})
                                + LeDouble(0) + Le32(-1) + Wide("high"));

    // Its readers never looked at the version byte: any other value is the
    // integer layout too.
    QByteArray unknown = old;
    unknown[0] = 0;
    ReadBuffer in0(unknown);
    MeasureLimit fromZero;
    ASSERT_TRUE(fromZero.Load(in0));
    EXPECT_EQ(fromZero.GetMinimum(), 2.0);
    EXPECT_TRUE(in0.atEnd());
}

TEST(MeasureLimitTest, TextsAreOwnedCopiesUpToTheirFirstNul)
{
    MeasureLimit limit;
    limit.SetMinText(QString::fromUtf16(u"ab\0cd", 5));
    EXPECT_EQ(limit.GetMinText(), QStringLiteral("ab"));
    MeasureLimit copy(limit);
    limit.SetMinText(QString());
    EXPECT_TRUE(limit.GetMinText().isNull());
    EXPECT_EQ(copy.GetMinText(), QStringLiteral("ab"));
}

TEST(MeasureLimitXmlTest, ElementsInOrderWithRealBoundsAndOptionalTexts)
{
    EXPECT_EQ(WrittenXml(TrippingTimeLimit()), QByteArray("<MinType>3</MinType>\n"
                                                   "<Minimum>0.3</Minimum>\n"
                                                   "<MinColor>255</MinColor>\n"
                                                   "<MinText>&lt; 0,3 s \xce\xa9</MinText>\n"
                                                   "<MaxType>2</MaxType>\n"
                                                   "<Maximum>-1.7</Maximum>\n"
                                                   "<MaxColor>65280</MaxColor>\n"));
    EXPECT_EQ(WrittenXml(MeasureLimit()), QByteArray("<MinType>0</MinType>\n<Minimum>0</Minimum>\n<MinColor>0</MinColor>\n"
                                              "<MaxType>0</MaxType>\n<Maximum>0</Maximum>\n<MaxColor>0</MaxColor>\n"));
}
