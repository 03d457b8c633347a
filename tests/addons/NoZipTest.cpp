// Without the zip library an install says it is unavailable and writes nothing.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "addons/Install.h"

namespace fenmar::addons {
namespace {

TEST(NoZipTest, InstallsAreUnavailable) {
    test::TempDir quake;
    AddOn addOn;
    addOn.id = "x";
    const InstallPlan plan = PlanInstall(quake.Str(), addOn, quake.WriteFile("x.zip", "PK"));
    EXPECT_FALSE(ZipSupported());
    EXPECT_EQ(plan.error, kZipUnsupported);
    EXPECT_FALSE(Install(plan, true).Ok());
}

}  // namespace
}  // namespace fenmar::addons
