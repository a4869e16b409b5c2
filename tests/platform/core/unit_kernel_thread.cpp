#include "platform/core/CodePage.h"
#include "platform/core/System.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

TEST(Threads, SuspendedThreadWaitsForResumeAndOutlivesItsHandle)
{
    Work work;
    ce::HANDLE thread = ce::CreateThread(nullptr, 0, WaitForRelease, &work, ce::CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(ce::WaitForSingleObject(thread, 50), ce::WAIT_TIMEOUT);
    EXPECT_EQ(work.ran, 0);

    EXPECT_EQ(ce::ResumeThread(thread), 1u);
    EXPECT_EQ(ce::ResumeThread(thread), 0u);
    EXPECT_EQ(ce::WaitForSingleObject(thread, 20), ce::WAIT_TIMEOUT);
    ce::DWORD code = 0;
    EXPECT_EQ(ce::GetExitCodeThread(thread, &code), ce::TRUE);
    EXPECT_EQ(code, ce::STILL_ACTIVE);
    work.release = true;
    EXPECT_EQ(ce::WaitForSingleObject(thread, ce::INFINITE), ce::WAIT_OBJECT_0);
    EXPECT_EQ(ce::GetExitCodeThread(thread, &code), ce::TRUE);
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(work.ran, 1);
    EXPECT_EQ(ce::CloseHandle(thread), ce::TRUE);
    EXPECT_EQ(ce::ResumeThread(thread), 0xFFFFFFFFu);

    // Closing the handle of a running thread does not stop it. The work is
    // static: nothing tells when the thread has last read it.
    static Work second;
    thread = ce::CreateThread(nullptr, 0, WaitForRelease, &second, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(ce::CloseHandle(thread), ce::TRUE);
    while (second.ran == 0)
        ce::Sleep(1);
    second.release = true;
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

TEST(Threads, ConversionsRunConcurrently)
{
    ce::SetACP(936);
    struct Shared {
        std::atomic<int> failures{0};
    } shared;
    std::vector<ce::HANDLE> threads;
    for (int i = 0; i < 4; ++i) {
        threads.push_back(ce::CreateThread(
            nullptr, 0,
            [](ce::LPVOID p) -> ce::DWORD {
                auto* s = static_cast<Shared*>(p);
                const std::u16string text = u"Li \u674e\u5c0f\u9f99 Mar\u00eda \u0e01";
                const std::u16string back = u"Li \u674e\u5c0f\u9f99 Mar\u00eda ?";
                for (int k = 0; k < 2000; ++k) {
                    if (ce::AnsiToWide(ce::WideToAnsi(text)) != back || ce::MultiByteToWide(950, "\xA4\xA4") != u"\u4e2d")
                        s->failures++;
                }
                return 0;
            },
            &shared, 0, nullptr));
    }
    for (ce::HANDLE t : threads) {
        EXPECT_EQ(ce::WaitForSingleObject(t, ce::INFINITE), ce::WAIT_OBJECT_0);
        ce::CloseHandle(t);
    }
    EXPECT_EQ(shared.failures, 0);
    ce::SetACP(0);
}

} // namespace
