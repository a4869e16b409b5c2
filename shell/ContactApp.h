// The application object: one running copy per device, the resources of
// the user's language, and the main frame.
#pragma once
#include "platform/core/Types.h"
#include "platform/ui/App.h"
#include "shell/CommandLine.h"

class CContactApp : public ce::CWinApp {
public:
    CContactApp();
    ~CContactApp() override;

    ce::BOOL InitInstance() override;
    int ExitInstance() override;
    // Refuses the start while another copy holds the instance marker.
    ce::BOOL InitApplication() override;

    // What the command line asked of the address book's window.
    void SetCommandLine(const CommandLine& line) { commandLine = line; }

    // The list could be written neither to the data file nor to a recovery
    // file: the program ends with exit status 1.
    void NoteListLost() { listLost = true; }

    // Marks the running instance; null when not held.
    ce::HANDLE InstanceMutex = nullptr;
    // The language resource module; null when none was found.
    ce::HMODULE ResourceSatellite = nullptr;

private:
    CommandLine commandLine;
    bool listLost = false;
};
