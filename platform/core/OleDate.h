// The OLE Automation date: days since 30 December 1899 00:00, the fraction
// being the time of day; negative values count back from that day, their
// fraction still going forward (-1.25 is 29 December 1899 06:00).
#pragma once
#include "platform/core/Types.h"

namespace ce {

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1 };

    COleDateTime() = default;
    explicit COleDateTime(DATE date) : m_dt(date) {}
    // An invalid SYSTEMTIME (month 13, day 0, hour 25 ...) gives status invalid.
    explicit COleDateTime(const SYSTEMTIME& time);

    // Exact to the second; milliseconds 0, day of week computed. Returns
    // false for a date outside the representable range (and leaves time zeroed).
    bool GetAsSystemTime(SYSTEMTIME& time) const;

    DateTimeStatus GetStatus() const { return m_status; }
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 Sunday ... 7 Saturday, as the framework counts

    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

} // namespace ce
