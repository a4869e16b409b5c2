// The system calls behind the platform's files and threads, in one object
// (leveldb's Env is the model): the default one makes the real calls; a test
// puts in use one that fails some of them, to see the program survive it.
#pragma once
#include <cstddef>
#include <functional>
#include <sys/types.h>

namespace ce {

class Env {
public:
    virtual ~Env() = default;
    // As read(2), write(2), fsync(2) and rename(2): -1 with errno on failure.
    virtual ssize_t Read(int fd, void* buffer, std::size_t count);
    virtual ssize_t Write(int fd, const void* buffer, std::size_t count);
    virtual int Sync(int fd);
    virtual int Rename(const char* from, const char* to);
    // Runs body on a new, detached thread; false when the system has no
    // thread to give.
    virtual bool StartThread(std::function<void()> body);

    // The real system.
    static Env& Default();
};

// The Env that CFile and CreateThread use from now on, from any thread;
// null puts the default back.
void UseEnv(Env* env);
Env& CurrentEnv();

} // namespace ce
