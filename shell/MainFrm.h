// The program's only top-level window: command bar, letter bar and contact
// list, and the keeper of the data file. The file is loaded on a background
// thread, watched every three seconds and reloaded when another program
// changes it, and written back when the frame is destroyed. "Sincronizar"
// syncs it with the CardDAV address book in the background.
#pragma once
#include "listwnd/ContactListWnd.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/FrameWnd.h"
#include "shell/LetterBar.h"
#include "shell/SyncCommand.h"

#include <atomic>
#include <string>

class CMainFrame : public ce::CFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
    DECLARE_MESSAGE_MAP()
public:
    static constexpr ce::UINT_PTR WatchTimer = 1;
    static constexpr ce::UINT WatchPeriodMs = 3000;

    CMainFrame();
    ~CMainFrame() override;

    ce::BOOL OnCmdMsg(ce::UINT id, int code, void* extra, ce::AFX_CMDHANDLERINFO* handlerInfo) override;
    ce::BOOL PreCreateWindow(ce::CREATESTRUCT& cs) override;

    // After the first load has been shown, writes a picture of the device
    // screen to this PNG file and closes the frame (for hosts without a display).
    // A preview: the data file is never written.
    void SetScreenshotFile(std::string path)
    {
        screenshotFile = std::move(path);
        preview = true;
    }

    // 1 while a load runs.
    int IsLoading() const { return reloadBusy.load(); }
    ce::HWND GetListView() const;

protected:
    int OnCreate(ce::LPCREATESTRUCT cs);
    void OnSetFocus(ce::CWnd* oldWnd);
    void OnDestroy();
    void OnTimer(ce::UINT_PTR id);
    void OnInitMenuPopup(ce::CMenu* popup, ce::UINT index, ce::BOOL sysMenu);
    ce::LRESULT OnLoadFinished(ce::WPARAM, ce::LPARAM);
    ce::LRESULT OnArmWatch(ce::WPARAM, ce::LPARAM);
    ce::LRESULT OnScreenshot(ce::WPARAM, ce::LPARAM);
    void OnFileSync();
    ce::LRESULT OnSyncFinished(ce::WPARAM, ce::LPARAM);

private:
    static ce::DWORD ReloadThread(ce::LPVOID parameter);
    void StartReload();
    // Reloads the data file when another program (or the sync) changed it.
    void CheckDataFile();
    // Waits for the running load to end, serving its calls into the window
    // meanwhile.
    void WaitForReload();
    // Stops a running load early and waits for it.
    void StopReload();
    int FailCreate();
    // The list could not be written over the data file: it goes to a
    // recovery file, and the user is told where.
    void KeepUnsavedList();

    ce::CCommandBar commandBar;
    CContactListWnd listWindow;
    CLetterBar letterBar;
    CSyncCommand syncCommand;
    std::u16string dataFilePath;
    ce::WIN32_FILE_ATTRIBUTE_DATA rememberedAttributes;
    std::atomic<int> reloadBusy{0};

    std::u16string title;
    ce::HWND frameWindow = nullptr; // for the load thread
    ce::HANDLE reloadThread = nullptr;
    // Whether the list holds the whole file (or there is none): only then
    // may it be written over the file.
    std::atomic<int> listIsWhole{1};
    // The last load could not open a file that exists: look again at the next tick.
    std::atomic<int> retryLoad{0};
    bool created = false;
    bool closing = false;
    bool preview = false;
    std::string screenshotFile;
};
