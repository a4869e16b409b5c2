#include "platform/core/System.h"

#include <atomic>
#include <gtest/gtest.h>

namespace {

struct Work {
    std::atomic<int> ran{0};
    std::atomic<bool> release{false};
};

ce::DWORD WaitForRelease(ce::LPVOID p)
{
    auto* work = static_cast<Work*>(p);
    work->ran++;
    while (!work->release)
        ce::Sleep(1);
    return 42;
}

TEST(Threads, SuspendedThreadWaitsForResume)
{
    Work work;
    ce::HANDLE thread = ce::CreateThread(nullptr, 0, WaitForRelease, &work, ce::CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(ce::WaitForSingleObject(thread, 50), ce::WAIT_TIMEOUT);
    EXPECT_EQ(work.ran, 0);
    EXPECT_EQ(ce::ResumeThread(thread), 1u);
    work.release = true;
    EXPECT_EQ(ce::WaitForSingleObject(thread, ce::INFINITE), ce::WAIT_OBJECT_0);
    EXPECT_EQ(work.ran, 1);
    EXPECT_EQ(ce::CloseHandle(thread), ce::TRUE);
}

TEST(Threads, LastErrorBelongsToEachThread)
{
    ce::SetLastError(ce::ERROR_ALREADY_EXISTS);
    ce::HANDLE thread = ce::CreateThread(
        nullptr, 0,
        [](ce::LPVOID) -> ce::DWORD {
            ce::DWORD seen = ce::GetLastError();
            ce::SetLastError(ce::ERROR_ACCESS_DENIED);
            return seen;
        },
        nullptr, 0, nullptr);
    ASSERT_EQ(ce::WaitForSingleObject(thread, ce::INFINITE), ce::WAIT_OBJECT_0);
    ce::DWORD code = 1;
    ce::GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, ce::ERROR_SUCCESS);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ALREADY_EXISTS);
    ce::CloseHandle(thread);
}

} // namespace
