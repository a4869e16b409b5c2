// The date-time picker: a date with an optional no-date check box, its day,
// month and year chosen with Left and Right, and a month calendar that drops
// down under it.
#include "platform/ui/Controls.h"
#include "platform/ui/DateWords.h"
#include "platform/ui/MonthCalendar.h"
#include "platform/ui/WindowImpl.h"
#include <QDate>
#include <QFontMetrics>
#include <QTime>
#include <algorithm>

namespace ce {

using namespace impl;

namespace {

constexpr int BoxSize = 11;
constexpr int ButtonWidth = 16;
constexpr COLORREF SelectedFace = RGB(0, 0, 128);
constexpr COLORREF SelectedText = RGB(255, 255, 255);

struct PickerState : ControlState {
    bool hasDate = true;
    QDate date = QDate::currentDate();
    QTime time = QTime(0, 0);
    DatePart part = DatePart::Literal; // the part Up and Down change; Literal: the first shown
    HWND calendar = nullptr;
};

PickerState* StateOf(HWND hwnd)
{
    return State<PickerState>(hwnd);
}

DWORD StyleOf(HWND hwnd)
{
    return DWORD(GetWindowLongW(hwnd, GWL_STYLE));
}

UINT PatternOf(HWND hwnd)
{
    return (StyleOf(hwnd) & DTS_LONGDATEFORMAT) ? IDS_LONG_DATE : IDS_SHORT_DATE;
}

// The day, month and year in the order the field shows them.
std::vector<DatePart> PartsShown(HWND hwnd, const QDate& date)
{
    std::vector<DatePart> parts;
    for (const DatePiece& piece : WriteDate(date, PatternOf(hwnd)))
        if (piece.part != DatePart::Literal)
            parts.push_back(piece.part);
    return parts;
}

DatePart SelectedPart(HWND hwnd, const PickerState& s)
{
    if (s.part != DatePart::Literal)
        return s.part;
    const std::vector<DatePart> parts = PartsShown(hwnd, s.date);
    return parts.empty() ? DatePart::Day : parts.front();
}

// Left and Right: the neighbouring part, staying at the ends.
void MoveSelection(HWND hwnd, PickerState& s, int step)
{
    const std::vector<DatePart> parts = PartsShown(hwnd, s.date);
    const auto at = std::find(parts.begin(), parts.end(), SelectedPart(hwnd, s));
    if (at == parts.end())
        return;
    const auto index = std::clamp(int(at - parts.begin()) + step, 0, int(parts.size()) - 1);
    s.part = parts[std::size_t(index)];
    InvalidateRect(hwnd, nullptr, TRUE);
}

QRect CheckBoxRect(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    return QRect(3, (rc.bottom - BoxSize) / 2, BoxSize, BoxSize);
}

int TextLeft(HWND hwnd)
{
    return (StyleOf(hwnd) & DTS_SHOWNONE) ? 3 + BoxSize + 4 : 3;
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
    if (const HWND calendar = std::exchange(s.calendar, nullptr); IsWindow(calendar))
        DestroyWindow(calendar);
}

// Opens the calendar on the field's date (today without one); a second
// call while it is open closes it.
void ToggleCalendar(HWND hwnd)
{
    PickerState* s = StateOf(hwnd);
    if (!s)
        return;
    if (FindWindow(s->calendar)) {
        CloseCalendar(*s);
        return;
    }
    RECT field;
    GetWindowRect(hwnd, &field);
    CMonthCalendar* calendar = CMonthCalendar::Open(field, s->hasDate ? s->date : QDate::currentDate(),
                                                    [hwnd](const QDate& date) {
                                                        PickerState* state = StateOf(hwnd);
                                                        if (!state)
                                                            return;
                                                        state->date = date;
                                                        state->hasDate = true;
                                                        Notify(hwnd);
                                                    });
    s->calendar = calendar ? calendar->m_hWnd : nullptr;
}

// The part of the field's text under a client x, or Literal.
DatePart PartAt(HWND hwnd, const PickerState& s, int x)
{
    const QFontMetrics metrics(WindowFont(*FindWindow(hwnd)));
    int left = TextLeft(hwnd);
    for (const DatePiece& piece : WriteDate(s.date, PatternOf(hwnd))) {
        const int right = left + metrics.horizontalAdvance(piece.text);
        if (x < right)
            return piece.part;
        left = right;
    }
    return DatePart::Literal;
}

void PaintPicker(HWND hwnd)
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
        QRect button(rc.right - ButtonWidth, 0, ButtonWidth, rc.bottom);
        p->fillRect(button.adjusted(1, 1, -1, -1), ToQColor(GetSysColor(COLOR_BTNFACE)));
        p->drawLine(button.topLeft(), button.bottomLeft());
        QPoint c = button.center();
        QPolygon arrow;
        arrow << QPoint(c.x() - 3, c.y() - 1) << QPoint(c.x() + 3, c.y() - 1) << QPoint(c.x(), c.y() + 2);
        p->setBrush(Qt::black);
        p->drawPolygon(arrow);

