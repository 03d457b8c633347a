// Time from starting the program to its main window painted, against a bare window with as
// many widgets, each started as a real process with a fresh settings folder of its own and
// the same Qt platform (offscreen unless QT_QPA_PLATFORM says otherwise). The two programs
// run in turns, so a machine busy with other work slows both alike. Also their peak resident
// memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Start {
    double ms = 0;
    double cpuMs = 0;  // of the whole run, to the end
    double rssMb = 0;
};

// A scratch home: settings, caches and data all below it, removed at the end.
class ScratchHome {
public:
    ScratchHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "fenmar-start-XXXXXX");
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~ScratchHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::vector<std::string> ChildEnvironment(const std::string& home) {
    std::vector<std::string> env;
    bool platform = false;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (name == "HOME" || name.rfind("XDG_", 0) == 0 || name == "FENMAR_QUIT_WHEN_SHOWN") {
            continue;
        }
        platform = platform || name == "QT_QPA_PLATFORM";
        env.push_back(text);
    }
    env.push_back("HOME=" + home);
    env.push_back("XDG_CONFIG_HOME=" + home + "/config");
    env.push_back("XDG_CACHE_HOME=" + home + "/cache");
    env.push_back("XDG_DATA_HOME=" + home + "/data");
    env.push_back("FENMAR_QUIT_WHEN_SHOWN=1");
    if (!platform) {
        env.push_back("QT_QPA_PLATFORM=offscreen");
    }
    return env;
}

double Ms(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

// Starts `program`, waits for its "shown" line and its end; ms < 0 when it did not show or
// failed.
Start Run(const std::string& program, const std::string& home) {
    std::vector<std::string> env = ChildEnvironment(home);
    std::vector<char*> envp;
    for (std::string& entry : env) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return {-1, 0, 0};
    }
    const auto begun = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    close(fds[1]);
    Start start{-1, 0, 0};
    std::string said;
    char buffer[256];
    ssize_t got = 0;
    while (said.find("shown\n") == std::string::npos &&
           (got = read(fds[0], buffer, sizeof buffer)) > 0) {
        said.append(buffer, static_cast<std::size_t>(got));
    }
    if (said.find("shown\n") != std::string::npos) {
        start.ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun)
                .count();
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return {-1, 0, 0};
    }
    start.cpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
    start.rssMb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    return start;
}

// The settings tool reads a registry file into the scratch home's settings.
bool Import(const std::string& file, const std::string& home) {
    std::vector<std::string> env = ChildEnvironment(home);
    std::vector<char*> envp;
    for (std::string& entry : env) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::string tool = REG_PROGRAM;
    std::string verb = "import";
    std::string path = file;
    char* argv[] = {tool.data(), verb.data(), path.data(), nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Fenmar starts with a Quake directory (empty) set, no engine found and the settings written by
// one earlier start: the usual start, not the first run, which asks for the directory. The
// bare window starts beside it; the iteration time is fenmar's.
void BM_StartToWindowShown(benchmark::State& state) {
    const ScratchHome fenmarHome;
    const ScratchHome bareHome;
    const std::string quake = fenmarHome.Path() + "/quake";
    std::filesystem::create_directories(quake + "/id1");
    const std::string reg = fenmarHome.Path() + "/quake.reg";
    std::ofstream(reg) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\Internal]\n"
                       << "\"Quake Path\"=\"" << quake << "\"\n";
    if (!Import(reg, fenmarHome.Path()) || Run(FENMAR_PROGRAM, fenmarHome.Path()).ms < 0 ||
        Run(BARE_PROGRAM, bareHome.Path()).ms < 0) {
        state.SkipWithError("a program did not show its window");
        return;
    }
    std::vector<double> fenmarMs, bareMs, fenmarCpu, bareCpu, fenmarRss, bareRss;
    for (auto _ : state) {
        const Start bare = Run(BARE_PROGRAM, bareHome.Path());
        const Start fenmar = Run(FENMAR_PROGRAM, fenmarHome.Path());
        if (bare.ms < 0 || fenmar.ms < 0) {
            state.SkipWithError("a program did not show its window");
            return;
        }
        state.SetIterationTime(fenmar.ms / 1000.0);
        fenmarMs.push_back(fenmar.ms);
        bareMs.push_back(bare.ms);
        fenmarCpu.push_back(fenmar.cpuMs);
        bareCpu.push_back(bare.cpuMs);
        fenmarRss.push_back(fenmar.rssMb);
        bareRss.push_back(bare.rssMb);
    }
    const double fenmar = Median(fenmarMs);
    const double bare = Median(bareMs);
    state.counters["fenmar_ms"] = fenmar;
    state.counters["bare_ms"] = bare;
    state.counters["ratio"] = bare > 0 ? fenmar / bare : 0;
    state.counters["fenmar_cpu_ms"] = Median(fenmarCpu);
    state.counters["bare_cpu_ms"] = Median(bareCpu);
    state.counters["fenmar_rss_mb"] = Median(fenmarRss);
    state.counters["bare_rss_mb"] = Median(bareRss);
}
BENCHMARK(BM_StartToWindowShown)->Iterations(12)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
