#include "platform/ui/FrameWnd.h"
#include "platform/core/Resources.h"
#include "platform/ui/App.h"
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"
#include <QTimer>
#include <algorithm>

namespace ce {

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

CSize CControlBar::CalcFixedLayout(BOOL, BOOL)
{
    CRect rect;
    GetWindowRect(&rect);
    return CSize(rect.Width(), rect.Height());
}

BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    HWND parent = ce::GetParent(m_hWnd);
    if (!parent)
        return FALSE;
    ce::SendMessageW(parent, WM_COMMAND, wParam, lParam);
    return TRUE;
}

BOOL CControlBar::CreateBar(LPCWSTR className, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    SetBarStyle(style);
    return CWnd::Create(className, nullptr, style & ~CBRS_ALL, rect, parent, id);
}

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT id, DWORD defaultStyle, CWnd* parent, CCreateContext*)
{
    m_strTitle = LoadStringW(id);
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    // A failed creation runs through WM_NCDESTROY too; the object must
    // survive it so that the caller can still free it.
    inLoadFrame = true;
    const BOOL created = CWnd::CreateEx(0, nullptr, m_strTitle.c_str(), defaultStyle, 0, 0, cx, cy,
                                        parent ? parent->m_hWnd : nullptr, nullptr);
    inLoadFrame = false;
    if (!created)
        return FALSE;
    // The main frame's icon is the host window's.
    if (!parent)
        impl::ShowProgramIcon(id);
    RecalcLayout();
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    // A device frame is a plain top-level window: its command bar stands in
    // for the caption and the menu.
    cs.style &= ~LONG(WS_CHILD | WS_CAPTION);
    return CWnd::PreCreateWindow(cs);
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    if (!inLoadFrame)
        delete this;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_SYSKEYDOWN)
        if (impl::Window* self = impl::FindWindow(m_hWnd))
            for (HWND child : std::vector<HWND>(self->children))
                if (auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(child));
                    bar && bar->OnMenuKey(UINT(msg->wParam)))
                    return TRUE;
    return CWnd::PreTranslateMessage(msg);
}

void CFrameWnd::RecalcLayout(BOOL)
{
    impl::Window* self = impl::FindWindow(m_hWnd);
    if (!self)
        return;
    CRect client;
    GetClientRect(&client);
    // Stacked windows share the row where they meet: each next bar, and the
    // pane, starts on the last row of the one above it, so the line that
    // both draw along that edge shows once, one pixel thick.
    int top = client.top;
    HWND pane = nullptr;
    for (HWND child : std::vector<HWND>(self->children)) {
        if (ce::GetDlgCtrlID(child) == int(AFX_IDW_PANE_FIRST)) {
            pane = child;
            continue;
        }
        auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(child));
        if (!bar || !(bar->GetBarStyle() & CBRS_ALIGN_TOP) || !(bar->GetStyle() & WS_VISIBLE))
            continue;
        const int height = std::max<int>(0, bar->CalcFixedLayout(FALSE, TRUE).cy);
        ce::MoveWindow(child, client.left, top, client.Width(), height, TRUE);
        top += std::max(0, height - 1);
    }
    if (pane)
        ce::MoveWindow(pane, client.left, top, client.Width(), std::max<int>(0, client.bottom - top), TRUE);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    return CWnd::OnCreate(cs);
}

void CFrameWnd::OnDestroy()
{
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CFrameWnd::OnClose()
{
    // A dialog or message box that runs over the frame ends first, so that
    // the frame never goes away under its loop; then the frame closes.
    if (!IsWindowEnabled()) {
        if (const HWND active = GetActiveWindow(); active && active != m_hWnd)
            ce::PostMessageW(active, WM_CLOSE, 0, 0);
        const HWND frame = m_hWnd;
        QTimer::singleShot(50, [frame] { ce::PostMessageW(frame, WM_CLOSE, 0, 0); });
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnSetFocus(CWnd* oldWnd)
{
    CWnd::OnSetFocus(oldWnd);
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    CWnd::OnInitMenuPopup(popup, index, sysMenu);
}

void CFrameWnd::OnAppExit()
{
    // Posted, so that the frame is not destroyed inside the command that
    // asked for it.
    PostMessage(WM_CLOSE);
}

} // namespace ce
