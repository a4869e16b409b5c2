#include "platform/ui/MonthCalendar.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DateWords.h"
#include "platform/ui/WindowImpl.h"
#include <QFontMetrics>
#include <algorithm>

namespace ce {

using namespace impl;

namespace {

constexpr int CellWidth = 28;
constexpr int TitleHeight = 20;
constexpr int HeadingHeight = 16;
constexpr int RowHeight = 15;
constexpr int Rows = 6;
constexpr int ArrowWidth = 22;
constexpr int Border = 1;

constexpr COLORREF Face = RGB(255, 255, 255);
constexpr COLORREF TitleFace = RGB(0, 0, 128);
constexpr COLORREF TitleText = RGB(255, 255, 255);
constexpr COLORREF HeadingText = RGB(0, 0, 128);
constexpr COLORREF DayText = RGB(0, 0, 0);
constexpr COLORREF OtherMonthText = RGB(128, 128, 128);
constexpr COLORREF TodayMark = RGB(255, 0, 0);

// The dates a SYSTEMTIME holds.
const QDate FirstDate(1601, 1, 1);
const QDate LastDate(9999, 12, 31);

QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

void DrawArrow(QPainter& p, const QRect& box, bool left)
{
    const QPoint c = box.center();
    QPolygon arrow;
    if (left)
        arrow << QPoint(c.x() + 2, c.y() - 4) << QPoint(c.x() + 2, c.y() + 4) << QPoint(c.x() - 2, c.y());
    else
        arrow << QPoint(c.x() - 2, c.y() - 4) << QPoint(c.x() - 2, c.y() + 4) << QPoint(c.x() + 2, c.y());
    p.setPen(ToQColor(TitleText));
    p.setBrush(ToQColor(TitleText));
    p.drawPolygon(arrow);
}

} // namespace

CSize CMonthCalendar::Size()
{
    return CSize(7 * CellWidth + 2 * Border, TitleHeight + HeadingHeight + Rows * RowHeight + 2 + 2 * Border);
}

CMonthCalendar* CMonthCalendar::Open(const RECT& field, const QDate& date, PickHandler onPick)
{
    const CSize size = Size();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int x = std::clamp(int(field.left), 0, std::max(0, screenWidth - size.cx));
    int y = field.bottom;
    if (y + size.cy > screenHeight)
        y = field.top - size.cy >= 0 ? int(field.top) - size.cy : std::max(0, screenHeight - size.cy);
    const QDate start = date.isValid() ? std::clamp(date, FirstDate, LastDate) : QDate::currentDate();
    RegisterWindowClass({MONTHCAL_CLASSW, 0, nullptr, nullptr, nullptr});
    auto* calendar = new CMonthCalendar(start, std::move(onPick));
    if (!calendar->CreateEx(WS_EX_TOPMOST, MONTHCAL_CLASSW, nullptr, WS_POPUP | WS_BORDER | WS_VISIBLE, x, y,
                            size.cx, size.cy, nullptr, nullptr)) {
        delete calendar;
        return nullptr;
    }
    GrabInput(calendar->m_hWnd);
    calendar->ShowTitle();
    return calendar;
}

void CMonthCalendar::Close()
{
    DestroyWindow(); // deletes this
}

void CMonthCalendar::PostNcDestroy()
{
    delete this;
}

LRESULT CMonthCalendar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(point); // may close the calendar
        return 0;
    case WM_LBUTTONUP: {
        const QDate day = DayAt(point);
        if (day.isValid() && day == pressedDay)
            Pick(day);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKey(UINT(wParam)); // may close the calendar
        return 0;
    case WM_CHAR:
        if (wParam >= u'0' && wParam <= u'9')
            OnDigit(char16_t(wParam));
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DESTROY:
        ReleaseInput(m_hWnd);
        return CWnd::WindowProc(message, wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

QDate CMonthCalendar::FirstShown() const
{
    const QDate first(current.year(), current.month(), 1);
    return first.addDays(-((first.dayOfWeek() - FirstWeekday() + 7) % 7));
}

CRect CMonthCalendar::DayRect(const QDate& day) const
{
    const qint64 index = FirstShown().daysTo(day);
    if (index < 0 || index >= 7 * Rows)
        return CRect();
    const int left = int(index % 7) * CellWidth;
    const int top = TitleHeight + HeadingHeight + 2 + int(index / 7) * RowHeight;
    return CRect(left, top, left + CellWidth, top + RowHeight);
}

QDate CMonthCalendar::DayAt(CPoint point) const
{
    const int top = TitleHeight + HeadingHeight + 2;
    if (point.x < 0 || point.x >= 7 * CellWidth || point.y < top || point.y >= top + Rows * RowHeight)
        return QDate();
    const QDate day = FirstShown().addDays((point.y - top) / RowHeight * 7 + point.x / CellWidth);
    return day >= FirstDate && day <= LastDate ? day : QDate();
}

QString CMonthCalendar::Title() const
{
    QString title;
    for (const DatePiece& piece : WriteDate(current, IDS_YEAR_MONTH))
        title += piece.part == DatePart::Year && !typedYear.isEmpty() ? typedYear.leftJustified(4, u'_') : piece.text;
    return title;
}

void CMonthCalendar::ShowTitle()
{
    SetWindowText(Title().toStdU16String());
    Invalidate();
}

void CMonthCalendar::MoveTo(const QDate& date)
{
    typedYear.clear();
    if (date.isValid())
        current = std::clamp(date, FirstDate, LastDate);
    ShowTitle();
}

void CMonthCalendar::OnKey(UINT key)
{
    switch (key) {
    case VK_LEFT: MoveTo(current.addDays(-1)); return;
    case VK_RIGHT: MoveTo(current.addDays(1)); return;
    case VK_UP: MoveTo(current.addDays(-7)); return;
    case VK_DOWN: MoveTo(current.addDays(7)); return;
    case VK_PRIOR: MoveTo(current.addMonths(-1)); return;
    case VK_NEXT: MoveTo(current.addMonths(1)); return;
    case VK_HOME: MoveTo(QDate(current.year(), current.month(), 1)); return;
    case VK_END: MoveTo(QDate(current.year(), current.month(), current.daysInMonth())); return;
    case VK_BACK:
        typedYear.chop(1);
        ShowTitle();
        return;
    case VK_RETURN: Pick(current); return;
    case VK_ESCAPE: Close(); return;
    default: return;
    }
}

void CMonthCalendar::OnDigit(char16_t digit)
{
    typedYear += QChar(digit);
    if (typedYear.size() < 4) {
        ShowTitle();
        return;
    }
    const int year = std::clamp(typedYear.toInt(), FirstDate.year(), LastDate.year());
    const int day = std::min(current.day(), QDate(year, current.month(), 1).daysInMonth());
    MoveTo(QDate(year, current.month(), day));
}

void CMonthCalendar::OnPress(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        Close(); // deletes this
        return;
    }
    pressedDay = DayAt(point);
    if (point.y < TitleHeight && point.x < ArrowWidth)
        MoveTo(current.addMonths(-1));
    else if (point.y < TitleHeight && point.x >= client.right - ArrowWidth)
        MoveTo(current.addMonths(1));
    else if (pressedDay.isValid())
        MoveTo(pressedDay);
}

void CMonthCalendar::Pick(QDate date)
{
    PickHandler onPick = std::move(pickHandler);
    Close(); // deletes this
    if (onPick)
        onPick(date);
}

void CMonthCalendar::Paint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, Face);
    auto painter = PainterOf(dc.GetSafeHdc());
    if (!painter)
        return;
    QPainter& p = *painter;
    const QRect area = ToQRect(client);

