// Helpers of the store tests that start child processes (POSIX only).

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "StoreTestSupport.h"

namespace fenmar::store::test {

int StartChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        int rc = 99;
        try {
            rc = body();
        } catch (...) {
            rc = 99;
        }
        _exit(rc);
    }
    return pid;
}

int WaitChild(int pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return -1;
}

int StartTool(const std::vector<std::string>& args, const std::string& configHome,
              const fenmar::test::TempDir& scratch) {
    const std::string outFile = (scratch.Path() / "tool.out").string();
    const std::string errFile = (scratch.Path() / "tool.err").string();
    std::string tool = FENMAR_REG_TOOL;
    std::vector<std::string> copies(args);
    std::vector<char*> argv;
    argv.push_back(tool.data());
    for (auto& a : copies) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0) {
            _exit(127);
        }
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (!configHome.empty()) {
            setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        }
        execv(tool.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

ToolRun FinishTool(int pid, const fenmar::test::TempDir& scratch) {
    ToolRun run;
    run.exitCode = WaitChild(pid);
    run.out = fenmar::test::ReadFile(scratch.Path() / "tool.out");
    run.err = fenmar::test::ReadFile(scratch.Path() / "tool.err");
    return run;
}

ToolRun RunTool(const std::vector<std::string>& args, const std::string& configHome,
                const fenmar::test::TempDir& scratch) {
    return FinishTool(StartTool(args, configHome, scratch), scratch);
}

}  // namespace fenmar::store::test
