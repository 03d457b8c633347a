#include <errno.h>
#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/Process.h"

namespace fenmar::platform {

namespace {

// What the children report through the pipe, one record per write (small writes to a pipe
// are never interleaved): the started program's id from the middle child, or why the start
// failed from either child. End of file without a failure means the exec succeeded.
enum Report : int { kStartedPid = 1, kFailedErrno = 2, kFailedDirectory = 3 };
struct Record {
    int kind;
    int value;
};

// Reads exactly one record from the pipe; false at end of file.
bool ReadRecord(int fd, Record& value) {
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

void WriteRecord(int fd, int kind, int value) {
    const Record record{kind, value};
    [[maybe_unused]] const ssize_t n = ::write(fd, &record, sizeof record);
}

void WriteErrnoAndExit(int fd, int kind, int value) {
    WriteRecord(fd, kind, value);
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
            WriteErrnoAndExit(fds[1], kFailedErrno, errno);
        }
        if (grandChild == 0) {
            if (dir && ::chdir(dir) != 0) {
                WriteErrnoAndExit(fds[1], kFailedDirectory, errno);
            }
            if (request.searchPath) {
                ::execvp(argv[0], argv.data());
            } else {
                ::execv(argv[0], argv.data());
            }
            WriteErrnoAndExit(fds[1], kFailedErrno, errno);
        }
        WriteRecord(fds[1], kStartedPid, static_cast<int>(grandChild));
        ::_exit(0);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    long long pid = 0;
    Record record{};
    while (ReadRecord(fds[0], record)) {
        if (record.kind == kStartedPid) {
            pid = record.value;
            continue;
        }
        ::close(fds[0]);
        if (record.kind == kFailedDirectory) {
            return {false,
                    "the working directory \"" + request.workingDirectory +
                        "\" cannot be used: " + std::strerror(record.value),
                    0};
        }
        return {false, std::strerror(record.value), 0};
    }
    ::close(fds[0]);
    return {true, {}, pid};
}

}  // namespace fenmar::platform
