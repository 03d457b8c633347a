// On Windows plug-ins call the real registry; the host hands them real registry keys.

#include "store/PlugInKeys.h"

namespace fenmar::store {
namespace {
Store* g_store = nullptr;
}  // namespace

void SetPlugInStore(Store* store) {
    g_store = store;
}

Store* PlugInStore() {
    return g_store;
}

HKEY WrapPlugInKey(const Key& key) {
    if (!key.IsOpen()) {
        return nullptr;
    }
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, NormalizeKeyPath(key.Path()).c_str(), 0, KEY_ALL_ACCESS,
                      &handle) != ERROR_SUCCESS) {
        return nullptr;
    }
    return handle;
}

std::size_t OpenPlugInHandleCount() {
    return 0;
}

}  // namespace fenmar::store
