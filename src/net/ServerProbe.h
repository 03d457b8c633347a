#pragma once
// The questions to one server and what its answers mean, without a socket or a clock of its
// own: the query loop (and the fuzz target) hands it the time, every datagram from the server
// and the timer's wakes, and sends what it returns.

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "net/Protocol.h"
#include "net/ServerAddress.h"
#include "net/ServerQuery.h"

namespace fenmar::net {

class ServerProbe {
public:
    using Clock = std::chrono::steady_clock;
    enum class Event {
        None,     // nothing to show
        Changed,  // the result has news, more questions follow
        Finished  // the result is final
    };

    // `seed` makes the challenges of the DarkPlaces-protocol questions.
    ServerProbe(const ServerAddress& address, const QueryOptions& options, std::uint32_t seed);

    // The first questions.
    void Start(Clock::time_point now, std::vector<Bytes>& send);
    // One datagram from the server.
    Event Reply(ByteView packet, Clock::time_point now, std::vector<Bytes>& send);
    // Something came from the server that could not be read at all (cut, too large).
    void Stray() { foreign_ = true; }
    // The time is `now` (at or after NextWake()): retries and limits.
    Event Wake(Clock::time_point now, std::vector<Bytes>& send);
    // The system reported the server unreachable (nobody listens there).
    Event Fail();
    Clock::time_point NextWake() const;
    bool Finished() const { return phase_ == Phase::Done; }
    ServerResult& Result() { return result_; }
    // The challenge of the n-th DarkPlaces-protocol question (0: info, 1: its retry, 2: status,
    // 3: its retry).
    std::string Challenge(int n) const;

private:
    enum class Phase { Idle, Info, Players, Rules, Status, Done };

    void Begin(Phase phase, Clock::time_point now, std::vector<Bytes>& send);
    void Send(std::vector<Bytes>& send, bool retry);
    Event Finish(QueryState state);
    // Answers after the server told its name: it answered, whatever it leaves out later.
    Event FinishAnswered() { return Finish(QueryState::Answered); }
    Event InfoReply(ByteView packet, Clock::time_point now, std::vector<Bytes>& send);
    Event AfterInfo(Clock::time_point now, std::vector<Bytes>& send);
    void NotePing(Clock::time_point now, Clock::time_point sent);
    bool Asks(ServerKind kind) const;

    ServerAddress address_;
    QueryOptions options_;
    std::uint32_t seed_;
    ServerResult result_;
    Phase phase_ = Phase::Idle;
    Clock::time_point deadline_;
    Clock::time_point stageStart_;  // the stage's first send
    Clock::time_point retrySent_;
    bool retried_ = false;
    bool foreign_ = false;  // something came back that was no sound answer
    int datagrams_ = 0;
    std::vector<bool> playerSeen_;
    std::string lastRule_;
    std::set<std::string> rulesSeen_;
};

}  // namespace fenmar::net
