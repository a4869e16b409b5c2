#include "shell/MainFrm.h"
#include "data/ContactList.h"
#include "platform/core/Resources.h"
#include "platform/ui/App.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Host.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ToolBar.h"
#include "res/resource.h"
#include "shell/ContactApp.h"

#include <cstdio>
#include <utility>

using namespace ce;

namespace {

constexpr UINT WM_TAKE_SCREENSHOT = WM_USER + 102;
constexpr UINT WM_SYNC_FINISHED = WM_USER + 103;

} // namespace

IMPLEMENT_DYNAMIC(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(CContactFileKeeper::WM_LOAD_FINISHED, OnLoadFinished)
    ON_MESSAGE(CContactFileKeeper::WM_ARM_WATCH, OnArmWatch)
    ON_MESSAGE(WM_TAKE_SCREENSHOT, OnScreenshot)
    ON_MESSAGE(WM_SYNC_FINISHED, OnSyncFinished)
    ON_COMMAND(ID_FILE_SYNC, OnFileSync)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

// The keeper stops a load that a failed creation left running.
CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    title = LoadStringW(IDS_CONTACTS);
    cs.lpszName = title.c_str();
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, nullptr);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    keeper.Start(m_hWnd);

    if (!listWindow.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                           AFX_IDW_PANE_FIRST, nullptr))
        return FailCreate();
    if (!commandBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !commandBar.InsertMenuBar(IDR_MAINFRAME, 0xFFFF) || !commandBar.AddAdornments(0))
        return FailCreate();
    commandBar.SetBarStyle(commandBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_FIXED);
    if (!letterBar.CreateEx(this, TBSTYLE_FLAT,
                            WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_FIXED,
                            CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR))
        return FailCreate();
    letterBar.CreateLetterButtons();
    created = true;
    return 0;
}

int CMainFrame::FailCreate()
{
    // The load started above must not outlive this object.
    closing = true;
    keeper.Stop();
    return -1;
}

HWND CMainFrame::GetListView() const
{
    return listWindow.m_hWnd ? ce::GetDlgItem(listWindow.m_hWnd, 1) : nullptr;
}

LRESULT CMainFrame::OnLoadFinished(WPARAM, LPARAM)
{
    if (closing)
        return 0;
    HWND view = GetListView();
    if (!view)
        return 0;
    ce::SendMessageW(view, LVM_SETITEMCOUNT, WPARAM(g_contactList.GetCount()), LVSICF_NOINVALIDATEALL);
    Invalidate();
    UpdateWindow();
    ce::InvalidateRect(view, nullptr, TRUE);
    ce::UpdateWindow(view);
    listWindow.PostMessage(WM_CONTACTS_LOADED, 0, 0);
    if (!screenshotFile.empty())
        PostMessage(WM_TAKE_SCREENSHOT);
    return 0;
}

LRESULT CMainFrame::OnArmWatch(WPARAM, LPARAM)
{
    if (!closing)
        keeper.ArmWatch();
    return 0;
}

LRESULT CMainFrame::OnScreenshot(WPARAM, LPARAM)
{
    const std::string file = std::exchange(screenshotFile, std::string());
    if (file.empty() || closing)
        return 0;
    if (!SaveScreenshot(file))
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
    PostMessage(WM_CLOSE);
    return 0;
}

void CMainFrame::OnTimer(UINT_PTR id)
{
    if (id == CContactFileKeeper::WatchTimer)
        keeper.Tick();
    CFrameWnd::OnTimer(id);
}

void CMainFrame::OnFileSync()
{
    if (syncCommand.Running())
        return;
    // The sync works on the data file: the list goes there first, through its own save.
    keeper.SaveBeforeSync();
    syncCommand.Start(m_hWnd, WM_SYNC_FINISHED);
}

LRESULT CMainFrame::OnSyncFinished(WPARAM, LPARAM)
{
    const std::unique_ptr<carddav::SyncOutcome> outcome = syncCommand.TakeOutcome();
    if (!outcome || closing)
        return 0;
    // The list shows what the sync wrote while the box tells the result.
    keeper.Tick();
    keeper.WaitForLoad();
    MessageBoxW(m_hWnd, CSyncCommand::Message(*outcome).c_str(), title.c_str(),
                MB_OK | (outcome->ok ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    return 0;
}

void CMainFrame::OnDestroy()
{
    CFrameWnd::OnDestroy();
    closing = true;
    // A running sync ends first; when it wrote the data file, the keeper
    // sees a file newer than its last load.
    const std::unique_ptr<carddav::SyncOutcome> synced = syncCommand.Running() ? syncCommand.TakeOutcome() : nullptr;
    if (created && !preview)
        ReportWriteBack(keeper.WriteBack());
    else
        keeper.Stop();
    g_contactList.Clear();
}

void CMainFrame::ReportWriteBack(const WriteBackResult& result)
{
    if (result.outcome == WriteBackResult::Written || result.outcome == WriteBackResult::LeftAsItIs)
        return;
    const bool kept = result.outcome == WriteBackResult::Recovered;
    std::u16string message = LoadStringW(kept ? IDS_SAVED_TO_RECOVERY : IDS_NOT_SAVED);
    if (kept)
        message += u"\n" + Utf8ToUtf16(result.recoveryFile);
    std::fprintf(stderr, "contacts: %s: %s\n", DeviceToHostPath(keeper.Path()).c_str(), Utf16ToUtf8(message).c_str());
    if (!kept)
        if (auto* app = dynamic_cast<CContactApp*>(AfxGetApp()))
            app->NoteListLost();
    if (!QuitRequestedBySignal())
        MessageBoxW(nullptr, message.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    CFrameWnd::OnInitMenuPopup(popup, index, sysMenu);
    if (!popup)
        return;
    const HWND view = GetListView();
    const LRESULT current =
        view ? ce::SendMessageW(view, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED | LVNI_SELECTED) : -1;
    const UINT state = MF_BYCOMMAND | (current == -1 ? MF_GRAYED : MF_ENABLED);
    popup->EnableMenuItem(ID_CONTACT_OPEN, state);
    popup->EnableMenuItem(ID_CONTACT_EDIT, state);
    popup->EnableMenuItem(ID_CONTACT_DELETE, state);
    popup->EnableMenuItem(ID_FILE_SYNC, MF_BYCOMMAND | (syncCommand.Running() ? MF_GRAYED : MF_ENABLED));
}

void CMainFrame::OnSetFocus(CWnd*)
{
    listWindow.SetFocus();
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (listWindow.OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
}
