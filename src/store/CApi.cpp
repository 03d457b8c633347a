// The registry functions of fenmar/store.h over our store, exported by the program for its
// plug-ins (systems without a registry). Compiled into the OBJECT library fenmar_store_capi.

#include <cstring>
#include <limits>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "store/PlugInKeys.h"

#define FENMAR_EXPORT __attribute__((visibility("default")))

using fenmar::store::NamedValue;
using fenmar::store::Status;
using fenmar::store::Store;

struct FenmarStoreKey {
    Store* store = nullptr;
    std::string path;
    // Enumeration snapshots, taken at index 0 and whenever a write through these functions
    // happened since (`*At` holds the change count they were taken at; 0 = none).
    std::uint64_t subkeysAt = 0;
    std::vector<std::string> subkeys;
    std::uint64_t valuesAt = 0;
    std::vector<NamedValue> values;
};

namespace {

std::mutex g_mutex;
FenmarStoreKey g_root;  // what HKEY_CURRENT_USER stands for
std::unordered_set<FenmarStoreKey*> g_handles;
std::uint64_t g_changes = 1;

// The key object behind a handle; nullptr for an unknown handle or a missing store.
FenmarStoreKey* Find(HKEY key) {
    FenmarStoreKey* k = nullptr;
    if (key == HKEY_CURRENT_USER) {
        k = &g_root;
    } else if (g_handles.count(key) != 0) {
        k = key;
    }
    return (k != nullptr && k->store != nullptr) ? k : nullptr;
}

HKEY NewHandle(Store* store, std::string path) {
    auto* k = new FenmarStoreKey;
    k->store = store;
    k->path = std::move(path);
    g_handles.insert(k);
    return k;
}

LONG ErrorOf(Status status, LONG failure) {
    switch (status) {
        case Status::Ok:
            return ERROR_SUCCESS;
        case Status::NotFound:
            return ERROR_FILE_NOT_FOUND;
        case Status::KeyDeleted:
            return ERROR_KEY_DELETED;
        case Status::InvalidArgument:
            return ERROR_INVALID_PARAMETER;
        case Status::Failed:
            break;
    }
    return failure;
}

// A key's listing is read when an enumeration starts (index 0) or the store changed since it
// was read; ERROR_SUCCESS when `index` lies inside it.
template <typename Item, typename Read>
LONG RefreshListing(DWORD index, std::vector<Item>& items, std::uint64_t& readAt, Read read) {
    if (index == 0 || readAt != g_changes) {
        const Status status = read(items);
        if (status != Status::Ok) {
            readAt = 0;
            return ErrorOf(status, ERROR_CANTREAD);
        }
        readAt = g_changes;
    }
    return index < items.size() ? ERROR_SUCCESS : ERROR_NO_MORE_ITEMS;
}

// The key behind `hKey` and the path of `sub` below it (with g_mutex held):
// ERROR_INVALID_HANDLE for an unknown handle, ERROR_INVALID_PARAMETER when `sub` cannot name a
// key.
LONG FindSubKey(HKEY hKey, LPCSTR sub, FenmarStoreKey*& k, std::string& path) {
    k = Find(hKey);
    if (k == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    path = fenmar::store::JoinKeyPath(k->path, sub != nullptr ? sub : "");
    std::vector<std::string> parts;
    if (!fenmar::store::SplitKeyPath(path, parts)) {
        return ERROR_INVALID_PARAMETER;
    }
    path = fenmar::store::NormalizeKeyPath(path);
    return ERROR_SUCCESS;
}

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

DWORD SizeOf(const std::string& s) {
    return s.size() > std::numeric_limits<DWORD>::max() ? std::numeric_limits<DWORD>::max()
                                                        : static_cast<DWORD>(s.size());
}

// Copies value data into a caller's buffer of *size bytes (registry rules: ERROR_MORE_DATA
// with the needed size when too small; a text gets a terminating zero when there is room).
LONG CopyData(const std::string& bytes, DWORD type, LPBYTE data, LPDWORD size) {
    const DWORD need = SizeOf(bytes);
    if (data != nullptr) {
        if (*size < need) {
            *size = need;
            return ERROR_MORE_DATA;
        }
        if (need > 0) {
            std::memcpy(data, bytes.data(), need);
        }
        if (IsText(type) && *size > need && (need == 0 || bytes.back() != '\0')) {
            data[need] = 0;
        }
    }
    if (size != nullptr) {
        *size = need;
    }
    return ERROR_SUCCESS;
}

}  // namespace

namespace fenmar::store {

void SetPlugInStore(Store* store) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_root.store = store;
    ++g_changes;
}

Store* PlugInStore() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    return g_root.store;
}

HKEY WrapPlugInKey(const Key& key) {
    if (!key.IsOpen()) {
        return nullptr;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    return NewHandle(key.GetStore(), NormalizeKeyPath(key.Path()));
}

std::size_t OpenPlugInHandleCount() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    return g_handles.size();
}

}  // namespace fenmar::store

