// Replaces the program's operator new and delete with ones that count, while
// `counting` is on, how many blocks are taken and given back and how many
// bytes are live. Include it in one source file of a test program only: the
// replacements hold for every test of that program, so every form of new
// that a sanitizer would otherwise serve comes from malloc, as the deletes
// below expect.
#pragma once

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace testalloc {

inline std::atomic<bool> counting{false};
inline std::atomic<long> allocations{0};
inline std::atomic<long> releases{0};
inline std::atomic<long long> liveBytes{0};
inline std::atomic<long long> peakBytes{0};

inline void Count(void* p, int sign)
{
    if (!counting || !p)
        return;
    ++(sign > 0 ? allocations : releases);
    const long long now = liveBytes += sign * static_cast<long long>(malloc_usable_size(p));
    long long peak = peakBytes;
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
}

} // namespace testalloc

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    void* p = std::malloc(size ? size : 1);
    testalloc::Count(p, +1);
    return p;
}

void* operator new(std::size_t size)
{
    void* p = operator new(size, std::nothrow);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept
{
    testalloc::Count(p, -1);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
