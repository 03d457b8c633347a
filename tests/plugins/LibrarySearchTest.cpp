// A plug-in's own imports come from its folder or the system's, never from the current
// directory (Windows: the loader otherwise searches it).

#include <gtest/gtest.h>

#include <filesystem>

#include "Environment.h"
#include "ScriptedPlugInHost.h"

namespace fenmar {
namespace {

TEST(LibrarySearch, APlugInsImportsNeverComeFromTheCurrentDirectory) {
    if (!test::SystemIsWindows()) {
        GTEST_SKIP() << "the search order of imported libraries is a Windows matter";
    }
    test::PlugInBench bench;  // the current directory is the bench's own
    bench.AddFixture("NeedsHelper");
    const std::filesystem::path helper =
        std::filesystem::path(FENMAR_TEST_HELPER_DIR) / "PlugInHelper.dll";
    std::filesystem::copy_file(helper, std::filesystem::current_path() / "PlugInHelper.dll");
    TPlugIn slot(bench.env);
    slot.Load(bench.LibraryName("NeedsHelper"));
    EXPECT_FALSE(slot.IsLoaded());

    std::filesystem::copy_file(helper, std::filesystem::path(bench.plugInDir) / "PlugInHelper.dll");
    slot.Load(bench.LibraryName("NeedsHelper"));
    EXPECT_TRUE(slot.IsLoaded());
    EXPECT_TRUE(slot.IsPlugIn());
}

}  // namespace
}  // namespace fenmar
