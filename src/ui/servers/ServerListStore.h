#pragma once
// The servers the user keeps in the Servers window, stored as a list under their own key.

#include <string>
#include <vector>

namespace fenmar::store {
class Store;
}

namespace fenmar::ui {

// "Software\Corvanta\Fenmar\Servers": a key of its own, so no earlier value changes meaning.
std::string ServersKeyPath();

// The kept addresses; empty without a store or key.
std::vector<std::string> LoadKeptServers(store::Store* store);
void SaveKeptServers(store::Store* store, const std::vector<std::string>& servers);

// The name (in the executable list) of the engine that joins QuakeWorld servers, in the value
// "QuakeWorldEngine" beside the kept list; "" when none was chosen.
std::string LoadQuakeWorldEngine(store::Store* store);
void SaveQuakeWorldEngine(store::Store* store, const std::string& name);

}  // namespace fenmar::ui
