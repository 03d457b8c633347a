#include "ui/servers/ServerListStore.h"

#include "core/ServerLists.h"
#include "store/RegistryHandling.h"
#include "store/Store.h"

namespace fenmar::ui {

namespace {
// A damaged "Count" cannot make the window list (and query) millions of servers.
constexpr int kMostKeptServers = 1000;
constexpr const char* kQuakeWorldEngineValue = "QuakeWorldEngine";
}  // namespace

std::string ServersKeyPath() {
    return fenmar::ServersKeyPath();
}

std::vector<std::string> LoadKeptServers(store::Store* store) {
    std::vector<std::string> servers;
    if (store != nullptr && store->KeyExists(ServersKeyPath())) {
        store::RegReadStringList(*store, ServersKeyPath(), servers, true, kMostKeptServers);
    }
    return servers;
}

void SaveKeptServers(store::Store* store, const std::vector<std::string>& servers) {
    if (store != nullptr && store->CreateKey(ServersKeyPath()) == store::Status::Ok) {
        store::RegWriteStringList(*store, ServersKeyPath(), servers);
    }
}

std::string LoadQuakeWorldEngine(store::Store* store) {
    if (store == nullptr || !store->KeyExists(ServersKeyPath())) {
        return {};
    }
    return store::RegReadString(*store, ServersKeyPath(), kQuakeWorldEngineValue);
}

void SaveQuakeWorldEngine(store::Store* store, const std::string& name) {
    if (store != nullptr && store->CreateKey(ServersKeyPath()) == store::Status::Ok) {
        store::RegWriteString(*store, ServersKeyPath(), kQuakeWorldEngineValue, name);
    }
}

}  // namespace fenmar::ui
