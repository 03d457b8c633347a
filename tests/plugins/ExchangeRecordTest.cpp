// The 1.22 copy: every shared field reaches its own place in both directions.

#include <gtest/gtest.h>

#include <cstring>

#include "plugins/ExchangeRecord.h"

namespace fenmar {
namespace {

// The fields both layouts share, by name.
#define FENMAR_SHARED_FIELDS(X)                                                                    \
    X(SkillLevel)                                                                                  \
    X(DemoState) X(EnableServer) X(ConnectToServer) X(ServerType) X(MaxPlayers) X(EnableFragLimit) \
        X(FragLimit) X(EnableTimeLimit) X(TimeLimit) X(Deathmatch) X(Teamplay) X(NoExit)           \
            X(Pausable) X(CommandLineMode) X(SampleRate) X(ForceCDMediaCheck) X(DisableTCPIP)      \
                X(DisableIPX) X(DisableSerial) X(IPXPort) X(UDPPort) X(AllocateMem) X(LockMethod)  \
                    X(SafeMode) X(DisableVESA) X(NoProtocols) X(MuteAll) X(DisableCDAudio)

// Gives every shared field of both records the same value, distinct from every other field.
template <typename A, typename B>
void FillDistinct(A& a, B& b, int base) {
    int next = base;
#define FENMAR_SET(field)                           \
    a.field = static_cast<decltype(a.field)>(next); \
    b.field = static_cast<decltype(b.field)>(next); \
    next += 1;
    FENMAR_SHARED_FIELDS(FENMAR_SET)
#undef FENMAR_SET
}

// Every shared field of the two records compared by name.
template <typename A, typename B>
void ExpectSameFields(const A& a, const B& b) {
#define FENMAR_EXPECT(field) EXPECT_EQ(+a.field, +b.field) << #field;
    FENMAR_SHARED_FIELDS(FENMAR_EXPECT)
#undef FENMAR_EXPECT
}

// The profile record with its text pointers cleared; packed, so it compares byte for byte.
// Each field is named: a store through a member pointer would not know the field is unaligned.
LaunchProfile WithoutTexts(LaunchProfile r) {
    r.LaunchMap = nullptr;
    r.GamePatch = nullptr;
    r.DemoName = nullptr;
    r.HostName = nullptr;
    r.CurrentServer = nullptr;
    r.QuakePath = nullptr;
    r.PatchPath = nullptr;
    r.ConfigFile = nullptr;
    return r;
}

constexpr std::pair<TextField, const char*> kTexts[] = {
    {TextField::LaunchMap, "e1m1"},         {TextField::GamePatch, "ctf"},
    {TextField::DemoName, "demo1"},         {TextField::CurrentServer, "host:26001"},
    {TextField::QuakePath, "/games/quake"}, {TextField::PatchPath, "/games/quake/ctf"},
    {TextField::ConfigFile, "launch.cfg"}};

TEST(ExchangeRecord122, EveryFieldTravelsToItsOwnPlaceAndBack) {
    // Profile to copy: each field distinct.
    LiveProfile profile;
    PIRecord122 want{};
    FillDistinct(profile.Record(), want, 1);
    for (const auto& [field, text] : kTexts) {
        profile.SetText(field, text);
    }
    const ExchangeRecord copy = ExchangeRecord::Copy122(profile, "quake.exe");
    const PIRecord122& got = *copy.Record122();
    ExpectSameFields(got, want);
    EXPECT_EQ(got.UseDedicatedExe, 0);
    EXPECT_EQ(got.EnableWin95TCPIP, 0);
    EXPECT_STREQ(got.LaunchMap, "e1m1");
    EXPECT_STREQ(got.GamePatch, "ctf");
    EXPECT_STREQ(got.DemoName, "demo1");
    EXPECT_STREQ(got.CurrentServer, "host:26001");
    EXPECT_STREQ(got.QuakePath, "/games/quake");
    EXPECT_STREQ(got.PatchPath, "/games/quake/ctf");
    EXPECT_STREQ(got.ConfigFile, "launch.cfg");
    EXPECT_STREQ(got.QuakeExe, "quake.exe");

    // A plug-in's new values, again distinct, come back whole; what 1.22 lacks stays.
    PIRecord122& changed = *const_cast<PIRecord122*>(copy.Record122());
    LaunchProfile expected = profile.Record();
    FillDistinct(changed, expected, 100);
    changed.LaunchMap = "e2m2";
    LiveProfile back = profile;
    EXPECT_EQ(copy.CopyBack122(back), "quake.exe");
    const LaunchProfile backNumbers = WithoutTexts(back.Record());
    const LaunchProfile expectedNumbers = WithoutTexts(expected);
    EXPECT_EQ(std::memcmp(&backNumbers, &expectedNumbers, sizeof expected), 0);
    EXPECT_EQ(back.Text(TextField::LaunchMap), "e2m2");
    for (const auto& [field, text] : kTexts) {
        if (field != TextField::LaunchMap) {
            EXPECT_EQ(back.Text(field), text);
        }
    }
}

}  // namespace
}  // namespace fenmar
