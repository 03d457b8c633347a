#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "core/LiveProfile.h"

namespace fenmar {
namespace {

TEST(IsSet, EmptyNullAndPlaceholderAreUnsetButOtherCapitalsAreSet) {
    EXPECT_FALSE(IsSet(""));
    EXPECT_FALSE(IsSet("<none>"));
    EXPECT_FALSE(IsSet(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(IsSet("<NONE>"));
    EXPECT_TRUE(IsSet(" "));
    EXPECT_TRUE(IsSet("e1m1"));
}

TEST(LaunchProfileRecord, KeepsFieldOrderWithPointerSizedTexts) {
    // The same order and packing on every build: texts are pointer-sized, nothing padded.
    constexpr std::size_t p = sizeof(void*);
    EXPECT_EQ(offsetof(LaunchProfile, SkillLevel), 2 * p);
    EXPECT_EQ(offsetof(LaunchProfile, NoAutoAim), 3 * p + 2);
    EXPECT_EQ(offsetof(LaunchProfile, ServerType), 5 * p + 5);
    EXPECT_EQ(offsetof(LaunchProfile, CommandLineMode), 7 * p + 15);
    EXPECT_EQ(offsetof(LaunchProfile, SampleRate), 8 * p + 16);
    EXPECT_EQ(offsetof(LaunchProfile, NoJoystick), 8 * p + 33);
    EXPECT_EQ(sizeof(LaunchProfile), 8 * p + 34);
}

TEST(LiveProfile, StartsWithTheInitialValues) {
    const LiveProfile p;
    EXPECT_EQ(p.Text(TextField::LaunchMap), "<none>");
    EXPECT_EQ(p.Text(TextField::GamePatch), "<none>");
    EXPECT_EQ(p.Text(TextField::DemoName), "<none>");
    EXPECT_EQ(p.Text(TextField::HostName), "My server");
    EXPECT_EQ(p.Text(TextField::CurrentServer), "<none>");
    EXPECT_EQ(p.Text(TextField::ConfigFile), "fenmar.cfg");
    EXPECT_TRUE(p.IsAbsent(TextField::QuakePath));
    EXPECT_TRUE(p.IsAbsent(TextField::PatchPath));
    EXPECT_EQ(p->SkillLevel, 1);
    EXPECT_EQ(p->MaxPlayers, 8);
    EXPECT_EQ(p->FragLimit, 50);
    EXPECT_EQ(p->TimeLimit, 30);
    EXPECT_EQ(p->Deathmatch, 1);
    EXPECT_EQ(p->Pausable, 1);
    EXPECT_EQ(p->CommandLineMode, 1);
    EXPECT_EQ(p->SampleRate, 11025);
    EXPECT_EQ(p->IPXPort, 26000);
    EXPECT_EQ(p->UDPPort, 26000);
    EXPECT_EQ(p->AllocateMem, 8);
    EXPECT_EQ(p->LockMethod, 0);
    EXPECT_EQ(p->SafeMode, 0);
}

TEST(LiveProfile, CopiesOwnTheirTexts) {
    LiveProfile a;
    a.SetText(TextField::LaunchMap, "e1m1 - Slipgate Complex");
    LiveProfile b = a;
    a.SetText(TextField::LaunchMap, "dm6");
    EXPECT_EQ(b.Text(TextField::LaunchMap), "e1m1 - Slipgate Complex");
    EXPECT_NE(a->LaunchMap, b->LaunchMap);
    b = a;
    EXPECT_EQ(b.Text(TextField::LaunchMap), "dm6");
    EXPECT_NE(a->LaunchMap, b->LaunchMap);
}

TEST(LiveProfile, AdoptsTextsAPlugInStoredAndOutlivesItsBuffer) {
    LiveProfile p;
    {
        // A plug-in points fields at buffers of its own, which die after the call.
        char mapBuffer[32];
        std::strcpy(mapBuffer, "e2m3");
        p->LaunchMap = mapBuffer;
        p->QuakePath = "/games/quake";
        p->DemoName = nullptr;
        p->HostName = p->HostName;  // unchanged host pointer
        p.AdoptTexts();
        std::memset(mapBuffer, 'x', sizeof mapBuffer - 1);
    }
    EXPECT_EQ(p.Text(TextField::LaunchMap), "e2m3");
    EXPECT_EQ(p.Text(TextField::QuakePath), "/games/quake");
    EXPECT_TRUE(p.IsAbsent(TextField::DemoName));
    EXPECT_EQ(p.Text(TextField::HostName), "My server");
}

// The pointer a packed record holds for one text field, read byte for byte wherever it sits.
const char* StoredPointer(const LaunchProfile& rec, std::size_t offset) {
    const char* p = nullptr;
    std::memcpy(&p, reinterpret_cast<const unsigned char*>(&rec) + offset, sizeof p);
    return p;
}

TEST(LiveProfile, KeepsEveryTextPointerInItsOwnSlotOfThePackedRecord) {
    // Most text fields of the packed record sit at odd addresses; each must still receive
    // exactly its own pointer, and clearing one must touch no other.
    struct Slot {
        TextField field;
        std::size_t offset;
    };
    const Slot slots[] = {
        {TextField::LaunchMap, offsetof(LaunchProfile, LaunchMap)},
        {TextField::GamePatch, offsetof(LaunchProfile, GamePatch)},
        {TextField::DemoName, offsetof(LaunchProfile, DemoName)},
        {TextField::HostName, offsetof(LaunchProfile, HostName)},
        {TextField::CurrentServer, offsetof(LaunchProfile, CurrentServer)},
        {TextField::QuakePath, offsetof(LaunchProfile, QuakePath)},
        {TextField::PatchPath, offsetof(LaunchProfile, PatchPath)},
        {TextField::ConfigFile, offsetof(LaunchProfile, ConfigFile)},
    };
    LiveProfile p;
    for (const Slot& slot : slots) {
        p.SetText(slot.field, "text " + std::to_string(slot.offset));
    }
    const LiveProfile copy = p;  // a copy points at texts of its own
    for (const Slot& slot : slots) {
        const std::string expected = "text " + std::to_string(slot.offset);
        const char* stored = StoredPointer(p.Record(), slot.offset);
        ASSERT_NE(stored, nullptr) << expected;
        EXPECT_EQ(std::string(stored), expected);
        EXPECT_EQ(p.Text(slot.field), expected);
        const char* copied = StoredPointer(copy.Record(), slot.offset);
        ASSERT_NE(copied, nullptr) << expected;
        EXPECT_NE(copied, stored) << expected;
        EXPECT_EQ(std::string(copied), expected);
    }
    p.ClearText(TextField::CurrentServer);
    EXPECT_EQ(StoredPointer(p.Record(), offsetof(LaunchProfile, CurrentServer)), nullptr);
    EXPECT_TRUE(p.IsAbsent(TextField::CurrentServer));
    EXPECT_EQ(p.Text(TextField::HostName),
              "text " + std::to_string(offsetof(LaunchProfile, HostName)));
    EXPECT_EQ(p.Text(TextField::QuakePath),
              "text " + std::to_string(offsetof(LaunchProfile, QuakePath)));
}

}  // namespace
}  // namespace fenmar
