#include "platform/InstallPlaces.h"
#include "platform/ProgramSearch.h"

namespace fenmar::platform {

bool ProgramsHaveExeSuffix() {
    return false;
}

std::string HomeDirectory() {
    return GetEnvironment("HOME").value_or(std::string());
}

std::vector<std::string> ProgramFilesFolders() {
    return {};
}

std::vector<std::string> RecordedSteamFolders() {
    return {};
}

}  // namespace fenmar::platform
