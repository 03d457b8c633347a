// fenmar-reg: export, import and delete keys of Fenmar's settings store.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "StdioMode.h"
#include "store/OpenStore.h"
#include "store/RegFile.h"

namespace {

using namespace fenmar::store;

// Exit codes.
constexpr int kOk = 0;
constexpr int kFailed = 1;    // the store, a file or a key could not be used
constexpr int kUsage = 2;     // wrong command line
constexpr int kRejected = 3;  // the import file has an error; nothing was imported

constexpr const char* kHelp =
    "Usage: fenmar-reg [--store FILE] COMMAND [ARGUMENT]\n"
    "\n"
    "Exports, imports and deletes keys of Fenmar's settings store, the per-user store\n"
    "that stands in for the Windows registry (HKEY_CURRENT_USER).\n"
    "\n"
    "Commands:\n"
    "  export [KEY]   write the whole store, or KEY and everything below it, to standard\n"
    "                 output as a registry-editor file (REGEDIT4)\n"
    "  import FILE    read a registry-editor file (REGEDIT4, or \"Windows Registry Editor\n"
    "                 Version 5.00\" in UTF-16LE as the Windows registry editor writes it)\n"
    "                 into the store; \"-\" reads standard input. [-KEY] deletes a key,\n"
    "                 \"name\"=- a value. A file with an error is rejected whole.\n"
    "  delete KEY     delete KEY with everything below it\n"
    "  help           show this text\n"
    "\n"
    "KEY is written as in the files, e.g. \"HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\";\n"
    "the hive may be left out or written HKCU. Names compare without regard to case.\n"
    "Only texts (REG_SZ) and dwords (REG_DWORD) are supported.\n"
    "\n"
    "The store is the file $XDG_CONFIG_HOME/fenmar/settings.sqlite (by default\n"
    "~/.config/fenmar/settings.sqlite); --store FILE uses another file.\n"
    "\n"
    "Exit status: 0 success, 1 the store, a file or a key could not be used,\n"
    "2 wrong command line, 3 the import file has an error (nothing was imported).\n";

int Usage(const std::string& message) {
    std::cerr << "fenmar-reg: " << message << "\nTry 'fenmar-reg help'.\n";
    return kUsage;
}

int Fail(const std::string& message) {
    std::cerr << "fenmar-reg: " << message << "\n";
    return kFailed;
}

bool ReadAll(const std::string& file, std::string& bytes) {
    if (file == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int Run(const std::vector<std::string>& args) {
    std::size_t i = 0;
    std::string storeFile;
    if (i < args.size() && args[i] == "--store") {
        if (i + 1 >= args.size()) {
            return Usage("--store needs a file name");
        }
        storeFile = args[i + 1];
        i += 2;
    }
    if (i >= args.size()) {
        return Usage("no command given");
    }
    const std::string& command = args[i++];
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());

    if (command == "help" || command == "--help" || command == "-h") {
        std::cout << kHelp;
        return kOk;
    }
    if (command != "export" && command != "import" && command != "delete") {
        return Usage("unknown command '" + command + "'");
    }
    if (command == "export" && rest.size() > 1) {
        return Usage("export takes at most one KEY");
    }
    if ((command == "import" || command == "delete") && rest.size() != 1) {
        return Usage(command +
                     (command == "import" ? " needs exactly one FILE" : " needs exactly one KEY"));
    }

    std::string keyPath;
    if (command != "import" && !rest.empty()) {
        std::string error;
        if (!ParseKeyArgument(rest[0], keyPath, error)) {
            return Fail(error);
        }
    }
    // Read and check the file before the store is touched.
    RegParse parsed;
    if (command == "import") {
        std::string bytes;
        if (!ReadAll(rest[0], bytes)) {
            return Fail("cannot read " + rest[0]);
        }
        parsed = ParseRegFile(bytes);
        if (!parsed.ok) {
            std::cerr << "fenmar-reg: " << rest[0] << ":" << parsed.errorLine << ": "
                      << parsed.error << "\nfenmar-reg: nothing was imported\n";
            return kRejected;
        }
    }

    OpenResult opened = storeFile.empty() ? OpenDefaultStore() : OpenStoreAt(storeFile);
    if (!opened.problem.empty()) {
        return Fail(opened.problem);
    }
    if (!opened.movedAsideTo.empty()) {
        std::cerr << "fenmar-reg: " << opened.file
                  << " could not be read as a settings store; it was kept as "
                  << opened.movedAsideTo << " and a new store started\n";
    }
    Store& store = *opened.store;

    if (command == "export") {
        std::string text;
        std::vector<std::string> warnings;
        std::string error;
        if (!ExportRegFile(store, keyPath, text, warnings, error)) {
            return Fail(error);
        }
        for (const auto& warning : warnings) {
            std::cerr << "fenmar-reg: " << warning << "\n";
        }
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::cout.flush();
        return std::cout ? kOk : Fail("cannot write the output");
    }
    if (command == "import") {
        std::string error;
        if (!ApplyRegOperations(store, parsed.operations, error)) {
            return Fail(rest[0] + ": " + error + "; nothing was imported");
        }
        return kOk;
    }
    // delete
    if (keyPath.empty()) {
        return Fail("refusing to delete HKEY_CURRENT_USER itself");
    }
    const Status status = store.DeleteKey(keyPath);
    if (status == Status::NotFound) {
        return Fail("no such key: HKEY_CURRENT_USER\\" + keyPath);
    }
    if (status != Status::Ok) {
        return Fail("cannot delete HKEY_CURRENT_USER\\" + keyPath);
    }
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    SetBinaryStdio();
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return Run(args);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}
