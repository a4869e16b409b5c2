// The application object and the program's start: the platform's main()
// starts the window system and drives the one static CWinApp through
// InitApplication, InitInstance, the message loop and ExitInstance.
#pragma once
#include "platform/ui/Host.h"
#include "platform/ui/Wnd.h"

namespace ce {

class CWinApp {
public:
    // The one application object of the process registers itself here.
    explicit CWinApp(LPCWSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE refuses the start: the process ends at once, without
    // InitInstance and without ExitInstance.
    virtual BOOL InitApplication();
    // FALSE ends the program: the main window, if any, is destroyed and
    // ExitInstance runs.
    virtual BOOL InitInstance();
    // The message loop until the main window is gone, then ExitInstance.
    virtual int Run();
    // The process's exit code.
    virtual int ExitInstance();

    // Its destruction ends the message loop.
    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
};

// Whether SIGTERM or SIGINT asked the program to end: nobody is there to
// answer a question.
bool QuitRequestedBySignal();

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's start, called by main(): the window system shown as `host`
// asks, the application object's hooks, and the quit requests from outside
// (SIGTERM, SIGINT and closing the host window), which close the main window
// as "Salir" does so that it can write back what it holds. Returns the exit code.
int AfxWinMain(const HostOptions& host);

} // namespace ce
