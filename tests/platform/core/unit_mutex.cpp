#include "platform/core/System.h"
#include "tests/common/Files.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class MutexTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1); }

    TempDir runtime;
};

TEST_F(MutexTest, SecondHandleReportsAlreadyExistsUntilTheFirstIsClosed)
{
    ce::HANDLE first = ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_SUCCESS);

    ce::HANDLE second = ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ce::GetLastError(), 183u); // ERROR_ALREADY_EXISTS

    EXPECT_EQ(ce::CloseHandle(second), ce::TRUE);
    EXPECT_EQ(ce::CloseHandle(first), ce::TRUE);
    EXPECT_EQ(ce::CloseHandle(first), ce::FALSE);
    ce::HANDLE again = ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_SUCCESS);
    ce::CloseHandle(again);
}

TEST_F(MutexTest, AMarkerThatCannotBeMadeNamesItsPathAndReason)
{
    // XDG_RUNTIME_DIR that is no folder is not traded for another folder.
    const std::string file = runtime.Path() + "/file";
    std::ofstream(file) << "x";
    setenv("XDG_RUNTIME_DIR", file.c_str(), 1);
    EXPECT_EQ(ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts"), nullptr);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ACCESS_DENIED);
    EXPECT_EQ(ce::LastNamedMutexFault().path, file + "/ZELKContacts.lock");
    EXPECT_EQ(ce::LastNamedMutexFault().reason, "Not a directory");
    EXPECT_EQ(ce::RuntimeFolder(), "");

    // A lock file that is a link is not followed.
    setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    ASSERT_EQ(::symlink(file.c_str(), (runtime.Path() + "/ZELKContacts.lock").c_str()), 0);
    EXPECT_EQ(ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts"), nullptr);
    EXPECT_EQ(ce::LastNamedMutexFault().path, runtime.Path() + "/ZELKContacts.lock");
    EXPECT_FALSE(ce::LastNamedMutexFault().reason.empty());
}

TEST_F(MutexTest, MarkerVanishesWhenTheHoldingProcessIsKilled)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t pid = fork();
    if (pid == 0) {
        ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
        char c = ce::GetLastError() == ce::ERROR_SUCCESS ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    ce::HANDLE h = ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ALREADY_EXISTS);
    ce::CloseHandle(h);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    h = ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_SUCCESS);
    ce::CloseHandle(h);
    close(ready[0]);
    close(ready[1]);
}

TEST_F(MutexTest, ExactlyOneOfTwentySimultaneousStartsWins)
{
    constexpr int Processes = 20;
    // go: a start byte per child; hold: ends when the parent has counted.
    int go[2], hold[2], results[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(hold), 0);
    ASSERT_EQ(pipe(results), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < Processes; ++i) {
        pid_t pid = fork();
        if (pid == 0) {
            close(go[1]);
            close(hold[1]);
            char c;
            if (read(go[0], &c, 1) != 1)
                _exit(1);
            ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
            c = ce::GetLastError() == ce::ERROR_ALREADY_EXISTS ? 'e' : 'w';
            (void)!write(results[1], &c, 1);
            while (read(hold[0], &c, 1) > 0) {
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    close(go[0]);
    close(hold[0]);
    const std::string start(Processes, 's');
    EXPECT_EQ(write(go[1], start.data(), start.size()), Processes);
    int winners = 0, losers = 0;
    for (int i = 0; i < Processes; ++i) {
        char c = 0;
        if (read(results[0], &c, 1) != 1)
            break;
        (c == 'w' ? winners : losers)++;
    }
    for (int fd : {hold[1], go[1], results[0], results[1]})
        close(fd);
    for (pid_t pid : children)
        waitpid(pid, nullptr, 0);
    EXPECT_EQ(winners, 1);
    EXPECT_EQ(losers, Processes - 1);
}

} // namespace
