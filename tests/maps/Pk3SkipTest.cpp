#include <gtest/gtest.h>

#include "maps/Pk3Scan.h"

// Built without a zip library: archives are not read, and the tests that need them say so.
TEST(Pk3Scan, NeedsAZipLibrary) {
    EXPECT_FALSE(fenmar::maps::Pk3Supported());
    EXPECT_TRUE(fenmar::maps::ScanPk3File("any.pk3", {}).entries.empty());
    GTEST_SKIP() << "PK3 tests skipped: this build has no zip library (libzip)";
}
