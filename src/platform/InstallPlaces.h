#pragma once
// Where this system keeps installed programs and games: what the search for engines and game
// data needs to know beyond the environment variables.

#include <string>
#include <vector>

namespace fenmar::platform {

// Programs are "*.exe" files (Windows); elsewhere any runnable file.
bool ProgramsHaveExeSuffix();

// The user's home directory ("" when unknown).
std::string HomeDirectory();

// The "Program Files" folders (Windows); empty elsewhere.
std::vector<std::string> ProgramFilesFolders();

// The Steam client's folders the system records (Windows: the registry); empty elsewhere,
// where the usual folders below home are searched instead.
std::vector<std::string> RecordedSteamFolders();

}  // namespace fenmar::platform
