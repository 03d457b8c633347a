#include <windows.h>

#include "platform/Process.h"
#include "platform/win32/WindowsText.h"

namespace fenmar::platform {

namespace {
std::string LastErrorText(DWORD code) {
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : "error " + std::to_string(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}
}  // namespace

// The game gets its own console title and a separate virtual DOS machine for 16-bit files;
// the companion program is started plainly. The program's name is always passed on its own,
// so a directory with blanks in its name can never start a different program.
StartResult StartDetached(const StartRequest& request) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string title = request.consoleTitle;
    if (!title.empty()) {
        startup.lpTitle = title.data();
    }
    std::string line = request.commandLine;
    if (line.empty()) {
        line = "\"" + request.program + "\"";
        for (const auto& a : request.args) {
            line += " " + detail::QuoteArgument(a);
        }
    }
    const DWORD flags = request.consoleTitle.empty() ? 0 : CREATE_SEPARATE_WOW_VDM;
    const char* application = request.searchPath ? nullptr : request.program.c_str();
    PROCESS_INFORMATION info{};
    const BOOL ok = CreateProcessA(
        application, line.data(), nullptr, nullptr, FALSE, flags, nullptr,
        request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str(), &startup,
        &info);
    if (!ok) {
        return {false, LastErrorText(GetLastError())};
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return {true, {}, static_cast<long long>(info.dwProcessId)};
}

}  // namespace fenmar::platform
