// Builds without SQLite: store files cannot be opened; the store kept in memory stands in.

#include "store/MemoryStore.h"
#include "store/OpenStore.h"

namespace fenmar::store {

std::unique_ptr<Store> OpenMemoryStore() {
    return MakeMemoryStore();
}

OpenResult OpenStoreAt(const std::string& file) {
    OpenResult result;
    result.file = file;
    result.problem = "this build cannot open store files (it was built without SQLite)";
    result.store = OpenMemoryStore();
    return result;
}

}  // namespace fenmar::store
