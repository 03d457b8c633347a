// The store over the real registry (Windows only): HKEY_CURRENT_USER and the ...A functions.
// Every operation opens the key by its full path and closes it again. The registry has no
// transactions: BeginTransaction/Commit succeed and do nothing, writes land at once.
//
// Order of enumeration: subkeys are sorted here (registries differ in how they sort names
// that hold characters between 'Z' and 'a'). Values come in the order they were first
// written; Windows' registry keeps that order itself, but others (Wine's) enumerate values
// sorted by name. Such a registry is found out once per run, and then each key the program
// writes carries a list of its value names in the order first written (kOrderValue,
// REG_MULTI_SZ), which enumeration follows and never shows.

#include <windows.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "store/OpenStore.h"

namespace fenmar::store {
namespace {

Status StatusOf(LONG rc) {
    switch (rc) {
        case ERROR_SUCCESS:
            return Status::Ok;
        case ERROR_FILE_NOT_FOUND:
            return Status::NotFound;
        case ERROR_KEY_DELETED:
            return Status::KeyDeleted;
        default:
            return Status::Failed;
    }
}

// An open registry key, closed when it goes out of scope.
class OpenedKey {
public:
    OpenedKey() = default;
    ~OpenedKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    LONG Open(HKEY parent, const std::string& path) {
        return RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key_);
    }
    // Opens the key at `path` below the current user's for an operation on its value `name`;
    // a missing key is one deleted under the caller. The hidden order value is never the
    // caller's: `forOrderValue` is the answer when `name` is that one.
    Status OpenForValue(std::string_view path, std::string_view name, Status forOrderValue);
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The hidden list of value names in the order first written.
constexpr const char* kOrderValue = "Fenmar: order of values";

bool IsOrderValue(std::string_view name) {
    return EqualsIgnoringCase(name, kOrderValue);
}

Status OpenedKey::OpenForValue(std::string_view path, std::string_view name, Status forOrderValue) {
    const LONG rc = Open(HKEY_CURRENT_USER, NormalizeKeyPath(path));
    if (rc != ERROR_SUCCESS) {
        return rc == ERROR_FILE_NOT_FOUND ? Status::KeyDeleted : StatusOf(rc);
    }
    return IsOrderValue(name) ? forOrderValue : Status::Ok;
}

// Does the registry enumerate values in the order they were created? Tried once, on a
// volatile key of its own that disappears again.
bool RegistryKeepsValueOrder() {
    static std::once_flag once;
    static bool keeps = true;
    std::call_once(once, [] {
        const std::string probe =
            "Software\\Fenmar value order probe " + std::to_string(GetCurrentProcessId());
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, probe.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        const BYTE data[] = {'x'};
        RegSetValueExA(key, "b", 0, REG_SZ, data, 1);
        RegSetValueExA(key, "a", 0, REG_SZ, data, 1);
        char first[4] = {};
        DWORD length = sizeof first;
        if (RegEnumValueA(key, 0, first, &length, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS) {
            keeps = std::string_view(first, length) == "b";
        }
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, probe.c_str());
    });
    return keeps;
}

// The names of kOrderValue (empty when there is none).
std::vector<std::string> ReadOrder(HKEY key) {
    std::vector<std::string> names;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, kOrderValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ) {
        return names;
    }
    std::string data(size, '\0');
    if (RegQueryValueExA(key, kOrderValue, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        return names;
    }
    data.resize(size);
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t end = std::min(data.find('\0', start), data.size());
        if (end == start) {
            break;  // the empty string that ends the list
        }
        names.emplace_back(data, start, end - start);
        start = end + 1;
    }
    return names;
}

LONG WriteOrder(HKEY key, const std::vector<std::string>& names) {
    std::string data;
    for (const std::string& name : names) {
        data += name;
        data += '\0';
    }
    data += '\0';
    return RegSetValueExA(key, kOrderValue, 0, REG_MULTI_SZ,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

// Takes `name` out of the list; with `append`, puts it at the end.
void UpdateOrder(HKEY key, std::string_view name, bool append) {
    std::vector<std::string> names = ReadOrder(key);
    const auto stale = std::remove_if(names.begin(), names.end(), [&](const std::string& other) {
        return EqualsIgnoringCase(other, name);
    });
    const bool found = stale != names.end();
    names.erase(stale, names.end());
    if (append) {
        names.emplace_back(name);
    } else if (!found) {
        return;
    }
    WriteOrder(key, names);
}

// Deletes `name` below `parent` with everything below it (RegDeleteKeyA alone refuses keys
// that have subkeys).
LONG DeleteTree(HKEY parent, const std::string& name) {
    {
        OpenedKey key;
        const LONG rc = key.Open(parent, name);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        char child[256];
        for (;;) {
            DWORD length = sizeof child;
            if (RegEnumKeyExA(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            const LONG sub = DeleteTree(key.Get(), child);
            if (sub != ERROR_SUCCESS) {
                return sub;
            }
        }
    }
    return RegDeleteKeyA(parent, name.c_str());
}

class Win32Store final : public Store {
public:
    bool KeyExists(std::string_view path) override {
        OpenedKey key;
        return key.Open(HKEY_CURRENT_USER, NormalizeKeyPath(path)) == ERROR_SUCCESS;
    }

    Status CreateKey(std::string_view path, bool* created) override {
        if (created != nullptr) {
            *created = false;
        }
        std::vector<std::string> parts;
        if (!SplitKeyPath(path, parts)) {
            return Status::InvalidArgument;
        }
        HKEY key = nullptr;
        DWORD disposition = 0;
        const LONG rc =
            RegCreateKeyExA(HKEY_CURRENT_USER, NormalizeKeyPath(path).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, &disposition);
        if (rc != ERROR_SUCCESS) {
            return StatusOf(rc);
        }
        RegCloseKey(key);
        if (created != nullptr) {
            *created = disposition == REG_CREATED_NEW_KEY;
        }
        return Status::Ok;
    }

    Status DeleteKey(std::string_view path) override {
        const std::string normal = NormalizeKeyPath(path);
        if (normal.empty()) {
            return Status::InvalidArgument;
        }
        return StatusOf(DeleteTree(HKEY_CURRENT_USER, normal));
    }

    Status DeleteValue(std::string_view path, std::string_view name) override {
        OpenedKey key;
        if (const Status opened = key.OpenForValue(path, name, Status::NotFound);
            opened != Status::Ok) {
            return opened;
        }
        const Status status = StatusOf(RegDeleteValueA(key.Get(), std::string(name).c_str()));
        if (status == Status::Ok && !RegistryKeepsValueOrder()) {
            UpdateOrder(key.Get(), name, false);
        }
        return status;
    }

    Status EnumSubkeys(std::string_view path, std::vector<std::string>& out) override {
        out.clear();
        OpenedKey key;
        const LONG rc = key.Open(HKEY_CURRENT_USER, NormalizeKeyPath(path));
        if (rc != ERROR_SUCCESS) {
            return StatusOf(rc);
        }
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            const LONG e =
                RegEnumKeyExA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (e == ERROR_NO_MORE_ITEMS) {
                break;
            }
            if (e != ERROR_SUCCESS) {
                return Status::Failed;
            }
            out.emplace_back(name, length);
        }
        std::stable_sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
            return FoldCase(a) < FoldCase(b);
        });
        return Status::Ok;
    }

    Status EnumValues(std::string_view path, std::vector<NamedValue>& out) override {
        out.clear();
        OpenedKey key;
        const LONG rc = key.Open(HKEY_CURRENT_USER, NormalizeKeyPath(path));
        if (rc != ERROR_SUCCESS) {
            return StatusOf(rc);
        }
        DWORD maxName = 0;
        DWORD maxData = 0;
        if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &maxName, &maxData, nullptr, nullptr) != ERROR_SUCCESS) {
            return Status::Failed;
        }
        std::vector<char> name(maxName + 1);
        std::vector<BYTE> data(maxData + 1);
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD dataLength = static_cast<DWORD>(data.size());
            DWORD type = 0;
            const LONG e = RegEnumValueA(key.Get(), index, name.data(), &nameLength, nullptr, &type,
                                         data.data(), &dataLength);
            if (e == ERROR_NO_MORE_ITEMS) {
                break;
            }
            if (e == ERROR_MORE_DATA && name.size() < 16384 + 1) {
                name.resize(16384 + 1);  // changed meanwhile: retry with the largest sizes
                data.resize(data.size() * 2 + 1);
                --index;
                continue;
            }
            if (e != ERROR_SUCCESS) {
                return Status::Failed;
            }
            std::string valueName(name.data(), nameLength);
            if (!IsOrderValue(valueName)) {
                out.push_back(
                    {std::move(valueName), type,
                     std::string(reinterpret_cast<const char*>(data.data()), dataLength)});
            }
        }
        // Listed names first, in the list's order; any others (written by someone else)
        // after them, as the registry gives them.
        const std::vector<std::string> order = ReadOrder(key.Get());
        auto rank = [&](const NamedValue& value) {
            for (std::size_t i = 0; i < order.size(); ++i) {
                if (EqualsIgnoringCase(order[i], value.name)) {
                    return i;
                }
            }
            return order.size();
        };
        std::stable_sort(out.begin(), out.end(), [&](const NamedValue& a, const NamedValue& b) {
            return rank(a) < rank(b);
        });
        return Status::Ok;
    }

    Status QueryValue(std::string_view path, std::string_view name, ValueData& out) override {
        OpenedKey key;
        if (const Status opened = key.OpenForValue(path, name, Status::NotFound);
            opened != Status::Ok) {
            return opened;
        }
        const std::string valueName(name);
        std::vector<BYTE> data(64);
        for (;;) {
            DWORD type = 0;
            DWORD size = static_cast<DWORD>(data.size());
            const LONG e =
                RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, data.data(), &size);
            if (e == ERROR_MORE_DATA) {
                data.resize(size + 1);
                continue;
            }
            if (e != ERROR_SUCCESS) {
                return StatusOf(e);
            }
            out.type = type;
            out.bytes.assign(reinterpret_cast<const char*>(data.data()), size);
            return Status::Ok;
        }
    }

    Status SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                    std::string_view bytes) override {
        OpenedKey key;
        if (const Status opened = key.OpenForValue(path, name, Status::InvalidArgument);
            opened != Status::Ok) {
            return opened;
        }
        const std::string valueName(name);
        const bool tracked = !RegistryKeepsValueOrder();
        const bool isNew =
            tracked && RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_FILE_NOT_FOUND;
        const LONG e = RegSetValueExA(key.Get(), valueName.c_str(), 0, type,
                                      reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()));
        if (e == ERROR_SUCCESS && isNew) {
            UpdateOrder(key.Get(), valueName, true);
        }
        return StatusOf(e);
    }

    bool BeginTransaction() override { return true; }
    bool Commit() override { return true; }
    void Rollback() override {}
    std::string Location() const override { return "HKEY_CURRENT_USER"; }
};

}  // namespace

std::string DefaultStoreDirectory() {
    return {};
}

std::string DefaultStorePath() {
    return {};
}

OpenResult OpenDefaultStore() {
    OpenResult result;
    result.store = std::make_unique<Win32Store>();
    return result;
}

}  // namespace fenmar::store
