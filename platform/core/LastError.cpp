#include "platform/core/System.h"

#include <chrono>
#include <thread>

namespace ce {

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD error) { t_lastError = error; }

void Sleep(DWORD milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// The program uses no COM object; initialisation only has to succeed.
HRESULT CoInitializeEx(void*, DWORD) { return S_OK; }
void CoUninitialize() {}

} // namespace ce
