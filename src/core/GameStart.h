#pragma once
// What is started for a composed line, and the clean-up of the game's CONFIG.CFG files.

#include <optional>
#include <string>

#include "core/ExecutableTable.h"
#include "core/Globals.h"
#include "platform/Process.h"

namespace fenmar {

inline constexpr const char* kGameConsoleTitle = "Quake - THE game !";

// The game: the Quake directory plus the executable's file, started in the Quake directory
// (the launcher's own when none is set), with the rest of the line as its arguments.
platform::StartRequest GameStartRequest(const Globals& globals, const ExecutableTable& table,
                                        const std::optional<std::string>& shownExecutable,
                                        const std::string& line);

// The companion program: the first word of its line, looked up in PATH when it has no
// directory, in the launcher's own directory.
platform::StartRequest CompanionStartRequest(const std::string& line);

// Deletes config.cfg in id1 (bit 1) and in the patch directory (bit 2, when a patch is set).
// Missing files are skipped; failures are ignored.
void DeleteConfigFiles(const Globals& globals);

}  // namespace fenmar
