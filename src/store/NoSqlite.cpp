// Builds without SQLite (Windows builds where it is not installed): store files cannot be
// opened; the registry (OpenDefaultStore) is the only store.

#include "store/OpenStore.h"

namespace fenmar::store {

std::unique_ptr<Store> OpenMemoryStore() {
    return nullptr;
}

OpenResult OpenStoreAt(const std::string& file) {
    OpenResult result;
    result.file = file;
    result.problem = "this build cannot open store files (it was built without SQLite)";
    return result;
}

}  // namespace fenmar::store
