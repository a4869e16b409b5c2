#include "platform/core/OleDate.h"

#include <cmath>

namespace ce {

namespace {

// Days from 1 January 1970 of a proleptic Gregorian date.
constexpr long DaysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + long(doe) - 719468;
}

void CivilFromDays(long z, long& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = long(yoe) + era * 400 + (m <= 2);
}

constexpr long OleEpoch = DaysFromCivil(1899, 12, 30);
constexpr double MinDate = double(DaysFromCivil(100, 1, 1) - OleEpoch);
constexpr double MaxDate = double(DaysFromCivil(10000, 1, 1) - OleEpoch);

bool IsLeap(unsigned y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(unsigned y, unsigned m)
{
    static constexpr unsigned MonthLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : MonthLengths[m - 1];
}

} // namespace

COleDateTime::COleDateTime(const SYSTEMTIME& t)
{
    if (t.wYear < 100 || t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
        t.wDay > DaysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59) {
        m_status = invalid;
        return;
    }
    const double day = double(DaysFromCivil(t.wYear, t.wMonth, t.wDay) - OleEpoch);
    const double time = (t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond) / 86400.0;
    // Before the epoch the integer part counts back while the time of day
    // still runs forward: 29 December 1899 06:00 is -1.25.
    m_dt = day >= 0 ? day + time : day - time;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& out) const
{
    out = SYSTEMTIME{};
    if (m_status != valid || !std::isfinite(m_dt) || m_dt <= MinDate - 1.0 || m_dt >= MaxDate)
        return false;
    const double whole = std::trunc(m_dt);
    const long long seconds =
        static_cast<long long>(whole) * 86400 + std::llround(std::fabs(m_dt - whole) * 86400.0);
    long long days = seconds / 86400;
    long long rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    long y;
    unsigned m, d;
    CivilFromDays(long(days) + OleEpoch, y, m, d);
    if (y < 100 || y > 9999)
        return false;
    out.wYear = WORD(y);
    out.wMonth = WORD(m);
    out.wDay = WORD(d);
    out.wHour = WORD(rest / 3600);
    out.wMinute = WORD(rest / 60 % 60);
    out.wSecond = WORD(rest % 60);
    // 30 December 1899 was a Saturday.
    out.wDayOfWeek = WORD(((days % 7) + 7 + 6) % 7);
    return true;
}

int COleDateTime::GetYear() const
{
    SYSTEMTIME t;
    return GetAsSystemTime(t) ? t.wYear : -1;
}

int COleDateTime::GetMonth() const
{
    SYSTEMTIME t;
    return GetAsSystemTime(t) ? t.wMonth : -1;
}

int COleDateTime::GetDay() const
{
    SYSTEMTIME t;
    return GetAsSystemTime(t) ? t.wDay : -1;
}

int COleDateTime::GetHour() const
{
    SYSTEMTIME t;
    return GetAsSystemTime(t) ? t.wHour : -1;
}

int COleDateTime::GetMinute() const
{
    SYSTEMTIME t;
    return GetAsSystemTime(t) ? t.wMinute : -1;
}

int COleDateTime::GetSecond() const
{
    SYSTEMTIME t;
    return GetAsSystemTime(t) ? t.wSecond : -1;
}

int COleDateTime::GetDayOfWeek() const
{
    SYSTEMTIME t;
    return GetAsSystemTime(t) ? t.wDayOfWeek + 1 : -1;
}

} // namespace ce
