// File attributes, directories and the device path mapping.
//
// The device's "\" lies on the host at the device root: $CONTACTS_DEVICE_ROOT,
// else $XDG_DATA_HOME/contacts/device (an absolute one), else
// ~/.local/share/contacts/device.
// A path beginning with '\' is a device path; any other is a host path.
#pragma once
#include "platform/core/Types.h"
#include <string>
#include <string_view>

namespace ce {

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard = 0 };

// TRUE with attributes, times (100 ns units since 1601, nanosecond source)
// and size; FALSE with all fields zero when the file is missing.
BOOL GetFileAttributesExW(const WCHAR* path, GET_FILEEX_INFO_LEVELS level, void* info);
// -1, 0 or 1.
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);
// Creates one directory; FALSE (ERROR_ALREADY_EXISTS) when it exists, FALSE
// (ERROR_PATH_NOT_FOUND) when its parent is missing.
BOOL CreateDirectoryW(const WCHAR* path, void* security);
// Creates every missing folder of path, parents first (mode 0777 before the
// umask). TRUE when path is a folder afterwards, also when it already was.
BOOL CreateDirectoryPathW(const WCHAR* path);
BOOL DeleteFileW(const WCHAR* path);

// The host folder that stands for the device's "\".
std::string GetDeviceRoot();
// Replaces the device root for the rest of the process; empty restores the
// rule above (tests).
void SetDeviceRoot(const std::string& hostPath);
// "\My Flash Disk\x" -> "<root>/My Flash Disk/x"; a host path is returned as
// is, in UTF-8.
std::string DeviceToHostPath(std::u16string_view path);

// Where a list that could not be written back is kept instead, a folder of
// the user's own: $XDG_STATE_HOME/contacts, else ~/.local/state/contacts.
std::string GetRecoveryFolder();

// UTF-16 <-> UTF-8 (unpaired surrogates become U+FFFD).
std::string Utf16ToUtf8(std::u16string_view text);
// Utf16ToUtf8 appended to `out`.
void AppendUtf8(std::string& out, std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

} // namespace ce
