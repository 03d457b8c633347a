#pragma once
// What the server list shows of a result, taken together so that one expectation compares it.

#include <string>
#include <tuple>

#include "net/ServerQuery.h"

namespace fenmar::net::testing {

// The state, the protocol that answered, the host name, the map, the players and their limit.
inline auto Summary(const ServerResult& r) {
    return std::tuple(r.state, r.kind, r.hostName, r.map, r.players, r.maxPlayers);
}

}  // namespace fenmar::net::testing
