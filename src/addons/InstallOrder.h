#pragma once
// The order of installing releases: every requirement before what needs it.

#include <string>
#include <vector>

#include "addons/AddOn.h"

namespace fenmar::addons {

struct InstallOrder {
    std::vector<const AddOn*> addOns;  // into the catalogue; requirements first, each once
    std::string error;  // "a needs b, which the catalogue does not list", "cycle: a -> b -> a"
    bool Ok() const { return error.empty(); }
};

// Requirements depth first in the catalogue's order of each release's list, then the
// release; the ids asked for in their order. Unknown ids (asked for or required) and cycles
// are errors, named in `error`; `addOns` is then empty.
InstallOrder PlanInstallOrder(const Catalogue& catalogue, const std::vector<std::string>& ids);

}  // namespace fenmar::addons
