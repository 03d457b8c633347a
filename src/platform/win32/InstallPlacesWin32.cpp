#include <windows.h>

#include "platform/InstallPlaces.h"
#include "platform/ProgramSearch.h"

namespace fenmar::platform {

namespace {
// A string value of the registry, or "" (missing, not a string, too long).
std::string RegistryText(HKEY root, const char* path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {};
    }
    char buffer[MAX_PATH * 2] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return {};
    }
    buffer[size < sizeof(buffer) ? size : sizeof(buffer) - 1] = '\0';
    std::string text(buffer);
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text;
}
}  // namespace

bool ProgramsHaveExeSuffix() {
    return true;
}

std::string HomeDirectory() {
    return GetEnvironment("USERPROFILE").value_or(std::string());
}

std::vector<std::string> ProgramFilesFolders() {
    std::vector<std::string> folders;
    for (const char* name : {"ProgramFiles", "ProgramFiles(x86)"}) {
        if (auto value = GetEnvironment(name); value && !value->empty()) {
            folders.push_back(*value);
        }
    }
    return folders;
}

std::vector<std::string> RecordedSteamFolders() {
    std::vector<std::string> folders;
    for (const std::string& folder :
         {RegistryText(HKEY_CURRENT_USER, "Software\\Valve\\Steam", "SteamPath"),
          RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\WOW6432Node\\Valve\\Steam", "InstallPath"),
          RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Valve\\Steam", "InstallPath")}) {
        if (!folder.empty()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

}  // namespace fenmar::platform
