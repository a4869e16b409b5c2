#include "platform/ui/App.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Host.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ce {

namespace {

CWinApp* theApp = nullptr;

// Signals reach the user-interface thread through a pipe that the event
// loop watches; the handler itself only writes one byte.
int quitPipe[2] = {-1, -1};
volatile std::sig_atomic_t quitSignals = 0;

void OnQuitSignal(int signal)
{
    // A second request while the first is still being served is obeyed at once.
    if (quitSignals) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    quitSignals = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(quitPipe[1], &byte, 1);
}

// Asks the main window to close the way the menu's quit command does (a
// dialog or message box over it ends first).
void RequestQuit()
{
    CWinApp* app = AfxGetApp();
    const HWND main = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    if (!main || !IsWindow(main)) {
        PostQuitMessage(0);
        return;
    }
    PostMessageW(main, WM_COMMAND, ID_APP_EXIT, 0);
}

// Early, so that a request that comes during start-up is not lost: it
// waits in the pipe until the message loop runs.
void InstallQuitSignals()
{
    if (::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = &OnQuitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void WatchQuitRequests()
{
    SetHostCloseHandler([] { RequestQuit(); });
    if (quitPipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(quitPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char buffer[16];
        while (::read(quitPipe[0], buffer, sizeof buffer) > 0) {
        }
        RequestQuit();
    });
}

} // namespace

CWinApp::CWinApp(LPCWSTR)
{
    theApp = this;
}

CWinApp::~CWinApp()
{
    if (theApp == this)
        theApp = nullptr;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    if (m_pMainWnd && IsWindow(m_pMainWnd->m_hWnd))
        RunMessageLoop();
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return 0;
}

bool QuitRequestedBySignal()
{
    return quitSignals != 0;
}

CWinApp* AfxGetApp()
{
    return theApp;
}

CWnd* AfxGetMainWnd()
{
    return theApp ? theApp->m_pMainWnd : nullptr;
}

int AfxWinMain(const HostOptions& host)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    InstallQuitSignals();
    // A refused start touches no window at all, and fails.
    if (!app->InitApplication())
        return 1;
    InitPlatform(host);
    WatchQuitRequests();
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && IsWindow(app->m_pMainWnd->m_hWnd))
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

} // namespace ce
