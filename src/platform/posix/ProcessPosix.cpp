#include <errno.h>
#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/Process.h"

namespace fenmar::platform {

namespace {

// Reads exactly one int from the pipe; false at end of file (the exec succeeded).
bool ReadErrno(int fd, int& value) {
    std::size_t got = 0;
    auto* bytes = reinterpret_cast<char*>(&value);
    while (got < sizeof value) {
        const ssize_t n = ::read(fd, bytes + got, sizeof value - got);
        if (n == 0) {
            return false;
        }
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

void WriteErrnoAndExit(int fd, int value) {
    [[maybe_unused]] const ssize_t n = ::write(fd, &value, sizeof value);
    ::_exit(127);
}

}  // namespace

StartResult StartDetached(const StartRequest& request) {
    if (request.program.empty()) {
        return {false, "no program given"};
    }
    // Everything the children need is prepared before forking.
    std::vector<std::string> argvStrings;
    argvStrings.push_back(request.program);
    argvStrings.insert(argvStrings.end(), request.args.begin(), request.args.end());
    std::vector<char*> argv;
    for (auto& s : argvStrings) argv.push_back(s.data());
    argv.push_back(nullptr);
    const char* dir = request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str();

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return {false, std::strerror(errno)};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int e = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return {false, std::strerror(e)};
    }
    if (child == 0) {
        // The middle child starts the program and leaves at once, so the program is adopted
        // by init and the launcher never has to reap it.
        ::close(fds[0]);
        ::setsid();
        const pid_t grandChild = ::fork();
        if (grandChild < 0) {
            WriteErrnoAndExit(fds[1], errno);
        }
        if (grandChild == 0) {
            if (dir && ::chdir(dir) != 0) {
                WriteErrnoAndExit(fds[1], -errno);  // negative: the directory failed
            }
            if (request.searchPath) {
                ::execvp(argv[0], argv.data());
            } else {
                ::execv(argv[0], argv.data());
            }
            WriteErrnoAndExit(fds[1], errno);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int failure = 0;
    const bool failed = ReadErrno(fds[0], failure);
    ::close(fds[0]);
    if (!failed) {
        return {true, {}};
    }
    if (failure < 0) {
        return {false, "the working directory \"" + request.workingDirectory +
                           "\" cannot be used: " + std::strerror(-failure)};
    }
    return {false, std::strerror(failure)};
}

}  // namespace fenmar::platform
