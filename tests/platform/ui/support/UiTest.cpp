#include "tests/platform/ui/support/UiTest.h"

namespace uitest {

using namespace ce;

BOOL CRecordingWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR)
        return FALSE;
    pretranslated.push_back(msg->message);
    if (msg->message == WM_CHAR)
        pretranslatedChars.push_back(char16_t(msg->wParam));
    return FALSE;
}

LRESULT CRecordingWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN || message == WM_CHAR || message == WM_LBUTTONDOWN || message == WM_TIMER ||
        message >= WM_USER)
        log.push_back(message);
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CRecordingWnd::Make(CWnd* parent, const RECT& rect, UINT id)
{
    if (parent)
        return Create(nullptr, u"child", WS_CHILD | WS_VISIBLE, rect, parent, id) != FALSE;
    return CreateEx(0, nullptr, u"top", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) != FALSE;
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
