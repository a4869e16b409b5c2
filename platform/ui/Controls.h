// The platform's static, edit and date-time picker controls and their
// framework classes.
#pragma once
#include "platform/core/OleDate.h"
#include "platform/ui/Wnd.h"

namespace ce {

inline constexpr const WCHAR* WC_STATICW = u"STATIC";
inline constexpr const WCHAR* WC_EDITW = u"EDIT";
inline constexpr const WCHAR* DATETIMEPICK_CLASSW = u"SysDateTimePick32";
// The month calendar that drops down from a date-time picker.
inline constexpr const WCHAR* MONTHCAL_CLASSW = u"SysMonthCal32";

// Static control. Its background is the brush that WM_CTLCOLORSTATIC to its
// parent returns (the parent's background when none), its text is drawn with
// that context's text colour and background mode in the control's font, and
// line feeds in the text start new lines.
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_BITMAP = 0x000E; // shows the bitmap resource named by the template text, clipped to the control
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_CENTERIMAGE = 0x0200;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT STM_GETIMAGE = 0x0173;
constexpr UINT IMAGE_BITMAP = 0;

// Single-line edit control: sends EN_SETFOCUS, EN_KILLFOCUS and EN_CHANGE
// to its parent through WM_COMMAND; types WM_CHAR characters, VK_BACK,
// VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME and VK_END.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETREADONLY = 0x00CF;

// Date-time picker: a date in the chosen format; with DTS_SHOWNONE a check
// box in front of it, cleared in the no-date state. Left and Right choose
// the day, month or year, Up and Down change it, Prior and Next the month;
// F4, Alt+Down or a tap on the date opens a month calendar. Changes send
// DTN_DATETIMECHANGE to the parent.
constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
constexpr DWORD DTS_UPDOWN = 0x0001;
constexpr DWORD DTS_SHOWNONE = 0x0002;
constexpr DWORD DTS_LONGDATEFORMAT = 0x0004;
constexpr DWORD DTS_TIMEFORMAT = 0x0009;
constexpr UINT DTM_FIRST = 0x1000;
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1; // lParam SYSTEMTIME*; returns GDT_VALID or GDT_NONE
constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2; // wParam GDT_VALID (lParam SYSTEMTIME*) or GDT_NONE
constexpr UINT DTM_GETMONTHCAL = DTM_FIRST + 8;   // the open calendar's window, or null
constexpr LRESULT GDT_ERROR = -1;
constexpr LRESULT GDT_VALID = 0;
constexpr LRESULT GDT_NONE = 1;
constexpr UINT DTN_FIRST = 0U - 760U;
constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST + 1;

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = 0; // GDT_VALID or GDT_NONE
    SYSTEMTIME st;
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    using CWnd::Create;
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
    void LimitText(int maxChars);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
};

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Null puts a DTS_SHOWNONE picker into its no-date state.
    BOOL SetTime(const SYSTEMTIME* time = nullptr);
    // GDT_VALID with the date, or GDT_NONE.
    DWORD GetTime(SYSTEMTIME* time) const;
    BOOL SetTime(const COleDateTime& time);
    BOOL GetTime(COleDateTime& time) const;
};

} // namespace ce
