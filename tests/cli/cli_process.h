// Runs vrm650t-cli as a process, as a user runs it from the shell.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "cli/exit_status.h"

namespace vrm::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline const std::string kCli = std::string(VRM_BIN_DIR) + "/vrm650t-cli";

inline std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(kCli.c_str()));
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

inline std::string Drain(int fd) {
    std::string s;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) s.append(buf, static_cast<std::size_t>(n));
    return s;
}

// Runs the CLI with stdin from /dev/null (no terminal to ask on).
inline CliRun Cli(std::vector<std::string> args) {
    int out[2], err[2];
    EXPECT_EQ(::pipe(out), 0);
    EXPECT_EQ(::pipe(err), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::close(out[0]);
        ::close(err[0]);
        auto argv = Argv(args);
        ::execv(kCli.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    CliRun r;
    // stderr is small; read stdout first, then stderr.
    r.out = Drain(out[0]);
    r.err = Drain(err[0]);
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

}  // namespace vrm::test