    // Title: the month and year, the year as typed so far while typing one.
    const QRect title(0, 0, area.width(), TitleHeight);
    p.fillRect(title, ToQColor(TitleFace));
    QFont bold = DeviceFont();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(ToQColor(TitleText));
    p.drawText(title, Qt::AlignCenter | Qt::TextSingleLine, Title());
    DrawArrow(p, QRect(0, 0, ArrowWidth, TitleHeight), true);
    DrawArrow(p, QRect(area.width() - ArrowWidth, 0, ArrowWidth, TitleHeight), false);

    // The weekday headings, a line under them.
    p.setFont(DeviceFont());
    p.setPen(ToQColor(HeadingText));
    for (int column = 0; column < 7; ++column) {
        const QRect cell(column * CellWidth, TitleHeight, CellWidth, HeadingHeight);
        p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, WeekdayName((FirstWeekday() - 1 + column) % 7 + 1));
    }
    p.drawLine(2, TitleHeight + HeadingHeight, area.width() - 3, TitleHeight + HeadingHeight);

    // Six weeks; the current day highlighted, today framed.
    const QDate today = QDate::currentDate();
    for (QDate day = FirstShown(); FirstShown().daysTo(day) < 7 * Rows; day = day.addDays(1)) {
        const QRect cell = ToQRect(DayRect(day));
        QColor text = ToQColor(day.month() == current.month() ? DayText : OtherMonthText);
        if (day == current) {
            p.fillRect(cell.adjusted(1, 0, -1, 0), ToQColor(TitleFace));
            text = ToQColor(TitleText);
        }
        if (day == today) {
            p.setPen(ToQColor(TodayMark));
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell.adjusted(1, 0, -2, -1));
        }
        p.setPen(text);
        p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, QString::number(day.day()));
    }
}

} // namespace ce
