#pragma once
// Asks many game servers at once what they run: one non-blocking loop over connected UDP
// sockets, a per-request timeout with one retry, an overall limit per server, round-trip
// times, and names looked up on a few threads of their own so that a slow resolver never holds
// the loop (nor its end).

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "net/ServerAddress.h"
#include "platform/UdpSocket.h"

namespace fenmar::net {

enum class QueryState {
    Waiting,      // not finished yet
    Answered,     // the server told its host name and map
    NoAnswer,     // nothing came back, also after the retry (or: nobody listens there)
    TimedOut,     // no longer given: a server that told its host name and map is Answered
    NotQuake,     // something answered, but never with a sound answer of the protocol
    UnknownHost,  // the name could not be looked up
    BadAddress,   // the listed text names no server
};

// The state as shown to people: "ok", "no answer", "timed out", "not a Quake server", ...
const char* StateText(QueryState state);

struct PlayerEntry {
    std::string name;
    int frags = 0;
    int seconds = 0;  // time on the server
    int ping = -1;    // QuakeWorld only
};

struct ServerEntry {
    std::string address;                 // as the user listed it
    ServerKind kind = ServerKind::Auto;  // forces the protocol unless Auto
};

struct ServerResult {
    std::string address;                 // as listed
    ServerKind kind = ServerKind::Auto;  // the protocol that answered (or was asked)
    QueryState state = QueryState::Waiting;
    std::string hostName;
    std::string map;
    int players = -1;
    int maxPlayers = -1;
    int pingMs = -1;
    std::vector<PlayerEntry> playerList;
    std::vector<std::pair<std::string, std::string>> rules;
};

// Looks a host name up; may block. The query runs it on threads of its own.
using ResolveFunction =
    std::function<std::vector<platform::NetAddress>(const std::string& host, std::uint16_t port)>;

struct QueryOptions {
    // How long one request waits for its answer; the retry goes out half-way. A server is
    // given kDeadlineTimeouts of these in all, from its first request (a name, from the start).
    std::chrono::milliseconds timeout{2000};
    bool details = true;            // also ask for players and rules
    std::size_t maxInFlight = 512;  // sockets open at once
    ResolveFunction resolve;        // empty: the system's resolver
    std::size_t maxResolving = 8;   // names looked up at once
};

inline constexpr int kDeadlineTimeouts = 4;

// Queries every entry and returns when all are finished or `cancel` becomes true.
// `onUpdate(index, result)` runs on the calling thread whenever a server's result changes.
std::vector<ServerResult> QueryServers(
    const std::vector<ServerEntry>& entries, const QueryOptions& options = {},
    const std::function<void(std::size_t, const ServerResult&)>& onUpdate = {},
    const std::atomic<bool>* cancel = nullptr);

}  // namespace fenmar::net
