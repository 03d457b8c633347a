// Icons handed over as system icon handles (Windows) arrive as the host's own pixels.

#include <gtest/gtest.h>

#include <filesystem>

#include "Environment.h"
#include "ScriptedPlugInHost.h"
#include "platform/SystemIcon.h"

namespace fenmar {
namespace {

TEST(SystemIcon, ANullHandleIsNoIcon) {
    EXPECT_FALSE(platform::ConvertSystemIcon(nullptr).has_value());
}

TEST(SystemIcon, APlugInsIconHandlesBecomeItsPixelsInBothSizes) {
    if (!test::SystemIsWindows()) {
        GTEST_SKIP() << "plug-ins hand over icon handles on Windows only";
    }
    test::PlugInBench bench;
    bench.AddFixture("IconHandles");
    TPlugIn slot(bench.env);
    slot.Load(bench.LibraryName("IconHandles"));
    ASSERT_TRUE(slot.IsLoaded());
    for (const int size : {1, 2}) {
        const int side = size == 1 ? 16 : 32;
        const PlugInIcon icon = slot.GetIcon(size);
        ASSERT_EQ(icon.kind, PlugInIcon::Kind::Image) << size;
        ASSERT_EQ(icon.width, side);
        ASSERT_EQ(icon.height, side);
        ASSERT_EQ(icon.pixels.size(), static_cast<std::size_t>(side * side));
        EXPECT_EQ(icon.pixels[0] >> 24, 0u) << "the transparent corner";
        const auto at = [&](int x, int y) {
            return icon.pixels[static_cast<std::size_t>(y * side + x)];
        };
        EXPECT_EQ(at(1, 0), 0xFF000000u | (8u << 16) | static_cast<std::uint32_t>(side));
        EXPECT_EQ(at(3, 5), 0xFF000000u | (24u << 16) | (40u << 8) |
                                static_cast<std::uint32_t>(side));  // rows from the top
    }
}

}  // namespace
}  // namespace fenmar
