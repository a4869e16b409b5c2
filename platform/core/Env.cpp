#include "platform/core/Env.h"

#include <atomic>
#include <cstdio>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace ce {

namespace {

std::atomic<Env*> g_env{nullptr};

} // namespace

ssize_t Env::Read(int fd, void* buffer, std::size_t count) { return ::read(fd, buffer, count); }

ssize_t Env::Write(int fd, const void* buffer, std::size_t count) { return ::write(fd, buffer, count); }

int Env::Sync(int fd) { return ::fsync(fd); }

int Env::Rename(const char* from, const char* to) { return std::rename(from, to); }

bool Env::StartThread(std::function<void()> body)
{
    try {
        std::thread(std::move(body)).detach();
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

Env& Env::Default()
{
    static Env real;
    return real;
}

void UseEnv(Env* env) { g_env = env; }

Env& CurrentEnv()
{
    Env* env = g_env.load();
    return env ? *env : Env::Default();
}

} // namespace ce
