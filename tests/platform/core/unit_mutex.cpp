#include "platform/core/System.h"
#include "tests/common/Files.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

} // namespace
