// Started by the Windows process tests: writes what the system handed it — its own file,
// its command line, its working directory and the startup block's console title — to the
// file named by FENMAR_PROBE_LOG, then exits.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {
std::string ModuleFile() {
    char buffer[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, n);
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH];
    const DWORD n = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string("?");
}
}  // namespace

int main() {
    const char* log = std::getenv("FENMAR_PROBE_LOG");
    if (log == nullptr) {
        return 2;
    }
    STARTUPINFOA startup{};
    ::GetStartupInfoA(&startup);
    std::ofstream out(log, std::ios::app | std::ios::binary);
    out << "module=" << ModuleFile() << '\n';
    out << "line=" << ::GetCommandLineA() << '\n';
    out << "cwd=" << CurrentDirectory() << '\n';
    out << "title=" << (startup.lpTitle ? startup.lpTitle : "") << '\n';
    out << "done\n";
    return 0;
}
