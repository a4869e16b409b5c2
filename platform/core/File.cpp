#include "platform/core/File.h"
#include "platform/core/Env.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ce {

namespace {

DWORD ErrorFromErrno(int error)
{
    switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EWOULDBLOCK: return ERROR_SHARING_VIOLATION;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_ACCESS_DENIED;
    }
}

int Fail(int fd)
{
    SetLastError(ErrorFromErrno(errno));
    if (fd >= 0)
        ::close(fd);
    return 0;
}

} // namespace

CFile::~CFile() { Close(); }

int CFile::Open(const std::u16string& path, unsigned flags)
{
    Close();
    readFailed = false;
    std::string host = DeviceToHostPath(path);
    bool write = (flags & (modeWrite | modeCreate)) != 0;
    int oflags = O_CLOEXEC | (write ? O_WRONLY : O_RDONLY) | ((flags & modeCreate) ? O_CREAT : 0);
    int fd = ::open(host.c_str(), oflags, 0666);
    if (fd < 0)
        return Fail(-1);
    struct stat st{};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return Fail(fd);
    }
    // The read-only attribute refuses every writer, as on the device, also
    // one whose rights would let it write.
    if (write && !(st.st_mode & S_IWUSR)) {
        errno = EACCES;
        return Fail(fd);
    }
    // The lock comes before the truncation, so an opener that loses the
    // race never destroys the holder's file.
    if (!(flags & shareDenyNone) && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return Fail(fd);
    if ((flags & modeCreate) && ::ftruncate(fd, 0) != 0)
        return Fail(fd);
    descriptor = fd;
    hostPath = std::move(host);
    return 1;
}

std::size_t CFile::Read(void* buffer, std::size_t count)
{
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (descriptor >= 0 && done < count) {
        ssize_t n = CurrentEnv().Read(descriptor, out + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n < 0) {
                readFailed = true;
                SetLastError(ErrorFromErrno(errno));
            }
            break;
        }
        done += std::size_t(n);
    }
    return done;
}

int CFile::Write(const void* buffer, std::size_t count)
{
    if (descriptor < 0)
        return 0;
    const auto* in = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = CurrentEnv().Write(descriptor, in + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            SetLastError(n < 0 ? ErrorFromErrno(errno) : ERROR_ACCESS_DENIED);
            return 0;
        }
        done += std::size_t(n);
    }
    return 1;
}

int CFile::Flush()
{
    // A failed fsync may already have dropped the dirty pages: retrying could
    // report success for data that never reached the disk.
    if (descriptor < 0 || CurrentEnv().Sync(descriptor) != 0)
        return 0;
    return 1;
}

std::uint64_t CFile::GetPosition() const
{
    off_t pos = descriptor >= 0 ? ::lseek(descriptor, 0, SEEK_CUR) : -1;
    return pos < 0 ? 0 : std::uint64_t(pos);
}

std::uint64_t CFile::GetLength() const
{
    struct stat st{};
    if (descriptor < 0 || ::fstat(descriptor, &st) != 0)
        return 0;
    return std::uint64_t(st.st_size);
}

void CFile::Close()
{
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
    hostPath.clear();
}

int CFile::Rename(const std::u16string& from, const std::u16string& to)
{
    std::string target = DeviceToHostPath(to);
    if (CurrentEnv().Rename(DeviceToHostPath(from).c_str(), target.c_str()) != 0)
        return Fail(-1);
    // Makes the new directory entry durable. The rename has happened either
    // way, so a folder that cannot be synced (some file systems refuse) does
    // not turn it into a failure.
    std::string::size_type slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 1;
}

int CFile::Remove(const std::u16string& path)
{
    if (::unlink(DeviceToHostPath(path).c_str()) != 0)
        return Fail(-1);
    return 1;
}


} // namespace ce
