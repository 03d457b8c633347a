#include "core/History.h"

#include <algorithm>

#include "core/LiveProfile.h"
#include "store/Store.h"

namespace fenmar {

bool AddToHistory(std::vector<std::string>& items, const std::string& text, std::size_t size) {
    if (!IsSet(text) || std::any_of(items.begin(), items.end(), [&](const std::string& item) {
            return store::EqualsIgnoringCase(item, text);
        })) {
        return false;
    }
    if (items.empty()) {
        items.emplace_back(kNone);
    }
    items.insert(items.begin() + 1, text);
    if (items.size() > size + 1) {
        items.resize(size + 1);
    }
    return true;
}

}  // namespace fenmar
