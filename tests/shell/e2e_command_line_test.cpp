// The real program on the command line: --help, --version and a wrong
// option are answered without a display and while another copy runs, and
// an ordinary start writes nothing on standard error.
#include "support/ShellFixtures.h"
#include "platform/core/System.h"
#include "shell/CommandLine.h"

#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>

extern char** environ;

using namespace shelltest;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1; // the exit status; -1 when it could not be started
    std::string out, err;
};

class ProgramCommandLine : public DeviceFixture {
protected:
    // Runs the program with `args`, its output going to files in the device
    // root; standard output goes to `output` instead when given, and is closed
    // when that is empty.
    Outcome Run(const std::vector<std::string>& args, const std::vector<std::string>& unset = {},
                const std::optional<std::string>& output = std::nullopt)
    {
        const std::string program =
            (fs::read_symlink("/proc/self/exe").parent_path() / "../../shell/contacts").lexically_normal();
        // env(1) starts it without the variables in `unset`.
        std::vector<std::string> line = {"/usr/bin/env"};
        for (const std::string& name : unset)
            line.insert(line.end(), {"-u", name});
        line.push_back(program);
        line.insert(line.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : line)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        const std::string outFile = root + "/stdout", errFile = root + "/stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (!output)
            posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        else if (output->empty())
            posix_spawn_file_actions_addclose(&actions, 1);
        else
            posix_spawn_file_actions_addopen(&actions, 1, output->c_str(), O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        EXPECT_EQ(spawned, 0) << program;
        int status = 0;
        if (spawned == 0 && ::waitpid(pid, &status, 0) == pid)
            outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.out = ReadHostFile(outFile);
        outcome.err = ReadHostFile(errFile);
        return outcome;
    }
};

TEST_F(ProgramCommandLine, HelpVersionAndAWrongOptionAreAnsweredWithoutADisplayWhileAnotherCopyRuns)
{
    // This process holds the instance marker, as a running copy would.
    const ce::HANDLE marker = ce::CreateMutexW(nullptr, ce::FALSE, u"ZELKContacts");
    ASSERT_NE(marker, nullptr);
    const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

    const Outcome help = Run({"--help"}, noDisplay);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out, HelpText());

    const Outcome version = Run({"--version"}, noDisplay);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("contacts [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;

    const Outcome wrong = Run({"--scale", "2", "--colour"}, noDisplay);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(wrong.err, "contacts: unknown option '--colour'\n" + UsageText() +
                             "Try 'contacts --help' for more information.\n");
    ce::CloseHandle(marker);
}

TEST_F(ProgramCommandLine, AnOrdinaryStartWithoutRuntimeFolderWritesNothingOnStandardError)
{
    // Without XDG_RUNTIME_DIR the instance marker lies in a folder other copies share.
    const std::string fallback = "/tmp/contacts-" + std::to_string(::getuid()) + "/ZELKContacts.lock";
    if (const int fd = ::open(fallback.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        if (held)
            GTEST_SKIP() << "another copy of the program runs on this machine";
    }
    MakeDataFile(People({u"Ana", u"Bob"}));
    const std::string picture = root + "/start.png";
    const Outcome start = Run({"--screenshot", picture}, {"XDG_RUNTIME_DIR"});
    EXPECT_EQ(start.status, 0);
    EXPECT_EQ(start.err, "");
    EXPECT_EQ(start.out, "");
    EXPECT_TRUE(fs::exists(picture));
}

TEST_F(ProgramCommandLine, WithoutAnInstanceMarkerNothingStarts)
{
    MakeDataFile(People({u"Ana"}));
    const std::string before = ReadHostFile(dataFile);
    const std::string notAFolder = root + "/not-a-folder";
    std::ofstream(notAFolder) << "";
    ::setenv("XDG_RUNTIME_DIR", notAFolder.c_str(), 1);
    const std::string marker = notAFolder + "/ZELKContacts.lock";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--screenshot", root + "/start.png"}, {"--export", root + "/out.vcf"}}) {
        const Outcome refused = Run(args);
        EXPECT_EQ(refused.status, 1) << args[0];
        EXPECT_NE(refused.err.find("cannot make the instance marker " + marker + ": Not a directory"),
                  std::string::npos)
            << refused.err;
    }
    EXPECT_FALSE(fs::exists(root + "/start.png"));
    EXPECT_FALSE(fs::exists(root + "/out.vcf"));
    EXPECT_EQ(ReadHostFile(dataFile), before);
}

TEST_F(ProgramCommandLine, OutputThatCannotBeWrittenIsAFailure)
{
    MakeDataFile(People({u"Ana"}));
    // A closed standard output is not taken by a file the program opens.
    const Outcome closed = Run({"--export", "-"}, {}, "");
    EXPECT_EQ(closed.status, 1);
    EXPECT_NE(closed.err.find("cannot write standard output"), std::string::npos) << closed.err;
    for (const fs::directory_entry& entry : fs::directory_iterator(runtimeDir))
        EXPECT_EQ(fs::file_size(entry.path()), 0u) << entry.path();

    const Outcome full = Run({"--version"}, {}, "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "contacts: cannot write standard output\n");
    EXPECT_EQ(Run({"--export", "-"}, {}, "/dev/full").status, 1);
}

} // namespace
