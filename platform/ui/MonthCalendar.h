// Internal header of the date-time picker: the month calendar that drops
// down from it. Only platform/ui/*.cpp include it.
#pragma once
#include "platform/ui/Wnd.h"
#include <QDate>
#include <functional>

namespace ce {

// A top-level window inside the device screen, below its picker (above
// when there is no room): a title with the month and year in the interface
// language and arrows to the neighbouring months, the short weekday names,
// and six week rows. While open it takes every key and tap; the focus stays
// on the picker.
//   Left, Right: a day back or on. Up, Down: a week. Page Up, Page Down,
//   the arrows: a month. Home, End: the month's first or last day.
//   Digits: a year, applied at its fourth digit (Backspace takes one back).
//   Return or a tap on a day: picks that day and closes.
//   Escape or a tap outside: closes and changes nothing.
class CMonthCalendar : public CWnd {
public:
    using PickHandler = std::function<void(const QDate&)>;

    // Opens the calendar (class MONTHCAL_CLASSW) on `date` under the screen
    // rectangle `field`; deletes itself when closed. Its picker closes it
    // when it loses the focus or ends.
    static CMonthCalendar* Open(const RECT& field, const QDate& date, PickHandler onPick);

protected:
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CMonthCalendar(const QDate& date, PickHandler onPick) : current(date), pickHandler(std::move(onPick)) {}
    // The size the calendar takes on the screen.
    static CSize Size();
    void Close();
    // The first day of the six rows shown for the current month.
    QDate FirstShown() const;
    // The day under a client point, or a null date.
    QDate DayAt(CPoint point) const;
    CRect DayRect(const QDate& day) const;
    // The month and year, the year as typed so far while typing one.
    QString Title() const;
    // The title is the window's text too.
    void ShowTitle();
    void MoveTo(const QDate& date);
    void OnKey(UINT key);
    void OnDigit(char16_t digit);
    void OnPress(CPoint point);
    // By value: a date of the calendar itself is gone once it closes.
    void Pick(QDate date);
    void Paint();

    QDate current;
    PickHandler pickHandler;
    QString typedYear;
    QDate pressedDay; // the day a tap went down on
};

} // namespace ce
