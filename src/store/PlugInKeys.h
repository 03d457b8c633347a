#pragma once
// The store as plug-ins see it. The registry functions of fenmar/store.h are defined in the
// OBJECT library fenmar_store_capi: every program that loads plug-ins links it and sets
// ENABLE_EXPORTS, so a plug-in library resolves them from the program. On Windows plug-ins
// call the real registry, and these helpers open real registry keys.

#include <cstddef>

#include "fenmar/store.h"
#include "store/Store.h"

namespace fenmar::store {

// The store that HKEY_CURRENT_USER stands for in the C functions. Without one (nullptr,
// the start state) they answer ERROR_INVALID_HANDLE for it. Handles opened through it
// must be closed before the store is destroyed.
void SetPlugInStore(Store* store);
Store* PlugInStore();

// A new handle of the open key `key` for a plug-in (nullptr when `key` is not open). The
// caller closes it with RegCloseKey, or lets a PlugInKey do that.
HKEY WrapPlugInKey(const Key& key);

// Handles of the C functions still open (for tests; always 0 on Windows).
std::size_t OpenPlugInHandleCount();

// Owns the handle of one key handed to a plug-in for the duration of a call.
class PlugInKey {
public:
    explicit PlugInKey(const Key& key) : handle_(WrapPlugInKey(key)) {}
    ~PlugInKey() {
        if (handle_ != nullptr) {
            RegCloseKey(handle_);
        }
    }
    PlugInKey(const PlugInKey&) = delete;
    PlugInKey& operator=(const PlugInKey&) = delete;

    HKEY Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HKEY handle_;
};

}  // namespace fenmar::store
