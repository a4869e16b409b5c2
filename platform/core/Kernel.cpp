// Kernel objects behind HANDLE: threads and named mutexes.
#include "platform/core/Env.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <unordered_set>

namespace ce {

namespace {

struct KernelObject {
    virtual ~KernelObject() = default;
};

struct ThreadState {
    std::mutex lock;
    std::condition_variable ended;
    bool started = false;
    bool done = false;
    DWORD exitCode = STILL_ACTIVE;
    LPTHREAD_START_ROUTINE proc = nullptr;
    LPVOID parameter = nullptr;
};

struct ThreadObject : KernelObject {
    std::shared_ptr<ThreadState> state;
};

struct MutexObject : KernelObject {
    int fd = -1; // holds the lock; -1 when another holder had it
    ~MutexObject() override
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Every live handle, so that a stale or foreign one is refused instead of
// being dereferenced.
std::mutex g_handlesLock;
std::unordered_set<KernelObject*> g_handles;

HANDLE Register(KernelObject* object)
{
    std::lock_guard lock(g_handlesLock);
    g_handles.insert(object);
    return object;
}

std::shared_ptr<ThreadState> ThreadOf(HANDLE handle)
{
    std::lock_guard lock(g_handlesLock);
    auto it = g_handles.find(static_cast<KernelObject*>(handle));
    if (it == g_handles.end())
        return nullptr;
    auto* thread = dynamic_cast<ThreadObject*>(*it);
    return thread ? thread->state : nullptr;
}

bool IsHandle(HANDLE handle)
{
    std::lock_guard lock(g_handlesLock);
    return g_handles.count(static_cast<KernelObject*>(handle)) != 0;
}

// False when the system has no thread to give.
bool Start(const std::shared_ptr<ThreadState>& state)
{
    const bool started = CurrentEnv().StartThread([state] {
        DWORD code = state->proc(state->parameter);
        std::lock_guard lock(state->lock);
        state->done = true;
        state->exitCode = code;
        state->ended.notify_all();
    });
    if (!started) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    state->started = true;
    return true;
}

thread_local NamedMutexFault t_mutexFault;

// The runtime folder, or empty with `folder` the one that will not do and
// `reason` why.
std::string UsableRuntimeFolder(std::string& folder, std::string& reason)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st{};
    if (runtime && *runtime) {
        // Another folder in its place would keep this process apart from
        // nobody: the copies that see the variable use this one.
        folder = runtime;
        if (::stat(runtime, &st) != 0)
            reason = std::strerror(errno);
        else if (!S_ISDIR(st.st_mode))
            reason = std::strerror(ENOTDIR);
        return reason.empty() ? folder : "";
    }
    folder = "/tmp/contacts-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    if (::lstat(folder.c_str(), &st) != 0)
        reason = std::strerror(errno);
    else if (!S_ISDIR(st.st_mode))
        reason = std::strerror(ENOTDIR);
    else if (st.st_uid != ::getuid())
        reason = "the folder belongs to another user";
    else if ((st.st_mode & 0077) != 0)
        reason = "the folder is open to other users";
    return reason.empty() ? folder : "";
}

// CreateMutexW's failure, for LastNamedMutexFault.
HANDLE MutexFailed(std::string path, std::string reason)
{
    t_mutexFault = {std::move(path), std::move(reason)};
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

} // namespace

HANDLE CreateThread(void*, DWORD, LPTHREAD_START_ROUTINE proc, LPVOID parameter, DWORD flags, DWORD* threadId)
{
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto state = std::make_shared<ThreadState>();
    state->proc = proc;
    state->parameter = parameter;
    if (threadId)
        *threadId = 0;
    if (!(flags & CREATE_SUSPENDED)) {
        std::lock_guard lock(state->lock);
        if (!Start(state))
            return nullptr;
    }
    auto* object = new ThreadObject;
    object->state = std::move(state);
    return Register(object);
}

DWORD ResumeThread(HANDLE thread)
{
    std::shared_ptr<ThreadState> state = ThreadOf(thread);
    if (!state) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0xFFFFFFFFu;
    }
    std::lock_guard lock(state->lock);
    if (state->started)
        return 0;
    return Start(state) ? 1 : 0xFFFFFFFFu;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    std::shared_ptr<ThreadState> state = ThreadOf(handle);
    if (!state) {
        if (IsHandle(handle))
            return WAIT_OBJECT_0;
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    std::unique_lock lock(state->lock);
    auto done = [&] { return state->done; };
    if (milliseconds == INFINITE) {
        state->ended.wait(lock, done);
        return WAIT_OBJECT_0;
    }
    return state->ended.wait_for(lock, std::chrono::milliseconds(milliseconds), done) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode)
{
    std::shared_ptr<ThreadState> state = ThreadOf(thread);
    if (!state || !exitCode) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard lock(state->lock);
    *exitCode = state->exitCode;
    return TRUE;
}

DWORD GetCurrentThreadId() { return DWORD(::syscall(SYS_gettid)); }

BOOL CloseHandle(HANDLE handle)
{
    KernelObject* object = static_cast<KernelObject*>(handle);
    {
        std::lock_guard lock(g_handlesLock);
        if (!g_handles.erase(object)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
    }
    delete object;
    return TRUE;
}

HANDLE CreateMutexW(void*, BOOL, const WCHAR* name)
{
    auto object = std::make_unique<MutexObject>();
    SetLastError(ERROR_SUCCESS);
    if (!name || !*name)
        return Register(object.release());
    std::string file = Utf16ToUtf8(name);
    for (char& c : file) {
        if (c == '/' || c == '\\')
            c = '_';
    }
    file += ".lock";
    std::string folder, reason;
    if (UsableRuntimeFolder(folder, reason).empty())
        return MutexFailed(folder + "/" + file, reason);
    const std::string path = folder + "/" + file;
    // The file stays after the last holder: only the flock, which the kernel
    // drops with the process, marks a running instance, and removing the file
    // would let two starters lock two different files.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return MutexFailed(path, std::strerror(errno));
    int r;
    do
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r != 0) {
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK)
            return MutexFailed(path, std::strerror(error));
        HANDLE handle = Register(object.release());
        SetLastError(ERROR_ALREADY_EXISTS);
        return handle;
    }
    object->fd = fd;
    return Register(object.release());
}

BOOL ReleaseMutex(HANDLE mutex) { return IsHandle(mutex) ? TRUE : FALSE; }

NamedMutexFault LastNamedMutexFault() { return t_mutexFault; }

std::string RuntimeFolder()
{
    std::string folder, reason;
    return UsableRuntimeFolder(folder, reason);
}

void OpenStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free descriptor, which is this one.
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd)
            ::close(opened);
    }
}

} // namespace ce
