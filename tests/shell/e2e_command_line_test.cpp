// The real program on the command line: --help, --version and a wrong
// option are answered without a display and while another copy runs, and
// an ordinary start writes nothing on standard error.
#include "support/ShellFixtures.h"
#include "platform/core/System.h"
#include "shell/CommandLine.h"

#include <chrono>
#include <csignal>
#include <regex>
#include <thread>

#include <poll.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>

extern char** environ;

using namespace shelltest;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1; // the exit status; -1 when the program did not end in time
    std::string out, err;
};

class ProgramCommandLine : public DeviceFixture {
protected:
    // Runs the program with `args` in this process's environment without the
    // variables in `unset`, and collects what it writes until it ends.
    Outcome Run(std::vector<std::string> args, const std::vector<std::string>& unset = {})
    {
        const std::string program =
            (fs::read_symlink("/proc/self/exe").parent_path() / "../../shell/contacts").lexically_normal();
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::vector<char*> env;
        for (char** var = environ; *var; ++var)
            if (std::none_of(unset.begin(), unset.end(),
                             [&](const std::string& name) { return std::string(*var).starts_with(name + "="); }))
                env.push_back(*var);
        env.push_back(nullptr);

        int out[2], err[2];
        Outcome outcome;
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            return outcome;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        EXPECT_EQ(spawned, 0) << program;

        // Read both pipes until the program closes them, for at most 30 s.
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        std::string* texts[2] = {&outcome.out, &outcome.err};
        const auto end = std::chrono::steady_clock::now() + 30s;
        while (spawned == 0 && (fds[0].fd >= 0 || fds[1].fd >= 0) && std::chrono::steady_clock::now() < end) {
            if (::poll(fds, 2, 100) <= 0)
                continue;
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || !fds[i].revents)
                    continue;
                char buffer[4096];
                const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    texts[i]->append(buffer, std::size_t(n));
                } else {
                    ::close(fds[i].fd);
                    fds[i].fd = -1;
                }
            }
        }
        for (const pollfd& fd : fds)
            if (fd.fd >= 0)
                ::close(fd.fd);
        if (spawned != 0)
            return outcome;
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(10ms);
        if (ended != pid) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            return outcome;
        }
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
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
    // Without XDG_RUNTIME_DIR the instance marker lies in the fallback folder,
    // which other copies on this machine share.
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

} // namespace
