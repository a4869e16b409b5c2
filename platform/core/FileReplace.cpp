// Replacing a file safely: temporary file, flush, rename, folder sync.
#include "platform/core/File.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ce {

namespace {

// The file a path names once its symbolic links are followed; a dangling
// link gives the path it points to, where the file is then made.
std::string FollowLinks(std::string path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st{};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        std::string target(std::size_t(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || std::size_t(n) >= target.size())
            break;
        target.resize(std::size_t(n));
        const std::string::size_type slash = path.rfind('/');
        path = target[0] == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
    }
    return path;
}

mode_t CreationMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

int CFile::Replace(const std::u16string& path, const std::function<bool(CFile&)>& write)
{
    const std::string target = FollowLinks(DeviceToHostPath(path));
    CFile held;
    if (!held.Open(Utf8ToUtf16(target), modeWrite | shareExclusive) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return 0;
    struct stat old{};
    const bool replacing = held.IsOpen() && ::fstat(held.descriptor, &old) == 0;

    const std::string::size_type slash = target.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + "." +
                       target.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    CFile file;
    file.descriptor = fd;
    file.hostPath = temp;
    bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (ok && replacing) {
        // A file that would change hands (another user's, where the system
        // does not let the owner be kept) is refused.
        struct stat made{};
        [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
        ok = ::fstat(fd, &made) == 0 && made.st_uid == old.st_uid && made.st_gid == old.st_gid &&
             ::fchmod(fd, old.st_mode & 07777) == 0;
        if (!ok)
            errno = EPERM;
    } else if (ok) {
        ok = ::fchmod(fd, CreationMode()) == 0;
    }
    ok = ok && write(file) && file.Flush();
    file.Close();
    ok = ok && Rename(Utf8ToUtf16(temp), Utf8ToUtf16(target));
    if (!ok) {
        const int error = errno;
        ::unlink(temp.c_str());
        errno = error;
        return 0;
    }
    return 1;
}

bool CFile::SameFile(const std::u16string& a, const std::u16string& b)
{
    struct stat x{}, y{};
    return ::stat(DeviceToHostPath(a).c_str(), &x) == 0 && ::stat(DeviceToHostPath(b).c_str(), &y) == 0 &&
           x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

} // namespace ce
