#pragma once
// The filter box over the catalogue: every blank-separated word of the text must occur in the
// title, the author or the id, ignoring ASCII case.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "addons/AddOn.h"

namespace fenmar::addons {

class AddOnFilter {
public:
    // Prepares the folded texts once; `addOns` must outlive no call (they are copied).
    explicit AddOnFilter(const std::vector<AddOn>& addOns);
    // Positions in `addOns` that match, ascending; all of them for an empty or blank text.
    std::vector<std::size_t> Match(std::string_view text) const;

private:
    std::vector<std::string> folded_;  // "title\nauthor\nid", lower-cased
};

// One-off form of AddOnFilter.
std::vector<std::size_t> FilterAddOns(const std::vector<AddOn>& addOns, std::string_view text);

}  // namespace fenmar::addons