        // The date piece by piece. With the focus, the part that Up and Down
        // change is highlighted; without a date the whole text is framed.
        const QRect text(TextLeft(hwnd), 0, rc.right - ButtonWidth - TextLeft(hwnd) - 2, rc.bottom);
        p->setClipRect(text);
        const QFontMetrics fm(p->font());
        const int markTop = (rc.bottom - fm.height()) / 2;
        const bool focused = GetFocus() == hwnd;
        const DatePart selected = SelectedPart(hwnd, *s);
        const QColor normal = s->hasDate ? QColor(Qt::black) : ToQColor(GetSysColor(COLOR_GRAYTEXT));
        int x = text.left();
        for (const DatePiece& piece : WriteDate(s->date, PatternOf(hwnd))) {
            const QRect box(x, markTop, fm.horizontalAdvance(piece.text), fm.height());
            const bool highlighted = focused && s->hasDate && piece.part == selected;
            if (highlighted)
                p->fillRect(box, ToQColor(SelectedFace));
            p->setPen(highlighted ? ToQColor(SelectedText) : normal);
            p->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, piece.text);
            x = box.right() + 1;
        }
        if (focused && !s->hasDate) {
            p->setPen(QPen(Qt::black, 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(QRect(text.left() - 1, markTop, x - text.left() + 2, fm.height()).adjusted(0, 0, -1, -1));
        }
    }
    EndPaint(hwnd, &ps);
}

// A date that a SYSTEMTIME holds becomes the field's date.
void ChangeDate(HWND hwnd, PickerState& s, const QDate& date)
{
    if (date.isValid() && date.year() >= 1601 && date.year() <= 9999) {
        s.date = date;
        Notify(hwnd);
    }
}

// Up and Down: the selected part one on or back.
void Step(HWND hwnd, PickerState& s, int step)
{
    switch (SelectedPart(hwnd, s)) {
    case DatePart::Month: ChangeDate(hwnd, s, s.date.addMonths(step)); return;
    case DatePart::Year: ChangeDate(hwnd, s, s.date.addYears(step)); return;
    default: ChangeDate(hwnd, s, s.date.addDays(step)); return;
    }
}

LRESULT PickerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PickerState* s = StateOf(hwnd);
    if (!s)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT:
        PaintPicker(hwnd);
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
    case DTM_GETMONTHCAL:
        return FindWindow(s->calendar) ? reinterpret_cast<LRESULT>(s->calendar) : 0;
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
    case WM_DESTROY:
        CloseCalendar(*s);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if ((s = StateOf(hwnd)) == nullptr)
            return 0;
        const int x = GET_X_LPARAM(lParam);
        if ((StyleOf(hwnd) & DTS_SHOWNONE) && x < TextLeft(hwnd)) {
            s->hasDate = !s->hasDate;
            Notify(hwnd);
            return 0;
        }
        if (const DatePart part = PartAt(hwnd, *s, x); part != DatePart::Literal)
            s->part = part;
        ToggleCalendar(hwnd);
        return 0;
    }
    case WM_SYSKEYDOWN:
        // Alt+Down opens the calendar, as F4 does.
        if (wParam == VK_DOWN) {
            ToggleCalendar(hwnd);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_SPACE:
            if (StyleOf(hwnd) & DTS_SHOWNONE) {
                s->hasDate = !s->hasDate;
                Notify(hwnd);
            }
            return 0;
        case VK_F4: ToggleCalendar(hwnd); return 0;
        case VK_LEFT: MoveSelection(hwnd, *s, -1); return 0;
        case VK_RIGHT: MoveSelection(hwnd, *s, 1); return 0;
        default: break;
        }
        if (!s->hasDate)
            return 0;
        switch (wParam) {
        case VK_UP: Step(hwnd, *s, 1); return 0;
        case VK_DOWN: Step(hwnd, *s, -1); return 0;
        case VK_PRIOR: ChangeDate(hwnd, *s, s->date.addMonths(1)); return 0;
        case VK_NEXT: ChangeDate(hwnd, *s, s->date.addMonths(-1)); return 0;
        default: return 0;
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
