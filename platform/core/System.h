// Threads, the named mutex, the last-error code, the user's interface
// language and COM start-up.
#pragma once
#include "platform/core/Types.h"
#include <string>

#include <functional>

namespace ce {

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;

// Per thread, like the device's.
DWORD GetLastError();
void SetLastError(DWORD error);

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);
constexpr DWORD CREATE_SUSPENDED = 0x00000004;

// Starts proc(parameter) on a new thread, held back until ResumeThread when
// flags has CREATE_SUSPENDED. Security and stack size are ignored.
HANDLE CreateThread(void* security, DWORD stackSize, LPTHREAD_START_ROUTINE proc, LPVOID parameter,
                    DWORD flags, DWORD* threadId);
// The previous suspend count (1 for a suspended thread, 0 for a running
// one), or 0xFFFFFFFF for a handle that is not a thread or a thread the
// system could not start.
DWORD ResumeThread(HANDLE thread);
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
// Waits for a thread to end (a mutex handle is always signalled).
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// The thread's return value once it ended; STILL_ACTIVE before.
constexpr DWORD STILL_ACTIVE = 259;
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
DWORD GetCurrentThreadId();
// Releases the handle; a thread keeps running to its end.
BOOL CloseHandle(HANDLE handle);
void Sleep(DWORD milliseconds);

// The named mutex marks a running instance across processes: a lock file
// under $XDG_RUNTIME_DIR (else a per-user folder in /tmp) held with flock.
// The handle is returned even when another holder exists; GetLastError()
// then reports ERROR_ALREADY_EXISTS. The lock goes with the handle or the
// process, also after a crash.
HANDLE CreateMutexW(void* security, BOOL initialOwner, const WCHAR* name);
BOOL ReleaseMutex(HANDLE mutex);
// Why the last CreateMutexW of this thread that returned no handle failed:
// the lock file it could not make or lock, and the reason.
struct NamedMutexFault {
    std::string path;
    std::string reason;
};
NamedMutexFault LastNamedMutexFault();
// The folder of the user's runtime files: $XDG_RUNTIME_DIR when it is set
// (empty when that is no folder), else /tmp/contacts-<uid>, made when
// missing and used only when it is this user's and nobody else's.
std::string RuntimeFolder();

// Descriptors 0 to 2 that the process was started without are opened on
// /dev/null for reading, so that no file the process opens takes their
// place, and writing to a closed standard output fails as it should.
void OpenStandardStreams();

// Language ids: primary language | (sublanguage << 10).
constexpr LANGID MAKELANGID(WORD primary, WORD sub) { return LANGID((sub << 10) | primary); }
constexpr WORD PRIMARYLANGID(LANGID id) { return WORD(id & 0x3FF); }
constexpr WORD SUBLANGID(LANGID id) { return WORD(id >> 10); }
// $CONTACTS_UI_LANGUAGE (hexadecimal) overrides; else the locale of the
// first set of LC_ALL, LC_MESSAGES and LANG (es_ES 0x0c0a, en_US 0x0409,
// zh_CN 0x0804 ...). A locale without a language (C, POSIX) or one not in the
// table gives 0x0c0a, Spanish: the program's own resources, no satellite.
LANGID GetUserDefaultUILanguage();
// The language id of a locale name such as "de_AT.UTF-8"; a known language
// with an unlisted territory gives the language's main id (es_XX 0x0c0a);
// 0 when the language is unknown (C, POSIX).
LANGID LanguageIdFromLocale(const char* locale);

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();

} // namespace ce
