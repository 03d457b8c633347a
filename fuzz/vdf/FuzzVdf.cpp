// Any bytes as a libraryfolders.vdf: the reader returns a bounded list of paths of bounded
// length, each once, and never more than the input could name.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/LibraryFolders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto paths = fenmar::ParseLibraryFolders(text);
    if (paths.size() > fenmar::kMaxLibraryFolders) {
        std::abort();
    }
    std::size_t total = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (paths[i].empty() || paths[i].size() > fenmar::kMaxLibraryFolderText) {
            std::abort();
        }
        if (std::find(paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(i), paths[i]) !=
            paths.begin() + static_cast<std::ptrdiff_t>(i)) {
            std::abort();
        }
        total += paths[i].size();
    }
    if (total > size) {
        std::abort();
    }
    return 0;
}
