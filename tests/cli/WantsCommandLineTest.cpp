#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CommandLineInterface.h"

namespace fenmar {
namespace {

bool Wants(std::vector<std::string> args) {
    args.insert(args.begin(), "fenmar");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    return cli::WantsCommandLine(static_cast<int>(argv.size()), argv.data());
}

// Qt's GUI options keep opening the window; everything else is for the command line.
TEST(WantsCommandLine, QtWindowOptionsStillOpenTheWindow) {
    EXPECT_FALSE(Wants({}));
    EXPECT_FALSE(Wants({"-platform", "offscreen"}));
    EXPECT_FALSE(Wants({"-style=fusion", "-reverse", "--platform", "xcb"}));
    EXPECT_TRUE(Wants({"--version"}));
    EXPECT_TRUE(Wants({"-platform", "offscreen", "--list-quicksets"}));
    EXPECT_TRUE(Wants({"Coop night"}));
    EXPECT_TRUE(Wants({"-"}));
    EXPECT_TRUE(Wants({"--frobnicate"}));
}

}  // namespace
}  // namespace fenmar
