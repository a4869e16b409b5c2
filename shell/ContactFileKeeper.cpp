#include "shell/ContactFileKeeper.h"
#include "data/ContactList.h"
#include "data/ContactStore.h"
#include "platform/ui/Host.h"
#include "shell/RecoveryFile.h"

#include <ctime>

using namespace ce;

bool CContactFileKeeper::Stamp::operator==(const Stamp& other) const
{
    const auto& a = attributes;
    const auto& b = other.attributes;
    return exists == other.exists && CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
           CompareFileTime(&a.ftCreationTime, &b.ftCreationTime) == 0 && a.nFileSizeHigh == b.nFileSizeHigh &&
           a.nFileSizeLow == b.nFileSizeLow;
}

CContactFileKeeper::Stamp CContactFileKeeper::StampNow() const
{
    Stamp stamp;
    stamp.exists = GetFileAttributesExW(dataFilePath.c_str(), GetFileExInfoStandard, &stamp.attributes) != 0;
    return stamp;
}

void CContactFileKeeper::Start(HWND notify)
{
    window = notify;
    remembered = StampNow();
    StartReload();
}

void CContactFileKeeper::StartReload()
{
    // Raised before the thread exists, so that no wait can miss the load.
    reloadBusy = 1;
    HANDLE thread = CreateThread(nullptr, 0, &CContactFileKeeper::ReloadThread, this, CREATE_SUSPENDED, nullptr);
    if (thread && ResumeThread(thread) != 0xFFFFFFFFu) {
        reloadThread = thread;
        return;
    }
    if (thread)
        CloseHandle(thread);
    // Nothing loads: a list that does not hold an existing file is never
    // written over it, and the next tick tries again.
    listIsWhole = !remembered.exists;
    retryLoad = 1;
    reloadBusy = 0;
    ArmWatch();
}

DWORD CContactFileKeeper::ReloadThread(LPVOID parameter)
{
    auto* keeper = static_cast<CContactFileKeeper*>(parameter);
    if (!keeper)
        return 0;
    keeper->reloadBusy = 1;
    g_contactList.BeginLoad();
    const int opened = g_contactList.Load(keeper->dataFilePath);

    // A stopped load holds only part of the file; a file that exists but
    // could not be opened (another program holds it) would be emptied.
    WIN32_FILE_ATTRIBUTE_DATA now;
    const bool unreadable = !opened && GetFileAttributesExW(keeper->dataFilePath.c_str(), GetFileExInfoStandard, &now);
    const bool stopped = g_abortLoad.load() != 0;
    keeper->listIsWhole = !unreadable && !stopped;
    keeper->retryLoad = unreadable;
    g_contactList.EndLoad(keeper->listIsWhole);

    // The list view is served by the user-interface thread; the list's lock
    // is not held across this call.
    SendMessageW(keeper->window, WM_LOAD_FINISHED, 0, 0);
    keeper->reloadBusy = 0;
    PostMessageW(keeper->window, WM_ARM_WATCH, 0, 0);
    return 0;
}

void CContactFileKeeper::ArmWatch()
{
    if (window)
        SetTimer(window, WatchTimer, WatchPeriodMs, nullptr);
}

void CContactFileKeeper::Tick()
{
    const Stamp fresh = StampNow();
    if (fresh == remembered && !retryLoad)
        return;
    remembered = fresh;
    KillTimer(window, WatchTimer);
    g_abortLoad = 1;
    WaitForReload();
    g_abortLoad = 0;
    StartReload();
}

void CContactFileKeeper::SaveBeforeSync()
{
    if (listIsWhole && !IsLoading() && MakeContactStoreFolder() && g_contactList.Save(dataFilePath))
        remembered = StampNow();
}

void CContactFileKeeper::Stop()
{
    if (!reloadThread)
        return;
    g_abortLoad = 1;
    WaitForReload();
    g_abortLoad = 0;
}

void CContactFileKeeper::WaitForReload()
{
    if (!reloadThread)
        return;
    WaitServingSentMessages(reloadThread);
    CloseHandle(reloadThread);
    reloadThread = nullptr;
}

WriteBackResult CContactFileKeeper::WriteBack()
{
    if (window)
        KillTimer(window, WatchTimer);
    WriteBackResult result;
    if (!g_contactList.IsChanged()) {
        Stop();
        return result;
    }
    // What the user typed joins the file: the load runs to its end.
    WaitForReload();
    if (listIsWhole && StampNow() == remembered) {
        if (MakeContactStoreFolder() && g_contactList.Save(dataFilePath)) {
            result.outcome = WriteBackResult::Written;
            return result;
        }
    }
    // The file could not be read whole, another program changed it since
    // the last load, or it refuses the list: the list is kept beside it.
    g_contactList.InsertHeldBack();
    result.recoveryFile = SaveRecoveryFile(g_contactList, std::time(nullptr));
    result.outcome = result.recoveryFile.empty() ? WriteBackResult::Lost : WriteBackResult::Recovered;
    return result;
}