extern "C" {

FENMAR_EXPORT LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/,
                                        REGSAM /*samDesired*/, PHKEY phkResult) {
    if (phkResult == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = nullptr;
    std::string path;
    if (const LONG found = FindSubKey(hKey, lpSubKey, k, path); found != ERROR_SUCCESS) {
        return found;
    }
    if (!k->store->KeyExists(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    *phkResult = NewHandle(k->store, std::move(path));
    return ERROR_SUCCESS;
}

FENMAR_EXPORT LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/,
                                          LPSTR /*lpClass*/, DWORD /*dwOptions*/,
                                          REGSAM /*samDesired*/,
                                          const LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/,
                                          PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (phkResult == nullptr || lpSubKey == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = nullptr;
    std::string path;
    if (const LONG found = FindSubKey(hKey, lpSubKey, k, path); found != ERROR_SUCCESS) {
        return found;
    }
    ++g_changes;
    bool created = false;
    const Status status = k->store->CreateKey(path, &created);
    if (status != Status::Ok) {
        return ErrorOf(status, ERROR_CANTWRITE);
    }
    if (lpdwDisposition != nullptr) {
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    *phkResult = NewHandle(k->store, std::move(path));
    return ERROR_SUCCESS;
}

FENMAR_EXPORT LONG WINAPI RegCloseKey(HKEY hKey) {
    if (hKey == HKEY_CURRENT_USER) {
        return ERROR_SUCCESS;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (g_handles.erase(hKey) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    delete hKey;
    return ERROR_SUCCESS;
}

FENMAR_EXPORT LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved,
                                           LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = Find(hKey);
    if (k == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    fenmar::store::ValueData value;
    const Status status =
        k->store->QueryValue(k->path, lpValueName != nullptr ? lpValueName : "", value);
    if (status != Status::Ok) {
        return ErrorOf(status, ERROR_CANTREAD);
    }
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    return CopyData(value.bytes, value.type, lpData, lpcbData);
}

FENMAR_EXPORT LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/,
                                         DWORD dwType, const BYTE* lpData, DWORD cbData) {
    if (lpData == nullptr && cbData != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = Find(hKey);
    if (k == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    ++g_changes;
    const std::string_view bytes =
        cbData == 0 ? std::string_view()
                    : std::string_view(reinterpret_cast<const char*>(lpData), cbData);
    return ErrorOf(
        k->store->SetValue(k->path, lpValueName != nullptr ? lpValueName : "", dwType, bytes),
        ERROR_CANTWRITE);
}

FENMAR_EXPORT LONG WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    if (lpSubKey == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = nullptr;
    std::string path;
    if (const LONG found = FindSubKey(hKey, lpSubKey, k, path); found != ERROR_SUCCESS) {
        return found;
    }
    if (path == fenmar::store::NormalizeKeyPath(k->path)) {
        return ERROR_INVALID_PARAMETER;  // a subkey must be named
    }
    ++g_changes;
    return ErrorOf(k->store->DeleteKey(path), ERROR_CANTWRITE);
}

FENMAR_EXPORT LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = Find(hKey);
    if (k == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    ++g_changes;
    return ErrorOf(k->store->DeleteValue(k->path, lpValueName != nullptr ? lpValueName : ""),
                   ERROR_CANTWRITE);
}

FENMAR_EXPORT LONG WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName,
                                        LPDWORD lpReserved, LPSTR lpClass, LPDWORD lpcchClass,
                                        PFILETIME lpftLastWriteTime) {
    if (lpName == nullptr || lpcchName == nullptr || lpReserved != nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = Find(hKey);
    if (k == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const LONG listed = RefreshListing(dwIndex, k->subkeys, k->subkeysAt, [k](auto& names) {
        return k->store->EnumSubkeys(k->path, names);
    });
    if (listed != ERROR_SUCCESS) {
        return listed;
    }
    const std::string& name = k->subkeys[dwIndex];
    if (SizeOf(name) >= *lpcchName) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(lpName, name.c_str(), name.size() + 1);
    *lpcchName = SizeOf(name);
    if (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass > 0) {
        lpClass[0] = '\0';
    }
    if (lpcchClass != nullptr) {
        *lpcchClass = 0;
    }
    if (lpftLastWriteTime != nullptr) {
        lpftLastWriteTime->dwLowDateTime = 0;
        lpftLastWriteTime->dwHighDateTime = 0;
    }
    return ERROR_SUCCESS;
}

FENMAR_EXPORT LONG WINAPI RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName,
                                        LPDWORD lpcchValueName, LPDWORD lpReserved, LPDWORD lpType,
                                        LPBYTE lpData, LPDWORD lpcbData) {
    if (lpValueName == nullptr || lpcchValueName == nullptr || lpReserved != nullptr ||
        (lpData != nullptr && lpcbData == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::lock_guard<std::mutex> lock(g_mutex);
    FenmarStoreKey* k = Find(hKey);
    if (k == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    const LONG listed = RefreshListing(dwIndex, k->values, k->valuesAt, [k](auto& values) {
        return k->store->EnumValues(k->path, values);
    });
    if (listed != ERROR_SUCCESS) {
        return listed;
    }
    const NamedValue& value = k->values[dwIndex];
    if (SizeOf(value.name) >= *lpcchValueName) {
        return ERROR_MORE_DATA;
    }
    const LONG copied = CopyData(value.bytes, value.type, lpData, lpcbData);
    if (copied != ERROR_SUCCESS) {
        return copied;
    }
    std::memcpy(lpValueName, value.name.c_str(), value.name.size() + 1);
    *lpcchValueName = SizeOf(value.name);
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    return ERROR_SUCCESS;
}

}  // extern "C"
