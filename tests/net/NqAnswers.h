#pragma once
// NetQuake answers built byte by byte as a server writes them, for the query tests and the
// benchmarks' loopback servers.

#include <cstdint>
#include <string>

#include "net/Protocol.h"

namespace fenmar::net::testing {

// Builds NetQuake control answers as a server would, optionally damaged by the caller.
Bytes NqControl(std::uint8_t command, const Bytes& body);
Bytes NqText(const std::string& text);  // the text with its terminating zero
Bytes NqServerInfoAnswer(const std::string& host, const std::string& map, int players, int max);
Bytes NqPlayerAnswer(int number, const std::string& name, int frags, int seconds);
Bytes NqRuleAnswer(const std::string& name, const std::string& value);
Bytes NqLastRuleAnswer();

}  // namespace fenmar::net::testing
