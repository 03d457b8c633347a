// Builds without SQLite (Windows builds where it is not installed, the 32-bit x86 test build):
// store files cannot be opened; a store kept in memory stands in, with the same rules as the
// SQLite one (names compared ignoring case, subkeys sorted so, values in the order first
// written, nested transactions).

#include <map>
#include <memory>

#include "store/OpenStore.h"

namespace fenmar::store {
namespace {

class MemoryStore final : public Store {
public:
    MemoryStore() { keys_[""]; }

    bool KeyExists(std::string_view path) override {
        std::string folded;
        return Fold(path, folded) && keys_.count(folded) > 0;
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
            folded += (folded.empty() ? "" : "\\") + FoldCase(part);
            made = keys_.try_emplace(folded, Node{part, {}}).second;
        }
        if (created != nullptr) {
            *created = made;
        }
        return Status::Ok;
    }

    Status DeleteKey(std::string_view path) override {
        std::string folded;
        if (!Fold(path, folded) || folded.empty()) {
            return Status::InvalidArgument;
        }
        const auto key = keys_.find(folded);
        if (key == keys_.end()) {
            return Status::NotFound;
        }
        keys_.erase(key);
        // Everything below it: the paths that continue it with a backslash.
        const std::string below = folded + "\\";
        auto end = keys_.lower_bound(below);
        while (end != keys_.end() && end->first.compare(0, below.size(), below) == 0) {
            end = keys_.erase(end);
        }
        return Status::Ok;
    }

    Status DeleteValue(std::string_view path, std::string_view name) override {
        Node* node = nullptr;
        if (const Status found = ValueKey(path, node); found != Status::Ok) {
            return found;
        }
        const auto value = Find(*node, name);
        if (value == node->values.end()) {
            return Status::NotFound;
        }
        node->values.erase(value);
        return Status::Ok;
    }

    Status EnumSubkeys(std::string_view path, std::vector<std::string>& out) override {
        out.clear();
        std::string folded;
        if (!Fold(path, folded)) {
            return Status::InvalidArgument;
        }
        const auto key = keys_.find(folded);
        if (key == keys_.end()) {
            return Status::NotFound;
        }
        const std::string prefix = folded.empty() ? "" : folded + "\\";
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
        std::string folded;
        if (!Fold(path, folded)) {
            return Status::InvalidArgument;
        }
        const auto key = keys_.find(folded);
        if (key == keys_.end()) {
            return Status::NotFound;
        }
        out = key->second.values;
        return Status::Ok;
    }

    Status QueryValue(std::string_view path, std::string_view name, ValueData& out) override {
        Node* node = nullptr;
        if (const Status found = ValueKey(path, node); found != Status::Ok) {
            return found;
        }
        const auto value = Find(*node, name);
        if (value == node->values.end()) {
            return Status::NotFound;
        }
        out.type = value->type;
        out.bytes = value->bytes;
        return Status::Ok;
    }

    Status SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                    std::string_view bytes) override {
        Node* node = nullptr;
        if (const Status found = ValueKey(path, node); found != Status::Ok) {
            return found;
        }
        const auto value = Find(*node, name);
        if (value == node->values.end()) {
            node->values.push_back({std::string(name), type, std::string(bytes)});
        } else {
            value->type = type;
            value->bytes = std::string(bytes);
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
    struct Node {
        std::string name;
        std::vector<NamedValue> values;
    };
    // By folded path; a key's subtree is the run of paths that begin with its path and a
    // backslash (not always right behind the key: "A" < "A0" < "A\\B").
    using Keys = std::map<std::string, Node>;

    static bool Fold(std::string_view path, std::string& folded) {
        std::vector<std::string> parts;
        if (!SplitKeyPath(path, parts)) {
            return false;
        }
        for (const std::string& part : parts) {
            folded += (folded.empty() ? "" : "\\") + FoldCase(part);
        }
        return true;
    }
    Status ValueKey(std::string_view path, Node*& node) {
        std::string folded;
        if (!Fold(path, folded)) {
            return Status::InvalidArgument;
        }
        const auto key = keys_.find(folded);
        if (key == keys_.end()) {
            return Status::KeyDeleted;
        }
        node = &key->second;
        return Status::Ok;
    }
    static std::vector<NamedValue>::iterator Find(Node& node, std::string_view name) {
        const std::string fold = FoldCase(name);
        for (auto it = node.values.begin(); it != node.values.end(); ++it) {
            if (FoldCase(it->name) == fold) {
                return it;
            }
        }
        return node.values.end();
    }

    Keys keys_;
    std::vector<Keys> saved_;  // the keys as they were when each open transaction began
};

}  // namespace

std::unique_ptr<Store> OpenMemoryStore() {
    return std::make_unique<MemoryStore>();
}

OpenResult OpenStoreAt(const std::string& file) {
    OpenResult result;
    result.file = file;
    result.problem = "this build cannot open store files (it was built without SQLite)";
    result.store = OpenMemoryStore();
    return result;
}

}  // namespace fenmar::store
