#pragma once
// Where an installed launcher finds its parts, relative to the directory of the program:
// bin/fenmar, lib/fenmar/PlugIns, share/icons. A build tree keeps its plug-ins in the folder
// "PlugIns" beside the program, and that folder wins whenever it exists.

#include <string>

namespace fenmar {

// "PlugIns" beside the program when that folder exists, else <prefix>/lib/fenmar/PlugIns
// where <prefix> is the program directory's parent. Never anywhere else. An empty program
// directory gives "PlugIns".
std::string PlugInDirectoryFor(const std::string& programDir);

// The installed 256-pixel application icon (<prefix>/share/icons/hicolor/256x256/apps/
// fenmar.png) when it exists; else the icon name "fenmar" for the icon theme.
std::string ApplicationIconFor(const std::string& programDir);

}  // namespace fenmar
