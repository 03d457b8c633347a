#include <gtest/gtest.h>

#include "addons/AddOn.h"

namespace fenmar::addons {
namespace {

TEST(AddOnDateTest, Parses) {
    EXPECT_EQ(ParseAddOnDate("03.11.2009").Text(), "2009-11-03");
}

}  // namespace
}  // namespace fenmar::addons
