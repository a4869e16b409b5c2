#include "shell/ContactApp.h"
#include "data/ContactStore.h"
#include "data/PinyinCandidates.h"
#include "platform/core/Resources.h"
#include "platform/core/System.h"
#include "platform/ui/Sip.h"
#include "res/resource.h"
#include "shell/MainFrm.h"

#include <cstdio>

using namespace ce;

namespace {

// "Contacts.exe.0409.mui" for English (United States).
std::u16string SatelliteName(LANGID language)
{
    char name[32];
    std::snprintf(name, sizeof name, "Contacts.exe.%04x.mui", unsigned(language));
    return std::u16string(name, name + std::char_traits<char>::length(name));
}

} // namespace

CContactApp::CContactApp() : CWinApp(nullptr) {}

CContactApp::~CContactApp() = default;

BOOL CContactApp::InitApplication()
{
    InstanceMutex = nullptr;
    InstanceMutex = CreateMutexW(nullptr, FALSE, InstanceMarkerName);
    if (!InstanceMutex) {
        // Without the marker nothing would keep a second copy or an import
        // from changing the data file under this one.
        const NamedMutexFault fault = LastNamedMutexFault();
        std::fprintf(stderr, "contacts: cannot make the instance marker %s: %s; the address book does not start\n",
                     fault.path.c_str(), fault.reason.c_str());
        return FALSE;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(InstanceMutex);
        InstanceMutex = nullptr;
        return FALSE;
    }
    return CWinApp::InitApplication();
}

BOOL CContactApp::InitInstance()
{
    const std::u16string satellite = SatelliteName(GetUserDefaultUILanguage());
    ResourceSatellite = LoadLibraryW(satellite.c_str());
    if (ResourceSatellite)
        AfxSetResourceHandle(ResourceSatellite);

    if (CoInitializeEx(nullptr, COINIT_MULTITHREADED) < 0)
        return FALSE;
    // The input panel's pinyin mode offers the ideographs of the names' own
    // collation tables.
    SipSetCandidateSource(&PinyinCandidates);

    auto* frame = new CMainFrame;
    if (!commandLine.screenshotFile.empty())
        frame->SetScreenshotFile(commandLine.screenshotFile);
    // A frame that cannot be created is no main window: the start ends.
    if (!frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE, nullptr, nullptr)) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();
    return TRUE;
}

int CContactApp::ExitInstance()
{
    if (ResourceSatellite) {
        FreeLibrary(ResourceSatellite);
        ResourceSatellite = nullptr;
    }
    CloseHandle(InstanceMutex);
    InstanceMutex = nullptr;
    const int status = CWinApp::ExitInstance();
    return listLost ? 1 : status;
}
