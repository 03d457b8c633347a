// How games and the companion program are started on Windows: the exact CreateProcessA call
// (seen through the test program's own import table, then passed on to the system) and what
// the started program receives (seen by the probe program).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Environment.h"
#include "TempDir.h"
#include "platform/Process.h"

namespace fenmar::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTitle = "Quake - THE game !";

// One CreateProcessA call as the launcher made it.
struct CreateCall {
    std::optional<std::string> application;
    std::string commandLine;
    bool attributesGiven = false;  // process or thread security attributes
    BOOL inheritHandles = TRUE;
    DWORD flags = 0xFFFFFFFF;
    bool environmentGiven = false;
    std::optional<std::string> currentDirectory;
    STARTUPINFOA startup{};
    std::optional<std::string> title;
};

using CreateProcessAFn = decltype(&::CreateProcessA);
CreateProcessAFn realCreateProcessA = nullptr;
std::vector<CreateCall>* recordedCalls = nullptr;

BOOL WINAPI RecordingCreateProcessA(LPCSTR application, LPSTR commandLine,
                                    LPSECURITY_ATTRIBUTES processAttributes,
                                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                                    DWORD flags, LPVOID environment, LPCSTR currentDirectory,
                                    LPSTARTUPINFOA startup, LPPROCESS_INFORMATION info) {
    CreateCall call;
    if (application)
        call.application = application;
    if (commandLine)
        call.commandLine = commandLine;
    call.attributesGiven = processAttributes != nullptr || threadAttributes != nullptr;
    call.inheritHandles = inheritHandles;
    call.flags = flags;
    call.environmentGiven = environment != nullptr;
    if (currentDirectory)
        call.currentDirectory = currentDirectory;
    if (startup) {
        call.startup = *startup;
        if (startup->lpTitle)
            call.title = startup->lpTitle;
    }
    recordedCalls->push_back(call);
    return realCreateProcessA(application, commandLine, processAttributes, threadAttributes,
                              inheritHandles, flags, environment, currentDirectory, startup, info);
}

