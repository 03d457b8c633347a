#include "core/InstallLayout.h"

#include <filesystem>

#include "platform/FileSystem.h"

namespace fenmar {

namespace {
std::string PrefixOf(const std::string& programDir) {
    return (std::filesystem::path(programDir) / "..").lexically_normal().string();
}
}  // namespace

std::string PlugInDirectoryFor(const std::string& programDir) {
    const std::string beside = platform::JoinPath(programDir, "PlugIns");
    // Without a known program folder there is no prefix to go up to.
    if (programDir.empty() || platform::DirectoryExists(beside)) {
        return beside;
    }
    std::string dir = PrefixOf(programDir);
    for (const char* part : {"lib", "fenmar", "PlugIns"}) {
        dir = platform::JoinPath(dir, part);
    }
    return dir;
}

std::string ApplicationIconFor(const std::string& programDir) {
    std::string icon = PrefixOf(programDir);
    for (const char* part : {"share", "icons", "hicolor", "256x256", "apps", "fenmar.png"}) {
        icon = platform::JoinPath(icon, part);
    }
    return platform::FileExists(icon) ? icon : std::string("fenmar");
}

}  // namespace fenmar
