// "Sincronizar": the CardDAV sync of the data file, run on a thread of its
// own while the window keeps answering. The frame writes its list first;
// the sync then works on the data file as the command line does, and the
// frame's file watch reloads what it wrote.
#pragma once
#include "platform/core/System.h"
#include "platform/ui/WinDef.h"
#include "sync/SyncBook.h"

#include <memory>
#include <string>

class CSyncCommand {
public:
    CSyncCommand() = default;
    ~CSyncCommand() { Wait(); }
    CSyncCommand(const CSyncCommand&) = delete;
    CSyncCommand& operator=(const CSyncCommand&) = delete;

    // Starts the sync; when it ends, `window` is sent message `done` and
    // the outcome is taken with TakeOutcome. False when one runs already or
    // no thread could be started.
    bool Start(ce::HWND window, ce::UINT done);
    bool Running() const { return thread != nullptr; }
    // Waits for a running sync to end (the outcome is kept).
    void Wait();
    std::unique_ptr<carddav::SyncOutcome> TakeOutcome();

    // The message box text of an outcome, in the interface language.
    static std::u16string Message(const carddav::SyncOutcome& outcome);

private:
    static ce::DWORD Run(ce::LPVOID parameter);

    ce::HANDLE thread = nullptr;
    ce::HWND window = nullptr;
    ce::UINT done = 0;
    std::unique_ptr<carddav::SyncOutcome> outcome;
};
