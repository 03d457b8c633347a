#pragma once
// What the Servers window keeps beside the user's own servers, under the same key
// "Software\Corvanta\Fenmar\Servers": the master servers it asks ("Masters") and the
// favourites ("Favourites"). Each is one text value, one entry a line, so that no numbered
// value of the server list changes meaning.

#include <cstddef>
#include <string>
#include <vector>

namespace fenmar::store {
class Store;
}

namespace fenmar {

std::string ServersKeyPath();

inline constexpr const char* kMastersValue = "Masters";
inline constexpr const char* kFavouritesValue = "Favourites";
// Most entries read from either value: a damaged value cannot make the window ask
// thousands of masters or list thousands of favourites.
inline constexpr std::size_t kMostMasters = 64;
inline constexpr std::size_t kMostFavourites = 1000;

// The masters a new user starts with, "kind://host:port".
std::vector<std::string> DefaultMasters();

// The stored masters; the defaults when nothing is stored (an empty stored list stays empty).
std::vector<std::string> ReadStoredMasters(store::Store& store);
std::vector<std::string> ReadStoredFavourites(store::Store& store);
// Create the key where needed; false when the store refused.
bool WriteStoredMasters(store::Store& store, const std::vector<std::string>& masters);
bool WriteStoredFavourites(store::Store& store, const std::vector<std::string>& favourites);

}  // namespace fenmar
