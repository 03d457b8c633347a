// The answer readers against answers built here, sound and damaged in every way a network
// can damage them.
#include <gtest/gtest.h>

#include "Responder.h"
#include "net/Protocol.h"

namespace fenmar::net {
namespace {

using testing::NqControl;
using testing::NqPlayerAnswer;
using testing::NqRuleAnswer;
using testing::NqServerInfoAnswer;
using testing::NqText;

Bytes FromText(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST(NqRequests, CarryTheControlHeaderTheGameNameAndTheProtocol) {
    const Bytes expected{0x80, 0x00, 0x00, 0x0C, 0x02, 'Q', 'U', 'A', 'K', 'E', 0, 3};
    EXPECT_EQ(NqServerInfoRequest(), expected);
    EXPECT_EQ(NqPlayerInfoRequest(7), (Bytes{0x80, 0x00, 0x00, 0x06, 0x03, 7}));
    EXPECT_EQ(NqRuleInfoRequest(""), (Bytes{0x80, 0x00, 0x00, 0x06, 0x04, 0}));
    EXPECT_EQ(NqRuleInfoRequest("fraglimit").size(), 15u);
    EXPECT_EQ(QwStatusRequest(), FromText("\xFF\xFF\xFF\xFFstatus\n"));
}

TEST(NqServerInfoReader, ReadsEveryField) {
    const auto info = ParseNqServerInfo(NqServerInfoAnswer("My server", "e1m1", 3, 8));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->address, "127.0.0.1:26000");
    EXPECT_EQ(info->hostName, "My server");
    EXPECT_EQ(info->map, "e1m1");
    EXPECT_EQ(info->players, 3);
    EXPECT_EQ(info->maxPlayers, 8);
    EXPECT_EQ(info->protocol, 3);
}

TEST(NqServerInfoReader, RejectsEveryCutAndEveryDamagedHeader) {
    const Bytes sound = NqServerInfoAnswer("host", "start", 0, 4);
    // Every shorter prefix, with the header's length fixed to match, lacks fields.
    for (std::size_t size = 5; size < sound.size(); ++size) {
        Bytes cut(sound.begin() + 5, sound.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(ParseNqServerInfo(NqControl(kCcrepServerInfo, cut))) << size;
        EXPECT_FALSE(ParseNqServerInfo(
            Bytes(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(size))))
            << size;
    }
    Bytes padded = sound;
    padded.push_back(0);
    EXPECT_FALSE(ParseNqServerInfo(padded)) << "header length no longer matches";
    Bytes wrongFlag = sound;
    wrongFlag[0] = 0x00;
    EXPECT_FALSE(ParseNqServerInfo(wrongFlag));
    Bytes otherBits = sound;
    otherBits[1] = 0x01;
    EXPECT_FALSE(ParseNqServerInfo(otherBits));
    Bytes otherCommand = sound;
    otherCommand[4] = kCcrepPlayerInfo;
    EXPECT_FALSE(ParseNqServerInfo(otherCommand));
    EXPECT_FALSE(ParseNqServerInfo({}));
    EXPECT_FALSE(ParseNqServerInfo(Bytes{0x80, 0, 0, 4}));
}

TEST(NqServerInfoReader, RejectsTrailingBytesMissingTerminatorsAndImpossibleCounts) {
    Bytes body = NqText("a");
    body.insert(body.end(), {'h', 0, 'm', 0, 1, 2, 3, 9});
    EXPECT_FALSE(ParseNqServerInfo(NqControl(kCcrepServerInfo, body))) << "trailing byte";
    EXPECT_FALSE(ParseNqServerInfo(NqControl(kCcrepServerInfo, {'a', 'b', 'c'})));
    EXPECT_FALSE(ParseNqServerInfo(NqServerInfoAnswer("h", "m", 9, 8))) << "more than maximum";
    Bytes huge(kMaxReplySize + 1, 0);
    EXPECT_FALSE(ParseNqServerInfo(huge));
}

TEST(NqServerInfoReader, CutsOverlongTextsInsteadOfGrowing) {
    const auto info = ParseNqServerInfo(NqServerInfoAnswer(std::string(4000, 'x'), "m", 0, 1));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->hostName.size(), kMaxTextLength);
}

TEST(NqPlayerReader, ReadsThePlayerAndRejectsCutsAndExtras) {
    const Bytes sound = NqPlayerAnswer(2, "Ranger", -3, 125);
    const auto player = ParseNqPlayerInfo(sound);
    ASSERT_TRUE(player);
    EXPECT_EQ(player->number, 2);
    EXPECT_EQ(player->name, "Ranger");
    EXPECT_EQ(player->frags, -3);
    EXPECT_EQ(player->connectTime, 125);
    EXPECT_EQ(player->colors, 0x44);
    for (std::size_t size = 5; size < sound.size(); ++size) {
        Bytes cut(sound.begin() + 5, sound.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(ParseNqPlayerInfo(NqControl(kCcrepPlayerInfo, cut))) << size;
    }
    Bytes body(sound.begin() + 5, sound.end());
    body.push_back('!');
    EXPECT_FALSE(ParseNqPlayerInfo(NqControl(kCcrepPlayerInfo, body)));
    EXPECT_FALSE(ParseNqPlayerInfo(NqRuleAnswer("a", "b")));
}

TEST(NqRuleReader, ReadsRulesAndTheEndOfTheList) {
    const auto rule = ParseNqRuleInfo(NqRuleAnswer("fraglimit", "15"));
    ASSERT_TRUE(rule);
    EXPECT_FALSE(rule->last);
    EXPECT_EQ(rule->name, "fraglimit");
    EXPECT_EQ(rule->value, "15");
    const auto last = ParseNqRuleInfo(NqControl(kCcrepRuleInfo, {}));
    ASSERT_TRUE(last);
    EXPECT_TRUE(last->last);

    EXPECT_FALSE(ParseNqRuleInfo(NqControl(kCcrepRuleInfo, NqText("name")))) << "no value";
    EXPECT_FALSE(ParseNqRuleInfo(NqControl(kCcrepRuleInfo, {'n', 0, 'v'}))) << "unterminated";
    EXPECT_FALSE(ParseNqRuleInfo(NqControl(kCcrepRuleInfo, {0, 'v', 0}))) << "empty name";
    EXPECT_FALSE(ParseNqRuleInfo(NqServerInfoAnswer("h", "m", 0, 1)));
}

const std::string kQwAnswer =
    "\xFF\xFF\xFF\xFFn\\maxclients\\16\\hostname\\Fort \"X\"\\map\\dm4\\deathmatch\\3\n"
    "12 25 4 48 \"Lynx\" \"base\" 4 4\n"
    "13 -1 10 999 \"Odd name\" \"\" 0 0\n";

TEST(QwStatusReader, ReadsTheInfoStringAndThePlayerLines) {
    const auto status = ParseQwStatus(FromText(kQwAnswer));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Value("hostname"), "Fort \"X\"");
    EXPECT_EQ(status->Value("map"), "dm4");
    EXPECT_EQ(status->Value("maxclients"), "16");
    EXPECT_EQ(status->Value("absent"), "");
    ASSERT_EQ(status->info.size(), 4u);
    EXPECT_EQ(status->info[3].first, "deathmatch");
    ASSERT_EQ(status->players.size(), 2u);
    EXPECT_EQ(status->players[0].name, "Lynx");
    EXPECT_EQ(status->players[0].frags, 25);
    EXPECT_EQ(status->players[0].ping, 48);
    EXPECT_EQ(status->players[1].frags, -1);
    EXPECT_EQ(status->players[1].name, "Odd name");
}

TEST(QwStatusReader, ToleratesAnEmptyServerAndSkipsBrokenPlayerLines) {
    const auto empty = ParseQwStatus(FromText("\xFF\xFF\xFF\xFFn\\hostname\\h\\map\\e1m1\n"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->players.empty());
    const auto broken = ParseQwStatus(FromText(
        "\xFF\xFF\xFF\xFFn\\map\\e1m1\nx y z \"a\"\n1 2 \"cut\n4 5 6 7 \"ok\" \"\" 0 0\n"));
    ASSERT_TRUE(broken);
    ASSERT_EQ(broken->players.size(), 1u);
    EXPECT_EQ(broken->players[0].name, "ok");
}

TEST(QwStatusReader, RejectsWhatIsNoStatusAnswer) {
    EXPECT_FALSE(ParseQwStatus(FromText("\xFF\xFF\xFF\xFFstatus\n"))) << "our own request";
    EXPECT_FALSE(ParseQwStatus(FromText("\xFF\xFF\xFF\xFFn")));
    EXPECT_FALSE(ParseQwStatus(FromText("\xFF\xFF\xFF\xFFnhostname\\x\n")));
    EXPECT_FALSE(ParseQwStatus(FromText("\xFF\xFF\xFF\xFFn\\hostname\\x\\map\n"))) << "odd";
    EXPECT_FALSE(ParseQwStatus(FromText("\xFF\xFF\xFF\xFFn\\\\x\n"))) << "empty key";
    EXPECT_FALSE(ParseQwStatus(FromText("\xFF\xFF\xFFn\\a\\b\n")));
    EXPECT_FALSE(ParseQwStatus(NqServerInfoAnswer("h", "m", 0, 1)));
    std::string huge = "\xFF\xFF\xFF\xFFn\\a\\" + std::string(kMaxReplySize, 'b');
    EXPECT_FALSE(ParseQwStatus(FromText(huge)));
}

TEST(QwStatusReader, BoundsKeysPlayersAndTexts) {
    std::string text = "\xFF\xFF\xFF\xFFn";
    for (int i = 0; i < 140; ++i) {
        text += "\\k" + std::to_string(i) + "\\v";
    }
    text += "\n";
    for (int i = 0; i < 270; ++i) {
        text += "1 2 3 4 \"" + std::string(i == 0 ? 600 : 1, 'p') + "\"\n";
    }
    ASSERT_LE(text.size(), kMaxReplySize);
    const auto status = ParseQwStatus(FromText(text));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->info.size(), kMaxRules);
    EXPECT_EQ(status->players.size(), kMaxPlayers);
    EXPECT_EQ(status->players[0].name.size(), kMaxTextLength);
}

const std::string kDpInfo =
    "\\gamename\\DarkPlaces-Quake\\modname\\id1\\sv_maxclients\\8\\clients\\2\\mapname\\start"
    "\\hostname\\DP box\\protocol\\3\\challenge\\fm1";

TEST(DpReaders, ReadInfoAndStatusAnswersThatRepeatTheChallenge) {
    EXPECT_EQ(DpInfoRequest("fm1"), FromText("\xFF\xFF\xFF\xFFgetinfo fm1"));
    EXPECT_EQ(DpStatusRequest("fm1"), FromText("\xFF\xFF\xFF\xFFgetstatus fm1"));
    const auto info = ParseDpInfo(testing::DpAnswer("infoResponse", kDpInfo), "fm1");
    ASSERT_TRUE(info);
    EXPECT_EQ(std::tuple(info->hostName, info->map, info->clients, info->maxClients),
              std::tuple("DP box", "start", 2, 8));
    EXPECT_EQ(info->Value("gamename"), "DarkPlaces-Quake");
    const auto status = ParseDpStatus(
        testing::DpAnswer("statusResponse", kDpInfo,
                          "12 40 \"Ranger\"\n-3 999 \"with \\\\ blank\" 2\nbroken \"x\"\n"),
        "fm1");
    ASSERT_TRUE(status);
    ASSERT_EQ(status->players.size(), 2u) << "the broken line is skipped, a team number is not";
    EXPECT_EQ(
        std::tuple(status->players[0].frags, status->players[0].ping, status->players[0].name),
        std::tuple(12, 40, "Ranger"));
    EXPECT_EQ(status->players[1].frags, -3);
}

TEST(DpReaders, RejectOtherChallengesAnswersAndDamage) {
    struct Case {
        Bytes packet;
        const char* why;
    } cases[] = {
        {testing::DpAnswer("infoResponse", kDpInfo), "another challenge"},
        {testing::DpAnswer("statusResponse", kDpInfo + "x"), "status for info"},
        {testing::DpAnswer("infoResponse", "\\hostname\\h\\mapname\\m"), "no challenge"},
        {testing::DpAnswer("infoResponse", "\\hostname\\h\\challenge"), "odd info string"},
        {testing::DpAnswer("infoResponse", "hostname\\h\\challenge\\c"), "no leading \\"},
        {testing::DpAnswer("infoResponse", "\\protocol\\3\\challenge\\c"), "no name, no map"},
        {testing::DpAnswer("infoResponse",
                           "\\hostname\\h\\clients\\9\\sv_maxclients\\8"
                           "\\challenge\\c"),
         "more players than places"},
        {FromText("\xFF\xFF\xFF\xFFinfoResponse"), "cut"},
        {FromText("\xFF\xFF\xFF\xFFinfoResponsex\n\\hostname\\h\\challenge\\c"), "other name"},
        {NqServerInfoAnswer("h", "m", 0, 1), "NetQuake"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(ParseDpInfo(c.packet, "c")) << c.why;
    }
    EXPECT_TRUE(ParseDpInfo(testing::DpAnswer("infoResponse", "\\hostname\\h\\challenge\\c"), "c"));
}

TEST(QuakeCharacters, BecomePlainPrintableText) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"},
        {"\xC7\xEF\xEC\xE4", "Gold"},            // coloured letters
        {"\x90team\x91 \x12\x1B", "[team] 09"},  // brackets and digits
        {"\x92\x93\x9B", "019"},                 // coloured digits
        {"a\x05\x0E\x0F\x1C"
         "b",
         "a....b"},                               // dots
        {"\x1D\x1E\x1F", "<=>"},                  // the bar
        {"tab\there\nline\r", "tab here line "},  // breaks
        {"\x01\x7F\x80\x9B\xFF", "###9#"},        // blocks, arrow; 0x9B is CSI in C1
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(QuakeText(in), out) << in;
    }
    for (int c = 1; c < 256; ++c) {
        const char got = QuakeText(std::string(1, static_cast<char>(c)))[0];
        EXPECT_TRUE(got >= 0x20 && got < 0x7F) << c;
    }
}

}  // namespace
}  // namespace fenmar::net
