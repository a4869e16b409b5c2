// Programs that the e2e tests of every folder start as child processes (the
// real program, the servers of the sync tests); those still running when the
// test ends are killed. Whether some process holds the program's instance
// marker is read from /proc/locks, which takes nothing.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace shelltest {

class ChildProcesses {
public:
    ChildProcesses() = default;
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;
    ~ChildProcesses()
    {
        for (pid_t pid : started) // never reaped, so never reused
            if (::kill(pid, SIGKILL) == 0)
                ::waitpid(pid, nullptr, 0);
    }

    // The program of the same build, beside its language satellites.
    static std::string Program() { return CONTACTS_SATELLITE_DIR "/contacts"; }

    // Starts program with args; `input`, when given, receives the write end
    // of a pipe to its standard input; standard error goes to errorFile and
    // standard output to outputFile when one is named ("-": closed).
    pid_t Start(const std::string& program, std::vector<std::string> args = {}, int* input = nullptr,
                const std::string& errorFile = {}, const std::string& outputFile = {})
    {
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int pipeEnds[2] = {-1, -1};
        if (input) {
            EXPECT_EQ(::pipe2(pipeEnds, O_CLOEXEC), 0);
            posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
        }
        if (!errorFile.empty())
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (outputFile == "-")
            posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
        else if (!outputFile.empty())
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        EXPECT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0) << program;
        posix_spawn_file_actions_destroy(&actions);
        if (input) {
            ::close(pipeEnds[0]);
            *input = pipeEnds[1];
        }
        started.push_back(pid);
        return pid;
    }

    // Whether a process holds the instance marker of `runtimeDir`: a lock on its file.
    static bool MarkerHeld(const std::string& runtimeDir)
    {
        struct stat info {};
        if (::stat((runtimeDir + "/ZELKContacts.lock").c_str(), &info) != 0)
            return false;
        const std::string inode = ":" + std::to_string(info.st_ino) + " ";
        std::ifstream locks("/proc/locks");
        for (std::string line; std::getline(locks, line);)
            if (line.find(inode) != std::string::npos)
                return true;
        return false;
    }

    // Waits up to 20 s until a process holds that marker.
    static bool WaitForMarker(const std::string& runtimeDir)
    {
        for (int i = 0; i < 400 && !MarkerHeld(runtimeDir); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return MarkerHeld(runtimeDir);
    }

    // The exit status, or -1 while the process still runs after the timeout.
    int WaitExit(pid_t pid, std::chrono::milliseconds timeout)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                std::erase(started, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < end);
        return -1;
    }

private:
    std::vector<pid_t> started;
};

} // namespace shelltest
