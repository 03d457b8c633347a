// The store over the real registry (Windows only): HKEY_CURRENT_USER and the ...A functions.
// Every operation opens the key by its full path and closes it again. The registry has no
// transactions: BeginTransaction/Commit succeed and do nothing, writes land at once.

#include <windows.h>

#include <memory>
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
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

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
        const LONG rc = key.Open(HKEY_CURRENT_USER, NormalizeKeyPath(path));
        if (rc != ERROR_SUCCESS) {
            return rc == ERROR_FILE_NOT_FOUND ? Status::KeyDeleted : StatusOf(rc);
        }
        return StatusOf(RegDeleteValueA(key.Get(), std::string(name).c_str()));
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
                return Status::Ok;
            }
            if (e != ERROR_SUCCESS) {
                return Status::Failed;
            }
            out.emplace_back(name, length);
        }
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
                return Status::Ok;
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
            out.push_back({std::string(name.data(), nameLength), type,
                           std::string(reinterpret_cast<const char*>(data.data()), dataLength)});
        }
    }

    Status QueryValue(std::string_view path, std::string_view name, ValueData& out) override {
        OpenedKey key;
        const LONG rc = key.Open(HKEY_CURRENT_USER, NormalizeKeyPath(path));
        if (rc != ERROR_SUCCESS) {
            return rc == ERROR_FILE_NOT_FOUND ? Status::KeyDeleted : StatusOf(rc);
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
        const LONG rc = key.Open(HKEY_CURRENT_USER, NormalizeKeyPath(path));
        if (rc != ERROR_SUCCESS) {
            return rc == ERROR_FILE_NOT_FOUND ? Status::KeyDeleted : StatusOf(rc);
        }
        return StatusOf(RegSetValueExA(key.Get(), std::string(name).c_str(), 0, type,
                                       reinterpret_cast<const BYTE*>(bytes.data()),
                                       static_cast<DWORD>(bytes.size())));
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
