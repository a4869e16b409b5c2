// The real program as a child process: its command line answered without a
// display and while another copy runs, one running copy per device, a
// screenshot run that writes nothing but its picture, and output that
// cannot be written.
#include "support/ShellFixtures.h"
#include "tests/common/ChildProcesses.h"
#include "platform/core/System.h"
#include "shell/CommandLine.h"

#include <chrono>
#include <csignal>
#include <sys/file.h>

using namespace shelltest;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1; // -1 while it still runs
    std::string out, err;
};

class Program : public DeviceFixture {
protected:
    // Runs the program to its end in this process's environment; its
    // standard output goes to `output` when one is named ("-": closed).
    Outcome Run(const std::vector<std::string>& args, const std::string& output = {})
    {
        const std::string outFile = root + "/stdout", errFile = root + "/stderr";
        fs::remove(outFile);
        const pid_t pid = children.Start(ChildProcesses::Program(), args, nullptr, errFile, output.empty() ? outFile : output);
        const int status = children.WaitExit(pid, 30s);
        return {status, ReadHostFile(outFile), ReadHostFile(errFile)};
    }

    ChildProcesses children;
};

TEST_F(Program, HelpVersionAndAWrongOptionAreAnsweredWithoutADisplayWhileAnotherCopyRuns)
{
    // This process holds the instance marker, as a running copy would.
    const ce::HANDLE marker = ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
    ASSERT_NE(marker, nullptr);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        ::unsetenv(name);

    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out, HelpText());

    const Outcome version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "contacts " CONTACTS_VERSION "\n");

    const Outcome wrong = Run({"--scale", "2", "--colour"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(wrong.err, "contacts: unknown option '--colour'\n" + UsageText() +
                             "Try 'contacts --help' for more information.\n");
    ce::CloseHandle(marker);
}

TEST_F(Program, ASecondStartEndsAtOnceAndTerminationLeavesAnUnchangedFile)
{
    MakeDataFile(People({u"Ana", u"Bob"}));
    const std::string before = ReadHostFile(dataFile);
    const pid_t first = children.Start(ChildProcesses::Program());
    ASSERT_TRUE(ChildProcesses::WaitForMarker(runtimeDir));
    const int status = children.WaitExit(children.Start(ChildProcesses::Program()), 10s);
    EXPECT_NE(status, -1) << "the second copy kept running";
    EXPECT_NE(status, 0);
    EXPECT_TRUE(ChildProcesses::MarkerHeld(runtimeDir));
    ASSERT_EQ(::kill(first, SIGTERM), 0);
    EXPECT_EQ(children.WaitExit(first, 20s), 0);
    EXPECT_EQ(ReadHostFile(dataFile), before);
}

// Nothing starts where the instance marker cannot be made; without
// XDG_RUNTIME_DIR it lies in a folder other copies share.
TEST_F(Program, AScreenshotRunNeedsAnInstanceMarkerAndWritesNothingButItsPicture)
{
    MakeDataFile(People({u"Ana", u"Bob"}));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'000));
    struct stat before {};
    ASSERT_EQ(::stat(dataFile.c_str(), &before), 0);
    const std::string notAFolder = root + "/not-a-folder", picture = root + "/start.png";
    std::ofstream(notAFolder) << "";
    ::setenv("XDG_RUNTIME_DIR", notAFolder.c_str(), 1);
    const Outcome refused = Run({"--screenshot", picture});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("cannot make the instance marker " + notAFolder + "/ZELKContacts.lock: Not a directory"),
              std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(picture));

    const std::string fallback = "/tmp/contacts-" + std::to_string(::getuid()) + "/ZELKContacts.lock";
    if (const int fd = ::open(fallback.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        if (held)
            GTEST_SKIP() << "another copy of the program runs on this machine";
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    const Outcome start = Run({"--screenshot", picture});
    EXPECT_EQ(start.status, 0);
    EXPECT_EQ(start.err + start.out, "");
    EXPECT_GT(fs::exists(picture) ? fs::file_size(picture) : 0, 0u);
    struct stat after {};
    ASSERT_EQ(::stat(dataFile.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtime, before.st_mtime);
}

TEST_F(Program, OutputThatCannotBeWrittenIsAFailure)
{
    MakeDataFile(People({u"Ana"}));
    // A closed standard output is not taken by a file the program opens.
    const Outcome closed = Run({"--export", "-"}, "-");
    EXPECT_EQ(closed.status, 1);
    EXPECT_NE(closed.err.find("cannot write standard output"), std::string::npos) << closed.err;

    const Outcome full = Run({"--version"}, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "contacts: cannot write standard output\n");
    EXPECT_EQ(Run({"--export", "-"}, "/dev/full").status, 1);
}

} // namespace
