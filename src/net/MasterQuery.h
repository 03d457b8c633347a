#pragma once
// Asks master servers which game servers are up: all masters at once over connected UDP
// sockets, one retry half-way through the timeout, names looked up on threads of their own.
// A master that does not answer costs one timeout; the servers of all masters come back
// once each, at most kMaxMasterEntries from one master.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "net/MasterProtocol.h"

namespace fenmar::net {

enum class MasterState {
    Waiting,
    Answered,     // the whole list came
    Incomplete,   // a part of the list came, then nothing more (or the list was too long)
    NoAnswer,     // nothing came back, also after the retry
    UnknownHost,  // the name could not be looked up (in time)
    BadAddress,   // the listed text names no master
};

const char* MasterStateText(MasterState state);

struct MasterResult {
    std::string master;  // as listed
    MasterState state = MasterState::Waiting;
    std::size_t listed = 0;  // servers it named (each once)
};

struct FoundServer {
    platform::NetAddress address;
    ServerKind kind = ServerKind::QuakeWorld;  // the kind of the master that listed it
};

struct MasterQueryResult {
    std::vector<MasterResult> masters;  // in the order asked
    std::vector<FoundServer> servers;   // each address once, in the masters' order
};

struct MasterOptions {
    std::chrono::milliseconds timeout{2000};
    // A QuakeWorld reply has no end mark: after a datagram, wait this long for more.
    std::chrono::milliseconds linger{250};
};

// `masters` holds texts as ParseMasterAddress reads them. Returns when every master has
// finished, or at once when `cancel` becomes true (with what came so far).
MasterQueryResult QueryMasters(const std::vector<std::string>& masters,
                               const MasterOptions& options = {},
                               const std::atomic<bool>* cancel = nullptr);

// How a found server is listed for the server query: "qw://1.2.3.4:27500" for servers of a
// QuakeWorld master; plain "1.2.3.4:26000" (asked in every protocol, the answer decides) for
// those of a DarkPlaces-protocol master, which lists NetQuake-family servers of all kinds.
std::string FoundServerText(const FoundServer& server);

// One line for people: "3 masters: 2 answered, dp://x:27950 no answer; 812 servers".
std::string MasterSummary(const MasterQueryResult& result);

}  // namespace fenmar::net
