// A fresh temporary folder for one test, removed with everything in it.
#pragma once
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Writes bytes to a host file; false on failure.
bool WriteHostFile(const std::string& path, const std::string& bytes);
// The whole host file; empty when missing.
std::string ReadHostFile(const std::string& path);
