#pragma once
// What config-file mode would make of a composed line, without writing anything: the lines
// the config file would receive and the line that would start the game.

#include <string>
#include <vector>

#include "core/LiveProfile.h"

namespace fenmar {

struct ConfigFilePreview {
    bool written = false;            // false: no file would be kept, the line stays as it is
    std::vector<std::string> lines;  // the file's lines, without line ends
    std::string line;                // the game's line
};

// The same grouping as WriteConfigFile (SplitForConfigFile): "+" groups after the line's first
// `headLength` characters become lines, everything else stays. A config file that could not
// be created (no usable name, no id1 directory) keeps the line.
ConfigFilePreview PreviewConfigFile(const LiveProfile& profile, const std::string& line,
                                    std::size_t headLength = 0);

}  // namespace fenmar
