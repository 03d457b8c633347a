#pragma once
// Pieces shared by the searches for engines and for game data: the bounds of one search,
// directory listings that skip what cannot be read, and telling two names of one place apart.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/Discovery.h"

namespace fenmar::discovery {

// Keeps one search within its bounds of entries and time.
class Budget {
public:
    explicit Budget(const DiscoveryLimits& limits)
        : limits_(limits), deadline_(std::chrono::steady_clock::now() + limits.timeLimit) {}

    // False once the search is to end; counts one more entry looked at.
    bool Spend() {
        if (exhausted_) {
            return false;
        }
        if (++entries_ > limits_.maxEntries ||
            (limits_.stop != nullptr && limits_.stop->load(std::memory_order_relaxed)) ||
            ((entries_ & 63U) == 0 && std::chrono::steady_clock::now() > deadline_)) {
            exhausted_ = true;
        }
        return !exhausted_;
    }
    bool Exhausted() {
        if (!exhausted_ && (std::chrono::steady_clock::now() > deadline_ ||
                            (limits_.stop != nullptr && limits_.stop->load()))) {
            exhausted_ = true;
        }
        return exhausted_;
    }
    int MaxDepth() const { return limits_.maxDepth; }
    // Entries that may still be looked at.
    std::size_t Left() const {
        return exhausted_ || entries_ >= limits_.maxEntries ? 0 : limits_.maxEntries - entries_;
    }

private:
    const DiscoveryLimits& limits_;
    std::chrono::steady_clock::time_point deadline_;
    std::size_t entries_ = 0;
    bool exhausted_ = false;
};

// The entries of one directory, sorted by name; nothing when it cannot be read.
std::vector<std::filesystem::path> ListDirectory(const std::string& dir, Budget& budget);

// A directory below another, and whether its entry is a link.
struct Subdirectory {
    std::filesystem::path path;
    bool link = false;
};
// The subdirectories of `dir`, sorted by name, from at most `perDirectory` of its entries
// and at most `share` (which is reduced by what was looked at); the file types come from the
// listing, so plain files cost no look-up of their own.
std::vector<Subdirectory> ListSubdirectories(const std::string& dir, Budget& budget,
                                             std::size_t& share, std::size_t perDirectory);

// True when `path` is `dir` or lies below it (both resolved, compared as text).
bool LiesWithin(const std::string& path, const std::string& dir);

// A path's target with every link resolved, to tell whether two names lead to one place;
// the path itself when that fails (dangling links, loops).
std::string Identity(const std::string& path);

// False for dangling links and loops as for anything else that is no directory.
bool IsDirectory(const std::string& path);

// A fixed place of the system ("/usr/games") below the environment's root.
std::string SystemPlace(const DiscoveryEnvironment& env, std::string_view place);

std::string Below(const std::string& dir, std::string_view relative);

}  // namespace fenmar::discovery