// The import slot through which this program calls `function` of `dll`.
void** FindImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (::_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

// Records every CreateProcessA call while it lives; the processes still start.
class CreateProcessRecorder {
public:
    CreateProcessRecorder() : slot_(FindImportSlot("kernel32.dll", "CreateProcessA")) {
        if (slot_ == nullptr)
            return;
        realCreateProcessA = reinterpret_cast<CreateProcessAFn>(*slot_);
        recordedCalls = &calls_;
        Write(reinterpret_cast<void*>(&RecordingCreateProcessA));
    }
    ~CreateProcessRecorder() {
        if (slot_ == nullptr)
            return;
        Write(reinterpret_cast<void*>(realCreateProcessA));
        recordedCalls = nullptr;
    }
    CreateProcessRecorder(const CreateProcessRecorder&) = delete;
    CreateProcessRecorder& operator=(const CreateProcessRecorder&) = delete;

    bool Installed() const { return slot_ != nullptr; }
    const std::vector<CreateCall>& Calls() const { return calls_; }

private:
    void Write(void* target) {
        DWORD old = 0;
        ::VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
        *slot_ = target;
        ::VirtualProtect(slot_, sizeof *slot_, old, &old);
    }
    void** slot_;
    std::vector<CreateCall> calls_;
};

// True when the block holds nothing but its size and, perhaps, the title.
bool OnlySizeAndTitle(const STARTUPINFOA& s) {
    return s.lpReserved == nullptr && s.lpDesktop == nullptr && s.dwX == 0 && s.dwY == 0 &&
           s.dwXSize == 0 && s.dwYSize == 0 && s.dwXCountChars == 0 && s.dwYCountChars == 0 &&
           s.dwFillAttribute == 0 && s.dwFlags == 0 && s.wShowWindow == 0 && s.cbReserved2 == 0 &&
           s.lpReserved2 == nullptr && s.hStdInput == nullptr && s.hStdOutput == nullptr &&
           s.hStdError == nullptr;
}

// What one run of the probe reported.
struct ProbeRun {
    std::string module, line, cwd, title;
};

class StartWin32 : public ::testing::Test {
protected:
    StartWin32() {
        log = dir.Path() / "probe.log";
        test::SetEnv("FENMAR_PROBE_LOG", log.string());
    }

    // Copies the probe program to `rel` below the temporary directory.
    std::string InstallProbe(const std::string& rel) const {
        char self[MAX_PATH];
        const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        const fs::path probe =
            fs::path(std::string(self, n)).parent_path() / "fenmar-startup-probe.exe";
        const fs::path target = dir.Path() / rel;
        fs::create_directories(target.parent_path());
        fs::copy_file(probe, target);
        return target.string();
    }

    // The first `count` runs of the probe, waiting up to ten seconds for them.
    std::vector<ProbeRun> WaitForProbe(std::size_t count = 1) const {
        std::vector<ProbeRun> runs;
        for (int i = 0; i < 500; ++i) {
            runs.clear();
            const std::string text = test::ReadFile(log);
            ProbeRun run;
            std::size_t pos = 0;
            while (pos < text.size()) {
                const std::size_t end = text.find('\n', pos);
                if (end == std::string::npos)
                    break;
                const std::string entry = text.substr(pos, end - pos);
                pos = end + 1;
                const std::size_t eq = entry.find('=');
                const std::string key = entry.substr(0, eq);
                const std::string value = eq == std::string::npos ? "" : entry.substr(eq + 1);
                if (key == "module")
                    run.module = value;
                if (key == "line")
                    run.line = value;
                if (key == "cwd")
                    run.cwd = value;
                if (key == "title")
                    run.title = value;
                if (key == "done")
                    runs.push_back(std::exchange(run, {}));
            }
            if (runs.size() >= count)
                break;
            ::Sleep(20);
        }
        return runs;
    }

    static bool SameFile(const std::string& a, const std::string& b) {
        std::error_code ec;
        return fs::equivalent(a, b, ec);
    }

    test::TempDir dir;
    fs::path log;
    CreateProcessRecorder recorder;
};

StartRequest GameRequest(const std::string& exe, const std::string& quakeDir,
                         const std::string& rest) {
    StartRequest r;
    r.program = exe;
    r.args = SplitCommandLine(rest);
    r.workingDirectory = quakeDir;
    r.consoleTitle = kTitle;
    r.commandLine = exe + " " + rest;  // as composed: the program unquoted, then the rest
    return r;
}

TEST_F(StartWin32, StartsTheGameWithItsTitleFlagsAndDirectory) {
    ASSERT_TRUE(recorder.Installed());
    const std::string quake = dir.MakeDir("quake");
    const std::string exe = InstallProbe("quake\\winquake.exe");
    const auto result = StartDetached(GameRequest(exe, quake, "-game ctf +map e1m1"));
    ASSERT_TRUE(result.started) << result.error;

    ASSERT_EQ(recorder.Calls().size(), 1u);
    const CreateCall& call = recorder.Calls()[0];
    EXPECT_EQ(call.application, exe);  // named on its own, never re-read from the line
    EXPECT_EQ(call.commandLine, exe + " -game ctf +map e1m1");
    EXPECT_FALSE(call.attributesGiven);
    EXPECT_FALSE(call.inheritHandles);
    EXPECT_EQ(call.flags, static_cast<DWORD>(CREATE_SEPARATE_WOW_VDM));
    EXPECT_FALSE(call.environmentGiven);
    EXPECT_EQ(call.currentDirectory, quake);
    EXPECT_EQ(call.startup.cb, sizeof(STARTUPINFOA));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(call.startup.cb, 68u);  // the block 32-bit games know
    }
    EXPECT_EQ(call.title, kTitle);
    EXPECT_TRUE(OnlySizeAndTitle(call.startup));

    const auto runs = WaitForProbe();
    ASSERT_EQ(runs.size(), 1u) << "the game did not run";
    EXPECT_TRUE(SameFile(runs[0].module, exe)) << runs[0].module;
    EXPECT_EQ(runs[0].line, exe + " -game ctf +map e1m1");
    EXPECT_TRUE(SameFile(runs[0].cwd, quake)) << runs[0].cwd;
    EXPECT_EQ(runs[0].title, kTitle);
}

