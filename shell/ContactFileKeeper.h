// The data file's life while the program runs: loaded by a thread of its
// own, watched every three seconds and loaded again when another program
// changes it, and written back at the end. The frame owns one keeper, hands
// it the window that shows the list, and reports what the write-back did.
#pragma once
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"
#include "platform/ui/WinUser.h"

#include <atomic>
#include <string>

// What the write-back at the end did with the list.
struct WriteBackResult {
    enum Outcome {
        Written,    // it replaced the data file
        LeftAsItIs, // nothing to write: no change since the last load
        Recovered,  // it went to recoveryFile; the data file is as it was
        Lost,       // neither the data file nor a recovery file could take it
    };
    Outcome outcome = LeftAsItIs;
    std::string recoveryFile;
};

class CContactFileKeeper {
public:
    // Sent by the load thread to the window once the list holds the file.
    static constexpr ce::UINT WM_LOAD_FINISHED = ce::WM_USER + 100;
    // Posted by the load thread: the window calls ArmWatch.
    static constexpr ce::UINT WM_ARM_WATCH = ce::WM_USER + 101;
    static constexpr ce::UINT_PTR WatchTimer = 1;
    static constexpr ce::UINT WatchPeriodMs = 3000;

    explicit CContactFileKeeper(std::u16string path) : dataFilePath(std::move(path)) {}
    CContactFileKeeper(const CContactFileKeeper&) = delete;
    CContactFileKeeper& operator=(const CContactFileKeeper&) = delete;
    // A load still running is stopped.
    ~CContactFileKeeper() { Stop(); }

    // The first load; the window receives the messages above and runs the
    // watch timer WatchTimer.
    void Start(ce::HWND window);
    // The watch timer fired: a file changed since the last load, or one that
    // could not be read, is loaded again.
    void Tick();
    // Runs the watch timer again (on WM_ARM_WATCH).
    void ArmWatch();
    // Stops a running load early and waits for it; the list is not written.
    void Stop();
    // Waits for a running load to end.
    void WaitForLoad() { WaitForReload(); }
    // Before a sync works on the data file: a whole list that no load is
    // filling is written there, and the file is remembered as loaded.
    void SaveBeforeSync();
    // At the end. The user's changes since the last load (see
    // ContactListBase::IsChanged) are never dropped: a running load is
    // finished first and they join it; they replace the data file only when
    // it is still the file that load read, else they go to a recovery file.
    // Without changes the file is left as it is.
    WriteBackResult WriteBack();

    // 1 while a load runs.
    int IsLoading() const { return reloadBusy.load(); }
    const std::u16string& Path() const { return dataFilePath; }

private:
    // What identifies the file's contents as a load saw them.
    struct Stamp {
        bool exists = false;
        ce::WIN32_FILE_ATTRIBUTE_DATA attributes{};
        bool operator==(const Stamp& other) const;
    };
    Stamp StampNow() const;
    static ce::DWORD ReloadThread(ce::LPVOID parameter);
    void StartReload();
    // Waits for the running load to end, serving its calls into the window.
    void WaitForReload();

    const std::u16string dataFilePath;
    ce::HWND window = nullptr;
    ce::HANDLE reloadThread = nullptr;
    std::atomic<int> reloadBusy{0};
    // The file as it was when the last load began.
    Stamp remembered;
    // Whether the list holds the whole file (or there is none): only then
    // may it be written over the file.
    std::atomic<int> listIsWhole{1};
    // The last load could not open a file that exists: look again at the next tick.
    std::atomic<int> retryLoad{0};
};
