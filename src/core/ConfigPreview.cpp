#include "core/ConfigPreview.h"

#include "core/CommandLine.h"
#include "platform/FileSystem.h"

namespace fenmar {

ConfigFilePreview PreviewConfigFile(const LiveProfile& profile, const std::string& line,
                                    std::size_t headLength) {
    ConfigFilePreview preview;
    preview.line = line;
    const std::string id1 =
        platform::ResolveIgnoringCase(profile.Text(TextField::QuakePath), "id1");
    if (!ConfigFilePath(profile) || !platform::DirectoryExists(id1)) {
        return preview;
    }
    ConfigFileSplit split =
        SplitForConfigFile(line, headLength, profile.Text(TextField::ConfigFile));
    preview.written = !split.lines.empty();
    preview.lines = std::move(split.lines);
    preview.line = std::move(split.line);
    return preview;
}

}  // namespace fenmar
