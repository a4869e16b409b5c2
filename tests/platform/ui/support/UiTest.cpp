#include "tests/platform/ui/support/UiTest.h"

namespace uitest {

using namespace ce;

BEGIN_MESSAGE_MAP(CRecordingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_CTLCOLORSTATIC()
    ON_COMMAND_RANGE(200, 210, OnRange)
    ON_NOTIFY(NM_DBLCLK, 7, OnDblClk)
    ON_MESSAGE(WM_TEST, OnUser)
END_MESSAGE_MAP()

BOOL CRecordingWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR)
        return FALSE;
    pretranslated.push_back(msg->message);
    if (msg->message == WM_CHAR)
        pretranslatedChars.push_back(char16_t(msg->wParam));
    return swallowKeys;
}

LRESULT CRecordingWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_NCDESTROY || message == WM_PAINT ||
        message == WM_LBUTTONDOWN || message == WM_LBUTTONUP)
        log.push_back(message);
    if (destroyOrder && (message == WM_DESTROY || message == WM_NCDESTROY))
        destroyOrder->emplace_back(this, message);
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CRecordingWnd::Make(CWnd* parent, const RECT& rect, UINT id)
{
    if (parent)
        return Create(nullptr, u"child", WS_CHILD | WS_VISIBLE, rect, parent, id) != FALSE;
    return CreateEx(0, nullptr, u"top", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) != FALSE;
}

int CRecordingWnd::OnCreate(LPCREATESTRUCT cs)
{
    log.push_back(WM_CREATE);
    return CWnd::OnCreate(cs) == -1 ? -1 : createResult;
}

void CRecordingWnd::OnSize(UINT type, int cx, int cy)
{
    log.push_back(WM_SIZE);
    lastSize = CSize(cx, cy);
    CWnd::OnSize(type, cx, cy);
}

HBRUSH CRecordingWnd::OnCtlColor(CDC* dc, CWnd*, UINT)
{
    if (!ctlColorBrush)
        return CWnd::OnCtlColor(dc, nullptr, 0);
    dc->SetBkMode(TRANSPARENT);
    return ctlColorBrush;
}

void UiTest::TearDown()
{
    HWND panel = FindWindowW(SIP_WINDOW_CLASS, nullptr);
    for (int guard = 0; guard < 100; ++guard) {
        HWND victim = panel ? GetWindow(panel, GW_HWNDFIRST) : nullptr;
        while (victim == panel && victim)
            victim = GetWindow(victim, GW_HWNDNEXT);
        if (!victim)
            break;
        DestroyWindow(victim);
    }
    if (panel)
        ShowWindow(panel, SW_HIDE);
    SetFocus(nullptr);
    PumpMessages();
}

} // namespace uitest
