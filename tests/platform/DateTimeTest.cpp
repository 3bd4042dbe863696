#include "common/ScopedGuards.h"
#include "platform/DateTime.h"
#include "platform/NumberText.h"

#include <gtest/gtest.h>

TEST(DateTimeTest, DaysCountFromTheEpoch)
{
    EXPECT_EQ(QDateToDateTime(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(QDateToDateTime(QDate(2000, 1, 1)), 36526.0);
    const TDateTime noon = QDateTimeToDateTime(QDateTime(QDate(2024, 2, 29), QTime(12, 0)));
    EXPECT_DOUBLE_EQ(noon, 45351.5);
    EXPECT_EQ(DateTimeToQDateTime(noon), QDateTime(QDate(2024, 2, 29), QTime(12, 0)));
    // Before the epoch the time of day is the fraction's magnitude.
    const TDateTime before = QDateTimeToDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_DOUBLE_EQ(before, -1.25);
    EXPECT_EQ(DateTimeToQDateTime(before), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_FALSE(DateTimeToQDateTime(1e300).isValid());
}

TEST(DateTimeTest, EncodeRejectsInvalidFields)
{
    TDateTime v = 5;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, v));
    EXPECT_FALSE(TryEncodeDate(2023, 13, 1, v));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, v));
    EXPECT_EQ(v, 5);
    ASSERT_TRUE(TryEncodeDate(2024, 2, 29, v));
    int y, m, d;
    DecodeDate(v, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
}

TEST(DateTimeTest, ClockCanBeSetAndRestored)
{
    {
        ScopedClock clock(QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
        EXPECT_DOUBLE_EQ(Now(), QDateToDateTime(QDate(2026, 12, 9)) + 0.75);
        EXPECT_EQ(Date(), QDateToDateTime(QDate(2026, 12, 9)));
    }
    EXPECT_GT(Now(), QDateToDateTime(QDate(2026, 1, 1)));
}

TEST(DateTimeTest, ShortTextsRoundTrip)
{
    TDateTime v = 0;
    ASSERT_TRUE(TryEncodeDate(2030, 1, 5, v));
    EXPECT_EQ(DateToStr(v), "1/5/2030");
    EXPECT_EQ(DateTimeToStr(v), "1/5/2030");
    EXPECT_EQ(DateTimeToStr(v + 0.5), "1/5/2030 12:00:00");
    TDateTime back = 0;
    ASSERT_TRUE(TryStrToDate("1/5/2030", back));
    EXPECT_EQ(back, v);
    ASSERT_TRUE(TryStrToDateTime("1/5/2030 12:00:00", back));
    EXPECT_DOUBLE_EQ(back, v + 0.5);
    EXPECT_FALSE(TryStrToDate("31/31/2030", back));
    EXPECT_FALSE(TryStrToDate("", back));

    FormatSettings czech;
    czech.ShortDateFormat = "d.M.yyyy";
    SetFormatSettings(czech);
    EXPECT_EQ(DateToStr(v), "5.1.2030");
    // Written with two digits, read with one or two, as a user types them.
    czech.ShortDateFormat = "dd.MM.yyyy";
    SetFormatSettings(czech);
    EXPECT_EQ(DateToStr(v), "05.01.2030");
    for (const char* typed : {"05.01.2030", "5.1.2030", "5.01.2030"}) {
        back = 0;
        EXPECT_TRUE(TryStrToDate(typed, back) && back == v) << typed;
    }
    ASSERT_TRUE(TryStrToDateTime("5.1.2030 12:00:00", back));
    EXPECT_DOUBLE_EQ(back, v + 0.5);
    EXPECT_FALSE(TryStrToDate("1/5/2030", back));
    UseCLocaleFormats();
}
