// Taking back texts a plug-in rearranged in the live record, and keeping replaced host texts
// alive while a plug-in holds the record.

#include <gtest/gtest.h>

#include <string>

#include "core/LiveProfile.h"

namespace fenmar {
namespace {

// Longer than any in-place string buffer.
const std::string kMap = "e1m1 - Slipgate Complex (a text of some length)";
const std::string kPatch = "a-patch-directory-with-a-long-name";

TEST(LiveProfileAdopt, FieldsPointingAtEachOthersTexts) {
    LiveProfile p;
    p.SetText(TextField::LaunchMap, kMap);
    p.SetText(TextField::GamePatch, kPatch);
    p->DemoName = p->LaunchMap;        // alias
    const char* patch = p->GamePatch;  // swap with a placeholder text
    p->GamePatch = p->CurrentServer;
    p->CurrentServer = patch;
    p->HostName = p->LaunchMap + 7;  // into the middle of a text
    p.AdoptTexts();
    EXPECT_EQ(p.Text(TextField::DemoName), kMap);
    EXPECT_EQ(p.Text(TextField::LaunchMap), kMap);
    EXPECT_EQ(p.Text(TextField::GamePatch), "<none>");
    EXPECT_EQ(p.Text(TextField::CurrentServer), kPatch);
    EXPECT_EQ(p.Text(TextField::HostName), kMap.substr(7));

    // The fields are independent again.
    p.SetText(TextField::LaunchMap, "dm6");
    EXPECT_EQ(p.Text(TextField::DemoName), kMap);
}

TEST(LiveProfileHold, ReplacedTextsLiveUntilTheLastHoldEnds) {
    LiveProfile p;
    p.SetText(TextField::DemoName, kMap);
    const char* handedOver = p->DemoName;
    {
        auto outer = p.HoldTexts();
        {
            auto inner = p.HoldTexts();
            p.SetText(TextField::DemoName, "first choice of a picker, long enough");
            p.SetText(TextField::DemoName, "second choice of a picker, long enough");
        }
        EXPECT_TRUE(p.IsHeld());
        EXPECT_EQ(std::string(handedOver), kMap);  // still readable

        // A plug-in may point a field back at a text the host replaced meanwhile.
        p->LaunchMap = handedOver;
        p.AdoptTexts();
        EXPECT_EQ(p.Text(TextField::LaunchMap), kMap);
    }
    EXPECT_FALSE(p.IsHeld());
    EXPECT_EQ(p.Text(TextField::DemoName), "second choice of a picker, long enough");
    EXPECT_EQ(p.Text(TextField::LaunchMap), kMap);
}

TEST(LiveProfileHold, SettingTheSameTextAgainKeepsThePointer) {
    LiveProfile p;
    p.SetText(TextField::LaunchMap, kMap);
    const char* before = p->LaunchMap;
    p.SetText(TextField::LaunchMap, kMap);
    EXPECT_EQ(p->LaunchMap, before);
    // Not when the field holds someone else's pointer with the same text.
    const std::string foreign = kMap;
    p->LaunchMap = foreign.c_str();
    p.SetText(TextField::LaunchMap, kMap);
    EXPECT_NE(p->LaunchMap, foreign.c_str());
    EXPECT_EQ(p.Text(TextField::LaunchMap), kMap);
}

}  // namespace
}  // namespace fenmar
