// Temporary folders, device roots and whole host files, shared by the test
// programs of every folder.
#pragma once
#include "platform/core/FileSystem.h"
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

// A fresh folder "/tmp/contacts-<tag>-XXXXXX" (in /dev/shm when inMemory
// and there is one: for tests that sync thousands of files).
inline std::string MakeTempFolder(const std::string& tag, bool inMemory = false)
{
    const std::filesystem::path parent =
        inMemory && std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string pattern = (parent / ("contacts-" + tag + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

inline void RemoveFolder(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// A temporary folder for one test, removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::string& tag = "test", bool inMemory = false) : path(MakeTempFolder(tag, inMemory)) {}
    ~TempDir() { RemoveFolder(path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

// Makes `root` the device root of this process and of the programs it
// starts, with the instance marker's folder "<root>/run" (owner only).
inline void UseDeviceRoot(const std::string& root)
{
    const std::string runtime = root + "/run";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("CONTACTS_DEVICE_ROOT", root.c_str(), 1);
    ce::SetDeviceRoot(root);
}

inline bool WriteHostFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    out.close();
    return bool(out);
}

inline std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
