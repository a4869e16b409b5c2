// The program's only top-level window: command bar, letter bar and contact
// list. The data file's life (load, watch, write-back) is its keeper's; the
// frame shows each load and tells the user what the write-back did.
// "Sincronizar" syncs the file with the CardDAV address book in the background.
#pragma once
#include "listwnd/ContactListWnd.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/FrameWnd.h"
#include "data/ContactStore.h"
#include "shell/ContactFileKeeper.h"
#include "shell/LetterBar.h"
#include "shell/SyncCommand.h"

#include <string>

class CMainFrame : public ce::CFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
    DECLARE_MESSAGE_MAP()
public:
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
    int IsLoading() const { return keeper.IsLoading(); }
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
    int FailCreate();
    // Tells the user (and standard error) where a list went that could not
    // be written over the data file, or that it could be kept nowhere.
    void ReportWriteBack(const WriteBackResult& result);

    ce::CCommandBar commandBar;
    CContactListWnd listWindow;
    CLetterBar letterBar;
    CSyncCommand syncCommand;
    CContactFileKeeper keeper{ContactStoreFile};

    std::u16string title;
    bool created = false;
    bool closing = false;
    bool preview = false;
    std::string screenshotFile;
};
