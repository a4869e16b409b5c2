#include "shell/MainFrm.h"
#include "data/ContactList.h"
#include "data/ContactStore.h"
#include "platform/core/Resources.h"
#include "platform/ui/App.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Host.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ToolBar.h"
#include "res/resource.h"
#include "shell/RecoveryFile.h"

#include <cstdio>
#include <ctime>
#include <utility>

using namespace ce;

namespace {

// The load thread's hand-over to the user-interface thread.
constexpr UINT WM_LOAD_FINISHED = WM_USER + 100;
constexpr UINT WM_ARM_WATCH = WM_USER + 101;
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
    ON_MESSAGE(WM_LOAD_FINISHED, OnLoadFinished)
    ON_MESSAGE(WM_ARM_WATCH, OnArmWatch)
    ON_MESSAGE(WM_TAKE_SCREENSHOT, OnScreenshot)
    ON_MESSAGE(WM_SYNC_FINISHED, OnSyncFinished)
    ON_COMMAND(ID_FILE_SYNC, OnFileSync)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    // The window normally ends first; if it never existed, a thread may
    // still run from a failed creation.
    StopReload();
}

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
    frameWindow = m_hWnd;
    dataFilePath = ContactStoreFile;
    GetFileAttributesExW(dataFilePath.c_str(), GetFileExInfoStandard, &rememberedAttributes);
    StartReload();

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
    StopReload();
    return -1;
}

HWND CMainFrame::GetListView() const
{
    return listWindow.m_hWnd ? ce::GetDlgItem(listWindow.m_hWnd, 1) : nullptr;
}

void CMainFrame::StartReload()
{
    // Raised before the thread exists, so that no wait can miss the load.
    reloadBusy = 1;
    HANDLE thread = CreateThread(nullptr, 0, &CMainFrame::ReloadThread, this, CREATE_SUSPENDED, nullptr);
    if (thread && ResumeThread(thread) != 0xFFFFFFFFu) {
        reloadThread = thread;
        return;
    }
    if (thread)
        CloseHandle(thread);
    // Nothing loads: a list that does not hold an existing file is never
    // written over it, and the next tick tries again.
    WIN32_FILE_ATTRIBUTE_DATA now;
    listIsWhole = !GetFileAttributesExW(dataFilePath.c_str(), GetFileExInfoStandard, &now);
    retryLoad = 1;
    reloadBusy = 0;
    SetTimer(WatchTimer, WatchPeriodMs, nullptr);
}

void CMainFrame::StopReload()
{
    if (!reloadThread)
        return;
    g_abortLoad = 1;
    WaitForReload();
    g_abortLoad = 0;
}

void CMainFrame::WaitForReload()
{
    if (!reloadThread)
        return;
    WaitWhilePumping([this] { return WaitForSingleObject(reloadThread, 0) == WAIT_OBJECT_0; });
    CloseHandle(reloadThread);
    reloadThread = nullptr;
}

DWORD CMainFrame::ReloadThread(LPVOID parameter)
{
    auto* frame = static_cast<CMainFrame*>(parameter);
    if (!frame)
        return 0;
    frame->reloadBusy = 1;
    g_contactList.Clear();
    const int opened = g_contactList.Load(frame->dataFilePath);

    // A stopped load holds only part of the file; a file that exists but
    // could not be opened (another program holds it) would be emptied.
    WIN32_FILE_ATTRIBUTE_DATA now;
    const bool unreadable = !opened && GetFileAttributesExW(frame->dataFilePath.c_str(), GetFileExInfoStandard, &now);
    const bool stopped = g_abortLoad.load() != 0;
    frame->listIsWhole = !unreadable && !stopped;
    frame->retryLoad = unreadable;

    // The list view is served by the user-interface thread; the list's lock
    // is not held across this call.
    SendMessageW(frame->frameWindow, WM_LOAD_FINISHED, 0, 0);
    frame->reloadBusy = 0;
    PostMessageW(frame->frameWindow, WM_ARM_WATCH, 0, 0);
    return 0;
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
        SetTimer(WatchTimer, WatchPeriodMs, nullptr);
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
    if (id == WatchTimer)
        CheckDataFile();
    CFrameWnd::OnTimer(id);
}

void CMainFrame::CheckDataFile()
{
    WIN32_FILE_ATTRIBUTE_DATA fresh;
    GetFileAttributesExW(dataFilePath.c_str(), GetFileExInfoStandard, &fresh);
    const bool changed = CompareFileTime(&fresh.ftLastWriteTime, &rememberedAttributes.ftLastWriteTime) != 0 ||
                         fresh.nFileSizeLow != rememberedAttributes.nFileSizeLow;
    if (changed || retryLoad) {
        rememberedAttributes = fresh;
        g_abortLoad = 1;
        KillTimer(WatchTimer);
        WaitForReload();
        g_abortLoad = 0;
        StartReload();
    }
}

void CMainFrame::OnFileSync()
{
    if (syncCommand.Running())
        return;
    // The sync works on the data file: the list goes there first, through its own save.
    if (listIsWhole && !IsLoading()) {
        CreateDirectoryW(ContactStoreFolder, nullptr);
        if (g_contactList.Save(dataFilePath))
            GetFileAttributesExW(dataFilePath.c_str(), GetFileExInfoStandard, &rememberedAttributes);
    }
    syncCommand.Start(m_hWnd, WM_SYNC_FINISHED);
}

LRESULT CMainFrame::OnSyncFinished(WPARAM, LPARAM)
{
    const std::unique_ptr<carddav::SyncOutcome> outcome = syncCommand.TakeOutcome();
    if (!outcome || closing)
        return 0;
    // The list shows what the sync wrote while the box tells the result.
    CheckDataFile();
    WaitForReload();
    MessageBoxW(m_hWnd, CSyncCommand::Message(*outcome).c_str(), title.c_str(),
                MB_OK | (outcome->ok ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    return 0;
}

void CMainFrame::OnDestroy()
{
    CFrameWnd::OnDestroy();
    closing = true;
    // A sync that wrote the data file leaves it newer than the list.
    const std::unique_ptr<carddav::SyncOutcome> synced = syncCommand.Running() ? syncCommand.TakeOutcome() : nullptr;
    StopReload();
    if (synced && synced->summary.bookChanged)
        listIsWhole = 0;
    if (created && listIsWhole && !preview) {
        if (!MakeContactStoreFolder() || !g_contactList.Save(dataFilePath))
            KeepUnsavedList();
    }
    g_contactList.Clear();
}

void CMainFrame::KeepUnsavedList()
{
    KillTimer(WatchTimer);
    const std::string recoveryFile = SaveRecoveryFile(g_contactList, std::time(nullptr));
    std::u16string message = LoadStringW(recoveryFile.empty() ? IDS_NOT_SAVED : IDS_SAVED_TO_RECOVERY);
    if (!recoveryFile.empty())
        message += u"\n" + Utf8ToUtf16(recoveryFile);
    std::fprintf(stderr, "contacts: %s: %s\n", DeviceToHostPath(dataFilePath).c_str(), Utf16ToUtf8(message).c_str());
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
