#include "IMPN/IMPN_PrintTime.h"

#include <gtest/gtest.h>

namespace
{
constexpr std::int64_t UnixEpochTicks = 116444736000000000LL; // 1970-01-01 on the 1601 scale

TEST(PrintTime, BothDateOrdersGiveTheSameInstant)
{
    const auto us = IMPN_PrintTime::Parse("12/31/2003 10:00:00");
    const auto iso = IMPN_PrintTime::Parse("2003:12:31 10:00:00");
    ASSERT_TRUE(us.has_value());
    ASSERT_TRUE(iso.has_value());
    EXPECT_EQ(*us, *iso);
    // 2003-12-31 10:00:00 is 1072864800 seconds after 1970-01-01.
    EXPECT_EQ(*us, UnixEpochTicks + 1072864800LL * IMPN_PrintTime::TicksPerSecond);
}

TEST(PrintTime, TickScaleStartsIn1601)
{
    EXPECT_EQ(IMPN_PrintTime::Parse("1601-01-01 00:00:00"), 0);
    EXPECT_EQ(IMPN_PrintTime::Parse("1970/01/01 00:00:00"), UnixEpochTicks);
    EXPECT_EQ(IMPN_PrintTime::Parse("1601-01-01 00:00:01"), IMPN_PrintTime::TicksPerSecond);
    // Leap days of 1900 (none), 2000 (one) and 2004 count correctly.
    EXPECT_EQ(*IMPN_PrintTime::Parse("2004:03:01 00:00:00") -
                  *IMPN_PrintTime::Parse("2004:02:28 00:00:00"),
              2 * 86400 * IMPN_PrintTime::TicksPerSecond);
    EXPECT_EQ(*IMPN_PrintTime::Parse("1900:03:01 00:00:00") -
                  *IMPN_PrintTime::Parse("1900:02:28 00:00:00"),
              86400 * IMPN_PrintTime::TicksPerSecond);
    EXPECT_EQ(*IMPN_PrintTime::Parse("2001:01:01 00:00:00") -
                  *IMPN_PrintTime::Parse("2000:01:01 00:00:00"),
              366LL * 86400 * IMPN_PrintTime::TicksPerSecond);
}

TEST(PrintTime, SeparatorIsAnyOneCharacterAndBlanksPrecedeNumbers)
{
    const auto expected = IMPN_PrintTime::Parse("2003:12:31 10:20:30");
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(IMPN_PrintTime::Parse("2003x12y31T10h20m30"), expected);
    EXPECT_EQ(IMPN_PrintTime::Parse("  2003: 12: 31   10:20:  30"), expected);
    EXPECT_EQ(IMPN_PrintTime::Parse("2003:12:31 10:20:30 GMT"), expected);
    // Exactly one character is skipped: two separators in a row leave the next number unread.
    EXPECT_FALSE(IMPN_PrintTime::Parse("2003::12:31 10:20:30").has_value());
}

TEST(PrintTime, ThirdNumberDecidesTheDateOrder)
{
    // 31 is below 32: year, month, day.
    EXPECT_EQ(IMPN_PrintTime::Parse("2003/12/31 00:00:00"),
              IMPN_PrintTime::Parse("12/31/2003 00:00:00"));
    // 32 and more: month, day, year.
    EXPECT_EQ(IMPN_PrintTime::Parse("01/02/2003 00:00:00"),
              IMPN_PrintTime::Parse("2003:01:02 00:00:00"));
}

TEST(PrintTime, TextThatIsNotATimeIsRefused)
{
    for (const char* text :
         {"", "yesterday", "2003:12:31", "2003:12:31 10:00", "2003:13:01 00:00:00",
          "2003:02:29 00:00:00", "2003:12:31 24:00:00", "2003:12:31 10:60:00",
          "2003:12:31 10:00:60", "1600:12:31 00:00:00", "12/31/99999 00:00:00",
          "99999999999999999999:01:01 00:00:00", "2003:12:00 00:00:00"})
    {
        EXPECT_FALSE(IMPN_PrintTime::Parse(text).has_value()) << text;
        EXPECT_EQ(IMPN_PrintTime::ParseOrZero(text), 0) << text;
    }
    EXPECT_TRUE(IMPN_PrintTime::Parse("2004:02:29 23:59:59").has_value());
}
} // namespace
