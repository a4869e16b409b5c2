#include "platform/core/OleDate.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using ce::COleDateTime;
using ce::SYSTEMTIME;

namespace {

using ce::WORD;

SYSTEMTIME Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return SYSTEMTIME{WORD(y), WORD(mo), 0, WORD(d), WORD(h), WORD(mi), WORD(s), 0};
}

// Date and time of t without the day of the week, to compare whole.
std::vector<int> Fields(const SYSTEMTIME& t)
{
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

TEST(OleDate, NegativeDatesCountDaysBackAndRoundTripIsExactToTheSecond)
{
    SYSTEMTIME t;
    ASSERT_TRUE(COleDateTime(-1.25).GetAsSystemTime(t));
    EXPECT_EQ(Fields(t), Fields(Make(1899, 12, 29, 6, 0, 0)));
    EXPECT_EQ(COleDateTime(Make(1899, 12, 29, 6)).m_dt, -1.25);
    ASSERT_TRUE(COleDateTime(2.5).GetAsSystemTime(t));
    EXPECT_EQ(Fields(t), Fields(Make(1900, 1, 1, 12, 0, 0)));

    COleDateTime birthday(Make(1975, 3, 7, 18, 30));
    ASSERT_EQ(birthday.GetStatus(), COleDateTime::valid);
    EXPECT_NEAR(birthday.m_dt, 27460.0 + 18.5 / 24, 1e-9);
    ASSERT_TRUE(COleDateTime(birthday.m_dt).GetAsSystemTime(t));
    EXPECT_EQ(Fields(t), Fields(Make(1975, 3, 7, 18, 30, 0)));
    EXPECT_EQ(t.wDayOfWeek, 5); // a Friday
    EXPECT_EQ(birthday.GetDayOfWeek(), 6);

    // A hair below the second reads as that second; rounding may cross midnight.
    ASSERT_TRUE(COleDateTime(birthday.m_dt - 1e-9).GetAsSystemTime(t));
    EXPECT_EQ(Fields(t), Fields(Make(1975, 3, 7, 18, 30, 0)));
    ASSERT_TRUE(COleDateTime(27460.0 + 86399.6 / 86400).GetAsSystemTime(t));
    EXPECT_EQ(Fields(t), Fields(Make(1975, 3, 8, 0, 0, 0)));

    for (const SYSTEMTIME& s : {Make(1850, 2, 28, 23, 59, 59), Make(100, 1, 1, 0, 0, 1), Make(2000, 2, 29, 1, 2, 3),
                                Make(9999, 12, 31, 23, 59, 59)}) {
        ASSERT_TRUE(COleDateTime(COleDateTime(s).m_dt).GetAsSystemTime(t));
        EXPECT_EQ(Fields(t), Fields(Make(s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond)));
    }
}

TEST(OleDate, InvalidInputIsRefused)
{
    for (const SYSTEMTIME& s : {Make(1975, 0, 7), Make(1975, 13, 7), Make(1975, 3, 0), Make(1975, 2, 29),
                                Make(1900, 2, 29), Make(1975, 4, 31), Make(1975, 3, 7, 24), Make(1975, 3, 7, 10, 60),
                                Make(1975, 3, 7, 10, 0, 60), Make(99, 12, 31), Make(10000, 1, 1)}) {
        COleDateTime d(s);
        EXPECT_EQ(d.GetStatus(), COleDateTime::invalid) << s.wYear << "-" << s.wMonth << "-" << s.wDay;
        SYSTEMTIME t;
        EXPECT_FALSE(d.GetAsSystemTime(t));
        EXPECT_EQ(d.GetYear(), -1);
    }
    SYSTEMTIME t = Make(1, 1, 1);
    for (double bad : {-700000.0, 2958466.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(COleDateTime(bad).GetAsSystemTime(t)) << bad;
        EXPECT_EQ(t.wYear, 0);
    }
}

} // namespace
