// The store kept in a map: the same rules as the SQLite one (names compared ignoring case,
// subkeys sorted so, values in the order first written, nested transactions).

#include "store/MemoryStore.h"

#include <algorithm>
#include <map>

namespace fenmar::store {
namespace {

class MemoryStore final : public Store {
public:
    MemoryStore() { keys_[""]; }

    bool KeyExists(std::string_view path) override {
        Keys::iterator key;
        return Find(path, Status::NotFound, key) == Status::Ok;
    }

    Status CreateKey(std::string_view path, bool* created) override {
        if (created != nullptr) {
            *created = false;
        }
        std::vector<std::string> parts;
        if (!SplitKeyPath(path, parts)) {
            return Status::InvalidArgument;
        }
        std::string folded;
        bool made = false;
        for (const std::string& part : parts) {
            AppendFolded(folded, part);
            made = keys_.try_emplace(folded, Node{part, {}}).second;
        }
        if (created != nullptr) {
            *created = made;
        }
        return Status::Ok;
    }

    Status DeleteKey(std::string_view path) override {
        Keys::iterator key;
        if (const Status found = Find(path, Status::NotFound, key); found != Status::Ok) {
            return found;
        }
        if (key->first.empty()) {
            return Status::InvalidArgument;  // the root stays
        }
        // Everything below it: the paths that continue it with a backslash.
        const std::string below = key->first + "\\";
        keys_.erase(key);
        auto end = keys_.lower_bound(below);
        while (end != keys_.end() && end->first.compare(0, below.size(), below) == 0) {
            end = keys_.erase(end);
        }
        return Status::Ok;
    }

    Status DeleteValue(std::string_view path, std::string_view name) override {
        Node* node = nullptr;
        Values::iterator value;
        const Status found = ValueAt(path, name, node, value);
        if (found == Status::Ok) {
            node->values.erase(value);
        }
        return found;
    }

    Status EnumSubkeys(std::string_view path, std::vector<std::string>& out) override {
        out.clear();
        Keys::iterator key;
        if (const Status found = Find(path, Status::NotFound, key); found != Status::Ok) {
            return found;
        }
        const std::string prefix = key->first.empty() ? "" : key->first + "\\";
        for (auto it = keys_.lower_bound(prefix);
             it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
            if (it->first.size() > prefix.size() &&
                it->first.find('\\', prefix.size()) == std::string::npos) {
                out.push_back(it->second.name);
            }
        }
        return Status::Ok;
    }

    Status EnumValues(std::string_view path, std::vector<NamedValue>& out) override {
        out.clear();
        Keys::iterator key;
        if (const Status found = Find(path, Status::NotFound, key); found != Status::Ok) {
            return found;
        }
        out = key->second.values;
        return Status::Ok;
    }

    Status QueryValue(std::string_view path, std::string_view name, ValueData& out) override {
        Node* node = nullptr;
        Values::iterator value;
        const Status found = ValueAt(path, name, node, value);
        if (found == Status::Ok) {
            out.type = value->type;
            out.bytes = value->bytes;
        }
        return found;
    }

    Status SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                    std::string_view bytes) override {
        Node* node = nullptr;
        Values::iterator value;
        const Status found = ValueAt(path, name, node, value);
        if (found == Status::NotFound) {
            node->values.push_back({std::string(name), type, std::string(bytes)});
        } else if (found == Status::Ok) {
            value->type = type;
            value->bytes = std::string(bytes);
        } else {
            return found;
        }
        return Status::Ok;
    }

    bool BeginTransaction() override {
        saved_.push_back(keys_);
        return true;
    }
    bool Commit() override {
        if (saved_.empty()) {
            return false;
        }
        saved_.pop_back();
        return true;
    }
    void Rollback() override {
        if (!saved_.empty()) {
            keys_ = std::move(saved_.back());
            saved_.pop_back();
        }
    }

    std::string Location() const override { return "memory"; }

private:
    using Values = std::vector<NamedValue>;
    struct Node {
        std::string name;
        Values values;
    };
    // By folded path; a key's subtree is the run of paths that begin with its path and a
    // backslash (not always right behind the key: "A" < "A0" < "A\\B").
    using Keys = std::map<std::string, Node>;

    static void AppendFolded(std::string& folded, std::string_view part) {
        if (!folded.empty()) {
            folded += '\\';
        }
        folded += FoldCase(part);
    }
    // The key at `path`: InvalidArgument for a path that names no key, `missing` when there
    // is none.
    Status Find(std::string_view path, Status missing, Keys::iterator& key) {
        std::vector<std::string> parts;
        if (!SplitKeyPath(path, parts)) {
            return Status::InvalidArgument;
        }
        std::string folded;
        for (const std::string& part : parts) {
            AppendFolded(folded, part);
        }
        key = keys_.find(folded);
        return key == keys_.end() ? missing : Status::Ok;
    }
    // The value `name` of the key at `path`: KeyDeleted without the key (`node` is then
    // left alone), NotFound without the value.
    Status ValueAt(std::string_view path, std::string_view name, Node*& node,
                   Values::iterator& value) {
        Keys::iterator key;
        if (const Status found = Find(path, Status::KeyDeleted, key); found != Status::Ok) {
            return found;
        }
        node = &key->second;
        const std::string fold = FoldCase(name);
        value = std::find_if(node->values.begin(), node->values.end(),
                             [&](const NamedValue& v) { return FoldCase(v.name) == fold; });
        return value == node->values.end() ? Status::NotFound : Status::Ok;
    }

    Keys keys_;
    std::vector<Keys> saved_;  // the keys as they were when each open transaction began
};

}  // namespace

std::unique_ptr<Store> MakeMemoryStore() {
    return std::make_unique<MemoryStore>();
}

}  // namespace fenmar::store
