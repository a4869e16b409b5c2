#include "platform/core/FileSystem.h"
#include "platform/core/System.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace ce {

namespace {

std::mutex g_rootLock;
std::string g_rootOverride;

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Seconds between 1 January 1601 and 1 January 1970.
constexpr std::uint64_t EpochDifference = 11644473600ull;

FILETIME ToFileTime(const timespec& ts)
{
    std::uint64_t ticks = 0;
    if (ts.tv_sec >= 0)
        ticks = (std::uint64_t(ts.tv_sec) + EpochDifference) * 10000000ull + std::uint64_t(ts.tv_nsec) / 100;
    FILETIME ft;
    ft.dwLowDateTime = DWORD(ticks);
    ft.dwHighDateTime = DWORD(ticks >> 32);
    return ft;
}

} // namespace

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendUtf8(out, text);
    return out;
}

void AppendUtf8(std::string& out, std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        unsigned char b = text[i];
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + std::size_t(k) >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        static constexpr char32_t SmallestEncoded[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (c < SmallestEncoded[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += extra + 1;
    }
    return out;
}

std::string GetDeviceRoot()
{
    {
        std::lock_guard lock(g_rootLock);
        if (!g_rootOverride.empty())
            return g_rootOverride;
    }
    std::string root = Variable("CONTACTS_DEVICE_ROOT");
    if (!root.empty())
        return root;
    // A relative XDG_DATA_HOME is invalid and ignored, as for the recovery
    // folder: it would put the contacts wherever the program was started.
    std::string data = Variable("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/')
        data = Variable("HOME") + "/.local/share";
    return data + "/contacts/device";
}

std::string GetRecoveryFolder()
{
    std::string state = Variable("XDG_STATE_HOME");
    if (state.empty() || state[0] != '/')
        state = Variable("HOME") + "/.local/state";
    return state + "/contacts";
}

void SetDeviceRoot(const std::string& hostPath)
{
    std::lock_guard lock(g_rootLock);
    g_rootOverride = hostPath;
}

std::string DeviceToHostPath(std::u16string_view path)
{
    std::string host = Utf16ToUtf8(path);
    if (path.empty() || path[0] != u'\\')
        return host;
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    std::string root = GetDeviceRoot();
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root + host;
}

BOOL GetFileAttributesExW(const WCHAR* path, GET_FILEEX_INFO_LEVELS level, void* info)
{
    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info);
    if (!data || level != GetFileExInfoStandard) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *data = WIN32_FILE_ATTRIBUTE_DATA{};
    struct stat st{};
    if (!path || ::stat(DeviceToHostPath(path).c_str(), &st) != 0) {
        SetLastError(errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    data->dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!(st.st_mode & S_IWUSR))
        data->dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
    // The host keeps no creation time: the status change time stands in.
    data->ftCreationTime = ToFileTime(st.st_ctim);
    data->ftLastAccessTime = ToFileTime(st.st_atim);
    data->ftLastWriteTime = ToFileTime(st.st_mtim);
    if (!S_ISDIR(st.st_mode)) {
        std::uint64_t size = std::uint64_t(st.st_size);
        data->nFileSizeHigh = DWORD(size >> 32);
        data->nFileSizeLow = DWORD(size);
    }
    return TRUE;
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b)
{
    std::uint64_t x = (std::uint64_t(a->dwHighDateTime) << 32) | a->dwLowDateTime;
    std::uint64_t y = (std::uint64_t(b->dwHighDateTime) << 32) | b->dwLowDateTime;
    return x < y ? -1 : x > y ? 1 : 0;
}

BOOL CreateDirectoryW(const WCHAR* path, void*)
{
    if (!path || ::mkdir(DeviceToHostPath(path).c_str(), 0777) != 0) {
        SetLastError(!path ? ERROR_INVALID_PARAMETER
                     : errno == EEXIST ? ERROR_ALREADY_EXISTS
                     : errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                           : ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}

BOOL CreateDirectoryPathW(const WCHAR* path)
{
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string host = DeviceToHostPath(path);
    for (std::size_t end = host.find('/', 1);; end = host.find('/', end + 1)) {
        const std::string folder = host.substr(0, end);
        struct stat st{};
        if (!folder.empty() && ::mkdir(folder.c_str(), 0777) != 0 &&
            (errno != EEXIST || ::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))) {
            SetLastError(errno == EEXIST || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (end == std::string::npos)
            return TRUE;
    }
}

BOOL DeleteFileW(const WCHAR* path)
{
    if (!path || ::unlink(DeviceToHostPath(path).c_str()) != 0) {
        SetLastError(path && errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}

} // namespace ce
