#include "NqAnswers.h"

namespace fenmar::net::testing {

Bytes NqControl(std::uint8_t command, const Bytes& body) {
    const auto length = static_cast<std::uint32_t>(5 + body.size()) | 0x80000000u;
    Bytes out;
    for (const int shift : {24, 16, 8, 0}) {
        out.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    out.push_back(command);
    for (const std::uint8_t b : body) {
        out.push_back(b);
    }
    return out;
}

Bytes NqText(const std::string& text) {
    Bytes out(text.begin(), text.end());
    out.push_back(0);
    return out;
}

namespace {
void Append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}
void AppendLong(Bytes& to, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) {
        to.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    }
}
}  // namespace

Bytes NqServerInfoAnswer(const std::string& host, const std::string& map, int players, int max) {
    Bytes body = NqText("127.0.0.1:26000");
    Append(body, NqText(host));
    Append(body, NqText(map));
    body.push_back(static_cast<std::uint8_t>(players));
    body.push_back(static_cast<std::uint8_t>(max));
    body.push_back(3);
    return NqControl(kCcrepServerInfo, body);
}

Bytes NqPlayerAnswer(int number, const std::string& name, int frags, int seconds) {
    Bytes body{static_cast<std::uint8_t>(number)};
    Append(body, NqText(name));
    AppendLong(body, 0x44);
    AppendLong(body, frags);
    AppendLong(body, seconds);
    Append(body, NqText("127.0.0.1:1234"));
    return NqControl(kCcrepPlayerInfo, body);
}

Bytes NqRuleAnswer(const std::string& name, const std::string& value) {
    Bytes body = NqText(name);
    Append(body, NqText(value));
    return NqControl(kCcrepRuleInfo, body);
}

Bytes NqLastRuleAnswer() {
    return NqControl(kCcrepRuleInfo, {});
}

}  // namespace fenmar::net::testing
