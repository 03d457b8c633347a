#include "store/Store.h"

namespace fenmar::store {

bool SplitKeyPath(std::string_view path, std::vector<std::string>& components) {
    components.clear();
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            if (end - start > kMaxKeyNameLength || components.size() == kMaxKeyDepth) {
                components.clear();
                return false;
            }
            components.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return true;
}

std::string NormalizeKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    SplitKeyPath(path, parts);
    std::string out;
    for (const auto& part : parts) {
        if (!out.empty()) {
            out += '\\';
        }
        out += part;
    }
    return out;
}

std::string JoinKeyPath(std::string_view parent, std::string_view name) {
    std::string out(parent);
    if (!out.empty() && !name.empty() && out.back() != '\\') {
        out += '\\';
    }
    out += name;
    return out;
}

Key OpenKey(Store& store, std::string_view path) {
    std::string normal = NormalizeKeyPath(path);
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts) || !store.KeyExists(normal)) {
        return {};
    }
    return Key(store, std::move(normal));
}

Key CreateKey(Store& store, std::string_view path) {
    std::string normal = NormalizeKeyPath(path);
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts) || store.CreateKey(normal) != Status::Ok) {
        return {};
    }
    return Key(store, std::move(normal));
}

Key OpenSubkey(const Key& key, std::string_view name) {
    if (!key.IsOpen()) {
        return {};
    }
    return OpenKey(*key.GetStore(), JoinKeyPath(key.Path(), name));
}

Key CreateSubkey(const Key& key, std::string_view name) {
    if (!key.IsOpen()) {
        return {};
    }
    return CreateKey(*key.GetStore(), JoinKeyPath(key.Path(), name));
}

Transaction::Transaction(Store& store) : store_(store), active_(store.BeginTransaction()) {}

Transaction::~Transaction() {
    Rollback();
}

bool Transaction::Commit() {
    if (!active_) {
        return false;
    }
    active_ = false;
    return store_.Commit();
}

void Transaction::Rollback() {
    if (active_) {
        active_ = false;
        store_.Rollback();
    }
}

}  // namespace fenmar::store
