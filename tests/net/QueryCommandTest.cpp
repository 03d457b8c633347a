// The command line's query, printed line by line.
#include <gtest/gtest.h>

#include <sstream>

#include "Responder.h"
#include "net/QueryCommand.h"

namespace fenmar::net {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

TEST(QueryCommand, PrintsOneTabSeparatedLinePerServerInTheOrderGiven) {
    testing::Responder server(testing::NqServerScript("Box\tWith\nBreaks", "e2m1", 16,
                                                      {{"a", 1}, {"b", 2}, {"c", 3}}, {}));
    std::ostringstream out, err;
    const int code = RunQueryCommand({"not an address", server.Address()}, out, err, 1500ms);
    EXPECT_EQ(code, 0);
    std::istringstream lines(out.str());
    std::string first, second, extra;
    ASSERT_TRUE(std::getline(lines, first));
    ASSERT_TRUE(std::getline(lines, second));
    EXPECT_FALSE(std::getline(lines, extra)) << "texts from the server cannot add lines";
    EXPECT_EQ(Fields(first), (std::vector<std::string>{"not an address", "nq", "bad address", "",
                                                       "", "-", "-", "-"}));
    const auto f = Fields(second);
    ASSERT_EQ(f.size(), 8u) << second;
    EXPECT_EQ(f[0], server.Address());
    EXPECT_EQ(f[1], "nq");
    EXPECT_EQ(f[2], "ok");
    EXPECT_EQ(f[3], "Box With Breaks");
    EXPECT_EQ(f[4], "e2m1");
    EXPECT_EQ(f[5], "3");
    EXPECT_EQ(f[6], "16");
    EXPECT_GE(std::stoi(f[7]), 0);
}

TEST(QueryCommand, PrintsNamesInQuakesCharacterSetAsPlainText) {
    // Coloured letters would be invalid UTF-8; 0x9B would reach the terminal as C2 9B (CSI).
    testing::Responder server(
        testing::NqServerScript("\x90\xC7old\x91\x9B\x1B", "\xE5\x31m1", 4, {}, {}));
    std::ostringstream out, err;
    ASSERT_EQ(RunQueryCommand({server.Address()}, out, err, 1500ms), 0);
    const auto f = Fields(out.str().substr(0, out.str().find('\n')));
    ASSERT_EQ(f.size(), 8u);
    EXPECT_EQ(f[3], "[Gold]99");
    EXPECT_EQ(f[4], "e1m1");
}

TEST(QueryCommand, FailsWhenNothingAnswersOrNothingIsListed) {
    std::ostringstream out, err;
    EXPECT_EQ(RunQueryCommand({"[::1"}, out, err, 300ms), 1);
    EXPECT_EQ(out.str(), "[::1\tnq\tbad address\t\t\t-\t-\t-\n");
    std::ostringstream out2, err2;
    EXPECT_EQ(RunQueryCommand({}, out2, err2), 1);
    EXPECT_TRUE(out2.str().empty());
    EXPECT_FALSE(err2.str().empty());
}

TEST(QueryCommand, AsksTheMastersThenTheServersTheyList) {
    testing::Responder server(testing::NqServerScript("Listed", "start", 8, {}, {}));
    const auto port = static_cast<std::uint16_t>(std::stoi(server.Address().substr(10)));
    testing::Responder master([&](ByteView request, int) {
        const bool first =
            std::string(request.begin(), request.end()).find("FTE") == std::string::npos;
        return testing::DpMasterAnswers(testing::LoopbackServers(first ? 1 : 0, port), 10);
    });
    std::ostringstream out, err;
    EXPECT_EQ(RunMasterQueryCommand({"dp://" + master.Address()}, {"[::1"}, out, err, 1000ms), 0);
    const std::string expected = server.Address() + "\tnq\tok\tListed\tstart\t0\t8\t";
    EXPECT_EQ(out.str().rfind("[::1\tnq\tbad address\t\t\t-\t-\t-\n", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("\n" + expected), std::string::npos) << out.str();
    EXPECT_TRUE(err.str().empty()) << err.str();
}

}  // namespace
}  // namespace fenmar::net
