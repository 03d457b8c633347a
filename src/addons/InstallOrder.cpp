#include "addons/InstallOrder.h"

#include <algorithm>
#include <unordered_map>

namespace fenmar::addons {

namespace {

enum class Mark { Visiting, Done };
constexpr std::size_t kMaxDepth = 64;

struct Walk {
    const Catalogue& catalogue;
    std::unordered_map<const AddOn*, Mark> marks;
    std::vector<const AddOn*> path;
    InstallOrder order;

    bool Visit(const AddOn& addOn) {
        const auto found = marks.find(&addOn);
        if (found != marks.end()) {
            if (found->second == Mark::Done) {
                return true;
            }
            std::string cycle = "The requirements form a cycle: ";
            const auto start = std::find(path.begin(), path.end(), &addOn);
            for (auto it = start; it != path.end(); ++it) {
                cycle += (*it)->id + " -> ";
            }
            order.error = cycle + addOn.id;
            return false;
        }
        if (path.size() >= kMaxDepth) {
            order.error = "The requirements of " + path.front()->id + " nest too deep";
            return false;
        }
        marks.emplace(&addOn, Mark::Visiting);
        path.push_back(&addOn);
        for (const std::string& id : addOn.requirements) {
            const AddOn* required = catalogue.Find(id);
            if (required == nullptr) {
                order.error = addOn.id + " needs " + id + ", which the catalogue does not list";
                return false;
            }
            if (!Visit(*required)) {
                return false;
            }
        }
        path.pop_back();
        marks[&addOn] = Mark::Done;
        order.addOns.push_back(&addOn);
        return true;
    }
};

}  // namespace

InstallOrder PlanInstallOrder(const Catalogue& catalogue, const std::vector<std::string>& ids) {
    Walk walk{catalogue, {}, {}, {}};
    for (const std::string& id : ids) {
        const AddOn* addOn = catalogue.Find(id);
        if (addOn == nullptr) {
            walk.order.error = "The catalogue does not list " + id;
        } else if (walk.Visit(*addOn)) {
            continue;
        }
        walk.order.addOns.clear();
        return walk.order;
    }
    return walk.order;
}

}  // namespace fenmar::addons
