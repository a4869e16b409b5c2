// Internal header of the date controls: the words and patterns a date is
// written with in the interface language, taken from the string table of
// the current resource module so that every satellite translates them.
// Only platform/ui/*.cpp include it.
#pragma once
#include "platform/ui/WinDef.h"
#include <QDate>
#include <QString>
#include <vector>

namespace ce {

// String ids of the date words. Patterns use d, dd, M, MM, MMMM, yyyy and
// 'quoted' literal text; the first weekday counts 0 for Monday to 6 for Sunday.
constexpr UINT IDS_MONTH_FIRST = 61200;    // January .. December: 61200 .. 61211
constexpr UINT IDS_WEEKDAY_FIRST = 61212;  // short Sunday .. Saturday: 61212 .. 61218
constexpr UINT IDS_FIRST_WEEKDAY = 61219;
constexpr UINT IDS_LONG_DATE = 61220;
constexpr UINT IDS_SHORT_DATE = 61221;
constexpr UINT IDS_YEAR_MONTH = 61222;     // the month calendar's title

namespace impl {

// What a piece of a written date shows.
enum class DatePart { Literal, Day, Month, Year };

struct DatePiece {
    DatePart part;
    QString text;
};

// `pattern` written for `date`, piece by piece in the order shown.
std::vector<DatePiece> WriteDate(const QDate& date, UINT pattern);
QString DateText(const QDate& date, UINT pattern);
// The month's name (1 to 12) and the weekday's short name (Qt's 1 Monday to 7 Sunday).
QString MonthName(int month);
QString WeekdayName(int dayOfWeek);
// The first column of a week in Qt's numbering (1 Monday to 7 Sunday).
int FirstWeekday();

} // namespace impl
} // namespace ce
