#include "core/ConfigPreview.h"

#include "core/CommandLine.h"
#include "platform/FileSystem.h"

namespace fenmar {

ConfigFilePreview PreviewConfigFile(const LiveProfile& profile, const std::string& line) {
    ConfigFilePreview preview;
    preview.line = line;
    const std::string id1 =
        platform::ResolveIgnoringCase(profile.Text(TextField::QuakePath), "id1");
    if (!ConfigFilePath(profile) || !platform::DirectoryExists(id1)) {
        return preview;
    }
    std::string rest = line;
    const std::size_t firstBlank = rest.find(' ');
    if (firstBlank != std::string::npos) {
        std::size_t pos = firstBlank + 1;
        while (pos < rest.size()) {
            std::size_t end = pos;
            while (end < rest.size() && !(rest[end] == ' ' && end + 1 < rest.size() &&
                                          (rest[end + 1] == '+' || rest[end + 1] == '-'))) {
                ++end;
            }
            if (rest[pos] != '+') {
                pos = end + 1;
                continue;
            }
            preview.lines.push_back(rest.substr(pos + 1, end - pos - 1));
            rest.erase(pos, end - pos + (end < rest.size() ? 1 : 0));
        }
    }
    if (preview.lines.empty()) {
        return preview;
    }
    std::size_t b = 0;
    std::size_t e = rest.size();
    while (b < e && static_cast<unsigned char>(rest[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(rest[e - 1]) <= 32) --e;
    preview.written = true;
    preview.line = rest.substr(b, e - b) + " +exec " + profile.Text(TextField::ConfigFile);
    return preview;
}

}  // namespace fenmar
