#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>

#include "ServerProcess.h"

namespace fenmar::net::testing {

namespace {
std::vector<char*> Argv(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}
}  // namespace

ServerProcess::ServerProcess(const std::string& program, const std::vector<std::string>& args) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return;
    }
    auto argv = Argv(program, args);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[0], 0);
        ::close(fds[1]);
        std::freopen("/dev/null", "w", stdout);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(fds[0]);
    if (pid < 0) {
        ::close(fds[1]);
        return;
    }
    pid_ = pid;
    input_ = fds[1];
}

ServerProcess::~ServerProcess() {
    if (pid_ > 0) {
        ::kill(static_cast<pid_t>(pid_), SIGTERM);
        int status = 0;
        ::waitpid(static_cast<pid_t>(pid_), &status, 0);
    }
    if (input_ >= 0) {
        ::close(input_);
    }
}

std::string RunAndCapture(const std::string& program, const std::vector<std::string>& args) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {};
    }
    auto argv = Argv(program, args);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string out;
    std::array<char, 4096> buffer;
    ssize_t got;
    while ((got = ::read(fds[0], buffer.data(), buffer.size())) > 0) {
        out.append(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    if (pid > 0) {
        ::waitpid(pid, &status, 0);
    }
    return out;
}

bool CanRunServers() {
    return true;
}

}  // namespace fenmar::net::testing
