#include "core/ServerLists.h"

#include <optional>

#include "store/Store.h"

namespace fenmar {

namespace {

// Longest stored list text read at all.
constexpr std::size_t kMostListBytes = 64 * 1024;

// The value's lines, blanks trimmed and empty lines left out; nullopt when it is absent.
std::optional<std::vector<std::string>> ReadLines(store::Store& store, const char* name,
                                                  std::size_t most) {
    store::ValueData data;
    if (store.QueryValue(ServersKeyPath(), name, data) != store::Status::Ok) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    if (data.type != store::kRegSz || data.bytes.size() > kMostListBytes) {
        return lines;
    }
    const std::string text = data.bytes.substr(0, data.bytes.find('\0'));
    std::size_t start = 0;
    while (start <= text.size() && lines.size() < most) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos) {
            lines.push_back(line.substr(first, line.find_last_not_of(" \t\r") + 1 - first));
        }
        start = end + 1;
    }
    return lines;
}

bool WriteLines(store::Store& store, const char* name, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") == std::string::npos && !line.empty()) {
            text += line + "\n";
        }
    }
    return store.CreateKey(ServersKeyPath()) == store::Status::Ok &&
           store.SetValue(ServersKeyPath(), name, store::kRegSz, text) == store::Status::Ok;
}

}  // namespace

std::string ServersKeyPath() {
    return std::string(store::kFenmarRoot) + "\\Servers";
}

std::vector<std::string> DefaultMasters() {
    return {"qw://master.quakeservers.net:27000", "qw://qwmaster.fodquake.net:27000",
            "dp://dpmaster.deathmask.net:27950", "dp://master.frag-net.com:27950",
            "dp://dpmaster.tchr.no:27950"};
}

std::vector<std::string> ReadStoredMasters(store::Store& store) {
    return ReadLines(store, kMastersValue, kMostMasters).value_or(DefaultMasters());
}

std::vector<std::string> ReadStoredFavourites(store::Store& store) {
    return ReadLines(store, kFavouritesValue, kMostFavourites).value_or(std::vector<std::string>{});
}

bool WriteStoredMasters(store::Store& store, const std::vector<std::string>& masters) {
    return WriteLines(store, kMastersValue, masters);
}

bool WriteStoredFavourites(store::Store& store, const std::vector<std::string>& favourites) {
    return WriteLines(store, kFavouritesValue, favourites);
}

}  // namespace fenmar
