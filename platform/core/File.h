// The file class: exclusive sharing against every other opener, in this
// process and in others (flock). Reads, writes, flushes and renames go
// through the Env in use (Env.h), so that tests can make them fail.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace ce {

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000, // create, or truncate an existing file
        shareExclusive = 0x0010, // the default: every open is exclusive
        shareDenyNone = 0x0040,  // no lock at all
    };

    CFile() = default;
    ~CFile(); // closes
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // path: a device path ("\My Flash Disk\...") or a host path. Returns 1 or 0.
    int Open(const std::u16string& path, unsigned flags);
    // Up to count bytes; 0 at the end of the file or on an error.
    std::size_t Read(void* buffer, std::size_t count);
    // Whether a read failed, as opposed to reaching the end of the file.
    bool ReadFailed() const { return readFailed; }
    // 1 when all count bytes were written, else 0.
    int Write(const void* buffer, std::size_t count);
    // Flushes the written bytes to the disk (fsync). 1 or 0; never retried.
    int Flush();
    std::uint64_t GetPosition() const;
    std::uint64_t GetLength() const;
    void Close();
    bool IsOpen() const { return descriptor >= 0; }

    // Host path of the open file.
    const std::string& HostPath() const { return hostPath; }

    // Replaces `to` by `from` (rename), then syncs the folder. 1 or 0.
    static int Rename(const std::u16string& from, const std::u16string& to);
    // Writes the file at path anew, whole or not at all: `write` fills a
    // new temporary file with a unique name, opened exclusively, in the
    // folder of the file that path names through its symbolic links; once
    // written and flushed it gets the replaced file's mode and owner and is
    // renamed over it, and the folder is synced. The replaced file is held
    // exclusively meanwhile: one that is read-only or held by another opener
    // is refused. 1, or 0 with the old file as it was and no temporary left.
    static int Replace(const std::u16string& path, const std::function<bool(CFile&)>& write);
    // Whether both paths name one existing file (links followed).
    static bool SameFile(const std::u16string& a, const std::u16string& b);
    // Removes a file; 1 or 0.
    static int Remove(const std::u16string& path);

private:
    int descriptor = -1;
    bool readFailed = false;
    std::string hostPath;
};

} // namespace ce
