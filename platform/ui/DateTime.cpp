// The date-time picker: a date with an optional no-date check box and a
// month calendar that opens under it.
#include "platform/core/System.h"
#include "platform/ui/Controls.h"
#include "platform/ui/WindowImpl.h"
#include <QCalendarWidget>
#include <QDate>
#include <QLocale>
#include <QPointer>
#include <QTime>

namespace ce {

using namespace impl;

namespace {

constexpr int kBoxSize = 11;
constexpr int kButtonWidth = 16;

struct PickerState : ControlState {
    bool hasDate = true;
    QDate date = QDate::currentDate();
    QTime time = QTime(0, 0);
    QPointer<QCalendarWidget> calendar;
    ~PickerState() override
    {
        if (calendar)
            calendar->deleteLater();
    }
};

PickerState* StateOf(HWND hwnd)
{
    return State<PickerState>(hwnd);
}

DWORD StyleOf(HWND hwnd)
{
    return DWORD(GetWindowLongW(hwnd, GWL_STYLE));
}

QString FormatDate(const QDate& date, bool longFormat)
{
    switch (PRIMARYLANGID(GetUserDefaultUILanguage())) {
    case 0x09:
        return QLocale(QLocale::English).toString(date, longFormat ? QStringLiteral("MMMM d, yyyy") : QStringLiteral("M/d/yyyy"));
    case 0x04:
        return QLocale(QLocale::Chinese).toString(date, longFormat ? QStringLiteral("yyyy'年'M'月'd'日'") : QStringLiteral("yyyy/M/d"));
    case 0x07:
        return QLocale(QLocale::German).toString(date, longFormat ? QStringLiteral("d. MMMM yyyy") : QStringLiteral("dd.MM.yyyy"));
    case 0x0c:
        return QLocale(QLocale::French).toString(date, longFormat ? QStringLiteral("d MMMM yyyy") : QStringLiteral("dd/MM/yyyy"));
    case 0x10:
        return QLocale(QLocale::Italian).toString(date, longFormat ? QStringLiteral("d MMMM yyyy") : QStringLiteral("dd/MM/yyyy"));
    case 0x16:
        return QLocale(QLocale::Portuguese).toString(date, longFormat ? QStringLiteral("d 'de' MMMM 'de' yyyy") : QStringLiteral("dd/MM/yyyy"));
    default:
        return QLocale(QLocale::Spanish).toString(date, longFormat ? QStringLiteral("d 'de' MMMM 'de' yyyy") : QStringLiteral("dd/MM/yyyy"));
    }
}

QRect CheckBoxRect(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    return QRect(3, (rc.bottom - kBoxSize) / 2, kBoxSize, kBoxSize);
}

int TextLeft(HWND hwnd)
{
    return (StyleOf(hwnd) & DTS_SHOWNONE) ? 3 + kBoxSize + 4 : 3;
}

void Notify(HWND hwnd)
{
    PickerState* s = StateOf(hwnd);
    if (!s)
        return;
    InvalidateRect(hwnd, nullptr, TRUE);
    NMDATETIMECHANGE change;
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = s->hasDate ? DWORD(GDT_VALID) : DWORD(GDT_NONE);
    if (s->hasDate) {
        change.st.wYear = WORD(s->date.year());
        change.st.wMonth = WORD(s->date.month());
        change.st.wDay = WORD(s->date.day());
        change.st.wDayOfWeek = WORD(s->date.dayOfWeek() % 7);
        change.st.wHour = WORD(s->time.hour());
        change.st.wMinute = WORD(s->time.minute());
        change.st.wSecond = WORD(s->time.second());
    }
    NotifyParent(hwnd, change.nmhdr);
}

void CloseCalendar(PickerState& s)
{
    if (s.calendar) {
        s.calendar->hide();
        s.calendar->deleteLater();
        s.calendar = nullptr;
    }
}

void OpenCalendar(HWND hwnd)
{
    PickerState* s = StateOf(hwnd);
    if (!s)
        return;
    if (s->calendar) {
        CloseCalendar(*s);
        return;
    }
    RECT rc;
    GetWindowRect(hwnd, &rc);
    auto* calendar = new QCalendarWidget(ScreenWidget());
    calendar->setGridVisible(false);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setFont(DeviceFont());
    calendar->setSelectedDate(s->hasDate ? s->date : QDate::currentDate());
    QSize size(200, 140);
    int x = std::clamp(int(rc.left), 0, GetSystemMetrics(SM_CXSCREEN) - size.width());
    int y = rc.bottom + size.height() <= GetSystemMetrics(SM_CYSCREEN) ? int(rc.bottom) : int(rc.top) - size.height();
    calendar->setGeometry(QRect(QPoint(x, std::max(0, y)), size));
    QObject::connect(calendar, &QCalendarWidget::clicked, calendar, [hwnd](QDate date) {
        PickerState* state = StateOf(hwnd);
        if (!state)
            return;
        state->date = date;
        state->hasDate = true;
        CloseCalendar(*state);
        Notify(hwnd);
    });
    s->calendar = calendar;
    calendar->show();
    calendar->raise();
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    PickerState* s = StateOf(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW));
    if (!s) {
        EndPaint(hwnd, &ps);
        return;
    }
    DWORD style = StyleOf(hwnd);
    if (auto p = PainterOf(hdc)) {
        p->setPen(Qt::black);
        p->setBrush(Qt::NoBrush);
        if (!(style & WS_BORDER))
            p->drawRect(QRect(0, 0, rc.right - 1, rc.bottom - 1));
        if (style & DTS_SHOWNONE) {
            QRect box = CheckBoxRect(hwnd);
            p->fillRect(box, Qt::white);
            p->drawRect(box.adjusted(0, 0, -1, -1));
            if (s->hasDate) {
                p->drawLine(box.left() + 2, box.center().y(), box.left() + 4, box.bottom() - 2);
                p->drawLine(box.left() + 4, box.bottom() - 2, box.right() - 2, box.top() + 2);
            }
        }
        QRect button(rc.right - kButtonWidth, 0, kButtonWidth, rc.bottom);
        p->fillRect(button.adjusted(1, 1, -1, -1), ToQColor(GetSysColor(COLOR_BTNFACE)));
        p->drawLine(button.topLeft(), button.bottomLeft());
        QPoint c = button.center();
        QPolygon arrow;
        arrow << QPoint(c.x() - 3, c.y() - 1) << QPoint(c.x() + 3, c.y() - 1) << QPoint(c.x(), c.y() + 2);
        p->setBrush(Qt::black);
        p->drawPolygon(arrow);
        p->setPen(s->hasDate ? Qt::black : ToQColor(GetSysColor(COLOR_GRAYTEXT)));
        QRect text(TextLeft(hwnd), 0, rc.right - kButtonWidth - TextLeft(hwnd) - 2, rc.bottom);
        p->setClipRect(text);
        p->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    FormatDate(s->date, style & DTS_LONGDATEFORMAT));
        if (GetFocus() == hwnd && s->hasDate) {
            QFontMetrics fm(p->font());
            QRect mark(text.left() - 1, (rc.bottom - fm.height()) / 2,
                       fm.horizontalAdvance(FormatDate(s->date, style & DTS_LONGDATEFORMAT)) + 2, fm.height());
            p->setPen(QPen(Qt::black, 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(mark.adjusted(0, 0, -1, -1));
        }
    }
    EndPaint(hwnd, &ps);
}

LRESULT PickerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PickerState* s = StateOf(hwnd);
    if (!s)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case DTM_SETSYSTEMTIME:
        if (LRESULT(wParam) == GDT_NONE) {
            if (!(StyleOf(hwnd) & DTS_SHOWNONE))
                return FALSE;
            s->hasDate = false;
        } else if (LRESULT(wParam) == GDT_VALID) {
            auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
            if (!st)
                return FALSE;
            QDate date(st->wYear, st->wMonth, st->wDay);
            QTime time(st->wHour, st->wMinute, st->wSecond);
            if (!date.isValid() || !time.isValid())
                return FALSE;
            s->date = date;
            s->time = time;
            s->hasDate = true;
        } else {
            return FALSE;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    case DTM_GETSYSTEMTIME: {
        auto* st = reinterpret_cast<SYSTEMTIME*>(lParam);
        if (!st)
            return GDT_ERROR;
        if (!s->hasDate)
            return GDT_NONE;
        *st = SYSTEMTIME();
        st->wYear = WORD(s->date.year());
        st->wMonth = WORD(s->date.month());
        st->wDay = WORD(s->date.day());
        st->wDayOfWeek = WORD(s->date.dayOfWeek() % 7);
        st->wHour = WORD(s->time.hour());
        st->wMinute = WORD(s->time.minute());
        st->wSecond = WORD(s->time.second());
        return GDT_VALID;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (msg == WM_KILLFOCUS)
            CloseCalendar(*s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if ((s = StateOf(hwnd)) == nullptr)
            return 0;
        QPoint at(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if ((StyleOf(hwnd) & DTS_SHOWNONE) && at.x() < TextLeft(hwnd)) {
            s->hasDate = !s->hasDate;
            Notify(hwnd);
        } else {
            OpenCalendar(hwnd);
        }
        return 0;
    }
    case WM_KEYDOWN: {
        if (wParam == VK_SPACE && (StyleOf(hwnd) & DTS_SHOWNONE)) {
            s->hasDate = !s->hasDate;
            Notify(hwnd);
            return 0;
        }
        if (!s->hasDate)
            return 0;
        QDate date = s->date;
        switch (wParam) {
        case VK_UP:
            date = date.addDays(1);
            break;
        case VK_DOWN:
            date = date.addDays(-1);
            break;
        case VK_PRIOR:
            date = date.addMonths(1);
            break;
        case VK_NEXT:
            date = date.addMonths(-1);
            break;
        default:
            return 0;
        }
        if (date.isValid() && date.year() >= 1601 && date.year() <= 9999) {
            s->date = date;
            Notify(hwnd);
        }
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

std::unique_ptr<ControlState> CreatePickerState(Window&)
{
    return std::make_unique<PickerState>();
}

} // namespace

namespace impl {

void RegisterDateTimeClass()
{
    RegisterWindowClass({DATETIMEPICK_CLASSW, 0, nullptr, &PickerProc, &CreatePickerState});
}

} // namespace impl

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

BOOL CDateTimeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(DATETIMEPICK_CLASSW, nullptr, style, rect, parent, id);
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* time)
{
    return BOOL(SendMessage(DTM_SETSYSTEMTIME, WPARAM(time ? GDT_VALID : GDT_NONE), reinterpret_cast<LPARAM>(time)));
}

DWORD CDateTimeCtrl::GetTime(SYSTEMTIME* time) const
{
    return DWORD(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
}

BOOL CDateTimeCtrl::SetTime(const COleDateTime& time)
{
    SYSTEMTIME st;
    if (time.GetStatus() != COleDateTime::valid || !time.GetAsSystemTime(st))
        return FALSE;
    return SetTime(&st);
}

BOOL CDateTimeCtrl::GetTime(COleDateTime& time) const
{
    SYSTEMTIME st;
    if (GetTime(&st) != DWORD(GDT_VALID))
        return FALSE;
    time = COleDateTime(st);
    return TRUE;
}

} // namespace ce