TEST_F(StartWin32, StartsTheCompanionPlainlyInTheLaunchersDirectory) {
    ASSERT_TRUE(recorder.Installed());
    const std::string exe = InstallProbe("qw tools\\qw.exe");
    StartRequest r;  // what the companion button asks for
    r.program = exe;
    r.args = {"-f", "my servers.txt"};
    r.searchPath = true;
    r.commandLine = "\"" + exe + "\" -f \"my servers.txt\"";
    const auto result = StartDetached(r);
    ASSERT_TRUE(result.started) << result.error;

    ASSERT_EQ(recorder.Calls().size(), 1u);
    const CreateCall& call = recorder.Calls()[0];
    EXPECT_FALSE(call.application.has_value());  // found like a typed command
    EXPECT_EQ(call.commandLine, r.commandLine);
    EXPECT_FALSE(call.inheritHandles);
    EXPECT_EQ(call.flags, 0u);
    EXPECT_FALSE(call.environmentGiven);
    EXPECT_FALSE(call.currentDirectory.has_value());
    EXPECT_EQ(call.startup.cb, sizeof(STARTUPINFOA));
    EXPECT_FALSE(call.title.has_value());
    EXPECT_TRUE(OnlySizeAndTitle(call.startup));

    const auto runs = WaitForProbe();
    ASSERT_EQ(runs.size(), 1u) << "the companion did not run";
    EXPECT_TRUE(SameFile(runs[0].module, exe)) << runs[0].module;
    EXPECT_TRUE(SameFile(runs[0].cwd, fs::current_path().string())) << runs[0].cwd;
    EXPECT_NE(runs[0].title, kTitle);
}

// "C:\games\my quake\quake.exe +map e1m1" read without the program's name would first try
// "C:\games\my.exe". The control start below shows that this system does exactly that.
TEST_F(StartWin32, ABlankInTheQuakeDirectoryCannotStartAnotherProgram) {
    const std::string quake = dir.MakeDir("my quake");
    const std::string exe = InstallProbe("my quake\\quake.exe");
    const std::string impostor = InstallProbe("my.exe");
    const StartRequest request = GameRequest(exe, quake, "+map e1m1");
    const auto result = StartDetached(request);
    ASSERT_TRUE(result.started) << result.error;
    auto runs = WaitForProbe();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_TRUE(SameFile(runs[0].module, exe)) << runs[0].module;
    EXPECT_TRUE(SameFile(runs[0].cwd, quake)) << runs[0].cwd;

    std::string line = request.commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 quake.c_str(), &startup, &info));
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    runs = WaitForProbe(2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_TRUE(SameFile(runs[1].module, impostor)) << runs[1].module;
}

TEST_F(StartWin32, ReportsAStartThatFails) {
    const std::string quake = dir.MakeDir("quake");
    const std::string missingExe = quake + "\\nothing.exe";
    auto missing = StartDetached(GameRequest(missingExe, quake, "+map e1m1"));
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(missing.error.empty());

    const std::string exe = InstallProbe("quake\\quake.exe");
    auto gone = StartDetached(GameRequest(exe, quake + "\\gone", "+map e1m1"));
    EXPECT_FALSE(gone.started);
    EXPECT_FALSE(gone.error.empty());

    const std::string text = dir.WriteFile("quake\\glquake.exe", "not a program");
    auto notAProgram = StartDetached(GameRequest(text, quake, ""));
    EXPECT_FALSE(notAProgram.started);
    EXPECT_FALSE(notAProgram.error.empty());

    auto empty = StartDetached(StartRequest{});
    EXPECT_FALSE(empty.started);
    EXPECT_FALSE(empty.error.empty());

    ::Sleep(200);
    EXPECT_FALSE(fs::exists(log)) << "a program ran: " << test::ReadFile(log);
}

}  // namespace
}  // namespace fenmar::platform
