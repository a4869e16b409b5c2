// The real program as a child process: one running copy per device, and the
// write-back when it is told to end from outside.
#include "support/ChildProcesses.h"
#include "support/ShellFixtures.h"

#include <chrono>
#include <csignal>
#include <thread>

using namespace shelltest;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

class Program : public DeviceFixture {
protected:
    // The program with these arguments; its standard error goes to
    // errorFile when one is named.
    pid_t Start(std::vector<std::string> arguments = {}, const std::string& errorFile = {})
    {
        return children.Start(ChildProcesses::Program(2), std::move(arguments), nullptr, errorFile);
    }
    int WaitExit(pid_t pid, std::chrono::milliseconds timeout) { return children.WaitExit(pid, timeout); }

    // Whether pid locks a file of the marker folder, seen in /proc/locks.
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
            std::string number, kind, mode, access, owner;
            std::istringstream(line) >> number >> kind >> mode >> access >> owner;
            for (const std::string& inode : inodes)
                if (owner == std::to_string(pid) && line.find(inode) != std::string::npos)
                    return true;
        }
        return false;
    }

    bool WaitRunning(pid_t pid)
    {
        for (int i = 0; i < 400 && !HoldsInstanceMarker(pid); ++i)
            std::this_thread::sleep_for(50ms);
        return HoldsInstanceMarker(pid);
    }

    void Stop(pid_t pid)
    {
        ASSERT_EQ(::kill(pid, SIGTERM), 0);
        EXPECT_EQ(WaitExit(pid, 20s), 0);
    }

    ChildProcesses children;
};

TEST_F(Program, ASecondStartEndsAtOnceAndTerminationLeavesAnUnchangedFile)
{
    const auto people = People({u"Ana", u"Bob"});
    fs::create_directories(pimFolder);
    ASSERT_TRUE(WriteDataFile(dataFile, people));
    const std::string before = ReadHostFile(dataFile);
    const pid_t first = Start();
    ASSERT_TRUE(WaitRunning(first));
    const pid_t second = Start();
    const int status = WaitExit(second, 10s);
    EXPECT_NE(status, -1) << "the second copy kept running";
    EXPECT_NE(status, 0);
    EXPECT_TRUE(HoldsInstanceMarker(first));
    Stop(first);
    EXPECT_EQ(ReadHostFile(dataFile), before);
}

TEST_F(Program, AScreenshotRunNeverWritesTheDataFile)
{
    MakeDataFile(People({u"Ana", u"Bob"}));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'000));
    struct stat before {};
    ASSERT_EQ(::stat(dataFile.c_str(), &before), 0);
    const std::string picture = root + "/start.png";
    EXPECT_EQ(WaitExit(Start({"--screenshot", picture}), 30s), 0);
    EXPECT_GT(fs::file_size(picture), 0u);
    struct stat after {};
    ASSERT_EQ(::stat(dataFile.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtime, before.st_mtime);
}

} // namespace
