// The real program as a child process: one running copy per device, and the
// write-back when it is told to end from outside.
#include "support/ShellFixtures.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace shelltest;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ProgramPath()
{
    // The test program lives in <build>/tests/shell, the program in <build>/shell.
    return (fs::read_symlink("/proc/self/exe").parent_path() / "../../shell/contacts").lexically_normal();
}

class Program : public DeviceFixture {
protected:
    void TearDown() override
    {
        for (pid_t pid : started) {
            if (::kill(pid, 0) == 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
        DeviceFixture::TearDown();
    }

    pid_t Start()
    {
        const std::string program = ProgramPath();
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        pid_t pid = 0;
        EXPECT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0) << program;
        started.push_back(pid);
        return pid;
    }

    // The exit status, or -1 when the process still runs after the timeout.
    static int WaitExit(pid_t pid, std::chrono::milliseconds timeout)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            std::this_thread::sleep_for(20ms);
        } while (std::chrono::steady_clock::now() < end);
        return -1;
    }

    // Whether pid holds a lock on the instance marker, seen in /proc/locks
    // without touching the marker.
    bool HoldsInstanceMarker(pid_t pid) const
    {
        std::vector<std::string> inodes;
        for (const auto& entry : fs::recursive_directory_iterator(runtimeDir)) {
            struct stat info {};
            if (::stat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode))
                inodes.push_back(":" + std::to_string(info.st_ino) + " ");
        }
        std::ifstream locks("/proc/locks");
        for (std::string line; std::getline(locks, line);) {
            std::istringstream fields(line);
            std::string number, kind, mode, access, owner;
            fields >> number >> kind >> mode >> access >> owner;
            if (owner != std::to_string(pid))
                continue;
            for (const std::string& inode : inodes) {
                if (line.find(inode) != std::string::npos)
                    return true;
            }
        }
        return false;
    }

    bool WaitRunning(pid_t pid)
    {
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < end) {
            if (HoldsInstanceMarker(pid))
                return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // Ends the program from outside and expects a clean exit.
    void Stop(pid_t pid, int signal = SIGTERM)
    {
        ASSERT_EQ(::kill(pid, signal), 0);
        EXPECT_EQ(WaitExit(pid, 20s), 0);
    }

    std::vector<pid_t> started;
};

TEST_F(Program, ASecondStartEndsAtOnceAndLeavesTheFirstRunning)
{
    MakePimFolder();
    const auto people = People({u"Ana", u"Bob"});
    ASSERT_TRUE(WriteDataFile(dataFile, people));
    const pid_t first = Start();
    ASSERT_TRUE(WaitRunning(first));

    const pid_t second = Start();
    const int status = WaitExit(second, 10s);
    EXPECT_NE(status, -1) << "the second copy kept running";
    EXPECT_NE(status, 0);
    EXPECT_EQ(::kill(first, 0), 0);
    EXPECT_TRUE(HoldsInstanceMarker(first));

    Stop(first);
    EXPECT_EQ(ReadDataFile(dataFile), people);

    // A start after the first one has quit works.
    const pid_t third = Start();
    ASSERT_TRUE(WaitRunning(third));
    Stop(third);
}

TEST_F(Program, TwentySimultaneousStartsLeaveExactlyOneRunning)
{
    std::vector<pid_t> pids;
    for (int i = 0; i < 20; ++i)
        pids.push_back(Start());
    std::this_thread::sleep_for(300ms);

    int exited = 0;
    const auto end = std::chrono::steady_clock::now() + 30s;
    std::vector<pid_t> running = pids;
    while (running.size() > 1 && std::chrono::steady_clock::now() < end) {
        std::erase_if(running, [&](pid_t pid) {
            if (WaitExit(pid, 0ms) == -1)
                return false;
            ++exited;
            return true;
        });
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(running.size(), 1u);
    EXPECT_EQ(exited, 19);
    // The survivor keeps running and holds the marker.
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(WaitExit(running[0], 0ms), -1);
    EXPECT_TRUE(HoldsInstanceMarker(running[0]));
    Stop(running[0]);
}

TEST_F(Program, TerminationAndInterruptWriteTheListBack)
{
    for (int signal : {SIGTERM, SIGINT}) {
        fs::remove_all(pimFolder);
        const pid_t pid = Start();
        ASSERT_TRUE(WaitRunning(pid));
        // Let the (empty) first load end; a stopped load is never written.
        std::this_thread::sleep_for(1500ms);
        Stop(pid, signal);
        EXPECT_TRUE(FileExists(dataFile)) << "signal " << signal;
    }
}

} // namespace
