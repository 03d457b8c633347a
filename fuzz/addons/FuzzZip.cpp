// Any bytes as a release's zip: the inspection refuses it or lists only clean, relative,
// case-distinct names within its budgets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <string>

#include "addons/ZipEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::addons;
    const UnpackLimits limits;
    const ZipListing listing = InspectZipBytes(std::span<const std::uint8_t>(data, size), limits);
    if (!listing.Ok()) {
        return 0;
    }
    std::set<std::string> folded;
    std::uint64_t total = 0;
    for (const ZipEntry& entry : listing.entries) {
        const std::string& name = entry.name;
        if (name.empty() || name.front() == '/' || name.back() == '/' ||
            name.find('\\') != std::string::npos || name.find(':') != std::string::npos ||
            name == ".." || name.starts_with("../") || name.find("/../") != std::string::npos ||
            name.ends_with("/..") || name.size() > limits.maxNameBytes) {
            std::abort();
        }
        std::string lower;
        for (const char c : name) {
            lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        if (!entry.directory && !folded.insert(lower).second) {
            std::abort();
        }
        total += entry.directory ? 0 : entry.size;
    }
    if (total != listing.totalBytes || total > limits.maxTotalBytes) {
        std::abort();
    }
    return 0;
}
