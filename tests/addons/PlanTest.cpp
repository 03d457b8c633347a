#include <gtest/gtest.h>

#include "addons/InstallOrder.h"

namespace fenmar::addons {
namespace {

TEST(InstallOrderTest, RequirementsComeFirst) {
    AddOn mod;
    mod.id = "mod";
    AddOn map;
    map.id = "map";
    map.requirements = {"mod"};
    const Catalogue catalogue({map, mod});
    const InstallOrder order = PlanInstallOrder(catalogue, {"map"});
    ASSERT_TRUE(order.Ok()) << order.error;
    ASSERT_EQ(order.addOns.size(), 2u);
    EXPECT_EQ(order.addOns[0]->id, "mod");
}

}  // namespace
}  // namespace fenmar::addons
