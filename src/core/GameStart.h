#pragma once
// What is started for a composed line, and the clean-up of the game's CONFIG.CFG files.

#include <optional>
#include <string>

#include "core/CommandLine.h"
#include "core/EngineProgram.h"
#include "core/ExecutableTable.h"
#include "core/Globals.h"
#include "platform/Process.h"

namespace fenmar {

inline constexpr const char* kGameConsoleTitle = "Quake - THE game !";

// The game: exactly the program the line was composed for, by its absolute path, started in
// the Quake directory of that composition (the launcher's own when none is set), with the
// rest of the line as its arguments.
platform::StartRequest GameStartRequest(const ComposedLaunch& launch);

// Why the composed program cannot be started, for the user; nullopt when it can be tried.
std::optional<std::string> MissingProgramMessage(const ComposedLaunch& launch);

// The companion program as ResolveCompanionProgram finds it; an empty program when the text
// names nothing runnable.
platform::StartRequest CompanionStartRequest(const std::string& line);

// Deletes config.cfg in id1 (bit 1) and in the patch directory (bit 2, when a patch is set).
// Missing files are skipped; failures are ignored. Without a Quake directory nothing is
// deleted (never a config.cfg below wherever the launcher was started).
void DeleteConfigFiles(const Globals& globals);

}  // namespace fenmar
