// A system that refuses what a test says: before each file read, write,
// flush and rename and each new thread, `allow` hears the operation's name
// ("read", "write", "flush", "rename", "thread"); false fails it as a full
// disk or a system without threads would. UseFaultyEnv(nullptr) puts the
// real system back.
#pragma once
#include "platform/core/Env.h"

#include <cerrno>
#include <functional>
#include <mutex>

class FaultyEnv : public ce::Env {
public:
    using Allow = std::function<bool(const char* operation)>;
    void Set(Allow rule)
    {
        std::lock_guard lock(mutex);
        allow = std::move(rule);
    }
    ssize_t Read(int fd, void* buffer, std::size_t count) override
    {
        return Allows("read") ? Env::Read(fd, buffer, count) : Refuse();
    }
    ssize_t Write(int fd, const void* buffer, std::size_t count) override
    {
        return Allows("write") ? Env::Write(fd, buffer, count) : Refuse();
    }
    int Sync(int fd) override { return Allows("flush") ? Env::Sync(fd) : int(Refuse()); }
    int Rename(const char* from, const char* to) override
    {
        return Allows("rename") ? Env::Rename(from, to) : int(Refuse());
    }
    bool StartThread(std::function<void()> body) override
    {
        return Allows("thread") && Env::StartThread(std::move(body));
    }

private:
    bool Allows(const char* operation)
    {
        Allow rule;
        {
            std::lock_guard lock(mutex);
            rule = allow;
        }
        return !rule || rule(operation);
    }
    static ssize_t Refuse()
    {
        errno = ENOSPC;
        return -1;
    }
    std::mutex mutex;
    Allow allow;
};

inline void UseFaultyEnv(FaultyEnv::Allow allow)
{
    static FaultyEnv env;
    const bool real = !allow;
    env.Set(std::move(allow));
    ce::UseEnv(real ? nullptr : &env);
}
