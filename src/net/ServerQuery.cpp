#include "net/ServerQuery.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "net/Protocol.h"
#include "platform/UdpSocket.h"

namespace fenmar::net {

namespace {

using Clock = std::chrono::steady_clock;
using platform::NetAddress;
using platform::UdpSocket;

// Most datagrams read from one server before it is treated as finished: enough for every
// player and rule twice (once more for the retries), and no more.
constexpr int kMaxDatagramsPerServer = 2 * static_cast<int>(kMaxPlayers + kMaxRules) + 16;
// Most datagrams taken from one socket in a row, so that a flooding peer cannot starve others.
constexpr int kMaxReadsPerWake = 32;
// The loop wakes at least this often to notice a cancel and finished look-ups.
constexpr auto kLongestWait = std::chrono::milliseconds(50);

// Names looked up one after another on a thread of their own. The thread owns a share of
// this state, so the query may end while a look-up still runs.
struct Resolver {
    std::mutex mutex;
    std::vector<std::pair<std::size_t, std::vector<NetAddress>>> done;
    std::atomic<bool> stop{false};

    static void Start(const std::shared_ptr<Resolver>& self,
                      std::vector<std::pair<std::size_t, ServerAddress>> names) {
        std::thread([self, names = std::move(names)] {
            for (const auto& [index, address] : names) {
                if (self->stop) {
                    return;
                }
                auto found = platform::ResolveHost(address.host, address.port);
                const std::lock_guard lock(self->mutex);
                self->done.emplace_back(index, std::move(found));
            }
        }).detach();
    }
};

enum class Phase { Resolving, Queued, Info, Players, Rules, Done };

struct Slot {
    ServerResult result;
    ServerAddress parsed;
    Phase phase = Phase::Done;
    NetAddress peer;
    std::unique_ptr<UdpSocket> socket;
    Clock::time_point stageStart;
    Clock::time_point lastSent;
    bool retried = false;
    bool foreign = false;  // something came back that was no sound answer
    bool partial = false;  // some player never answered
    int datagrams = 0;
    std::vector<bool> playerSeen;
    std::string lastRule;
};

class QueryLoop {
public:
    QueryLoop(const std::vector<ServerEntry>& entries, const QueryOptions& options,
              const std::function<void(std::size_t, const ServerResult&)>& onUpdate)
        : options_(options), onUpdate_(onUpdate), slots_(entries.size()) {
        std::vector<std::pair<std::size_t, ServerAddress>> names;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            Slot& slot = slots_[i];
            slot.result.address = entries[i].address;
            slot.result.kind = entries[i].kind;
            const auto parsed = ParseServerAddress(entries[i].address, entries[i].kind);
            if (!parsed) {
                Finish(i, QueryState::BadAddress);
                continue;
            }
            slot.parsed = *parsed;
            slot.result.kind = parsed->kind;
            if (const auto numeric = platform::ParseNumericAddress(parsed->host, parsed->port)) {
                slot.peer = *numeric;
                slot.phase = Phase::Queued;
            } else {
                slot.phase = Phase::Resolving;
                names.emplace_back(i, *parsed);
            }
        }
        if (!names.empty()) {
            resolver_ = std::make_shared<Resolver>();
            Resolver::Start(resolver_, std::move(names));
        }
    }

    ~QueryLoop() {
        if (resolver_) {
            resolver_->stop = true;
        }
    }

    std::vector<ServerResult> Run(const std::atomic<bool>* cancel) {
        std::vector<UdpSocket*> sockets;
        std::vector<std::size_t> owners;
        while (!AllDone() && !(cancel != nullptr && *cancel)) {
            TakeResolved();
            StartQueued();
            sockets.clear();
            owners.clear();
            auto wake = Clock::now() + kLongestWait;
            for (std::size_t i = 0; i < slots_.size(); ++i) {
                if (slots_[i].socket) {
                    sockets.push_back(slots_[i].socket.get());
                    owners.push_back(i);
                    wake = std::min(wake, NextTimer(slots_[i]));
                }
            }
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
                wake - Clock::now() + std::chrono::microseconds(999));
            const auto readable =
                platform::WaitReadable(sockets, std::max(wait, std::chrono::milliseconds(0)));
            for (std::size_t k = 0; k < owners.size(); ++k) {
                if (readable[k]) {
                    ReadFrom(owners[k]);
                }
            }
            const auto now = Clock::now();
            for (std::size_t i = 0; i < slots_.size(); ++i) {
                if (slots_[i].socket) {
                    CheckTimers(i, now);
                }
            }
        }
        std::vector<ServerResult> results;
        results.reserve(slots_.size());
        for (Slot& slot : slots_) {
            results.push_back(std::move(slot.result));
        }
        return results;
    }

private:
    bool AllDone() const { return finished_ == slots_.size(); }

    void Notify(std::size_t i) {
        if (onUpdate_) {
            onUpdate_(i, slots_[i].result);
        }
    }

    void Finish(std::size_t i, QueryState state) {
        Slot& slot = slots_[i];
        slot.phase = Phase::Done;
        slot.socket.reset();
        slot.result.state = state;
        ++finished_;
        Notify(i);
    }

    void Close(std::size_t i, QueryState state) {
        --inFlight_;
        Finish(i, state);
    }

    void TakeResolved() {
        if (!resolver_) {
            return;
        }
        std::vector<std::pair<std::size_t, std::vector<NetAddress>>> done;
        {
            const std::lock_guard lock(resolver_->mutex);
            done.swap(resolver_->done);
        }
        for (auto& [index, found] : done) {
            if (found.empty()) {
                Finish(index, QueryState::UnknownHost);
                continue;
            }
            // IPv4 first where the name has both: it works on more networks.
            const auto v4 =
                std::find_if(found.begin(), found.end(), [](const NetAddress& a) { return !a.v6; });
            slots_[index].peer = v4 != found.end() ? *v4 : found.front();
            slots_[index].phase = Phase::Queued;
        }
    }

    void StartQueued() {
        for (std::size_t i = 0; i < slots_.size() && inFlight_ < options_.maxInFlight; ++i) {
            Slot& slot = slots_[i];
            if (slot.phase != Phase::Queued) {
                continue;
            }
            slot.socket = UdpSocket::Open(slot.peer.v6);
            if (!slot.socket) {
                if (inFlight_ == 0) {
                    Finish(i, QueryState::NoAnswer);  // the system gives us no socket at all
                }
                return;  // try again when others have finished
            }
            ++inFlight_;
            if (!slot.socket->Connect(slot.peer)) {
                Close(i, QueryState::NoAnswer);
                continue;
            }
            slot.phase = Phase::Info;
            BeginStage(slot);
            SendStage(slot);
        }
    }

    static void BeginStage(Slot& slot) {
        slot.stageStart = Clock::now();
        slot.retried = false;
    }

    void SendStage(Slot& slot) {
        slot.lastSent = Clock::now();
        switch (slot.phase) {
            case Phase::Info:
                if (slot.parsed.kind != ServerKind::QuakeWorld) {
                    slot.socket->Send(NqServerInfoRequest());
                }
                // Without a port of its own an entry is a NetQuake server on the usual port.
                if (slot.parsed.kind == ServerKind::QuakeWorld ||
                    (slot.parsed.kind == ServerKind::Auto && slot.parsed.portGiven)) {
                    slot.socket->Send(QwStatusRequest());
                }
                break;
            case Phase::Players:
                for (std::size_t p = 0; p < slot.playerSeen.size(); ++p) {
                    if (!slot.playerSeen[p]) {
                        slot.socket->Send(NqPlayerInfoRequest(static_cast<std::uint8_t>(p)));
                    }
                }
                break;
            case Phase::Rules:
                slot.socket->Send(NqRuleInfoRequest(slot.lastRule));
                break;
            default:
                break;
        }
    }

    Clock::time_point NextTimer(const Slot& slot) const {
        return slot.retried ? slot.stageStart + options_.timeout
                            : slot.stageStart + options_.timeout / 2;
    }

    void CheckTimers(std::size_t i, Clock::time_point now) {
        Slot& slot = slots_[i];
        if (now >= slot.stageStart + options_.timeout) {
            switch (slot.phase) {
                case Phase::Info:
                    Close(i, slot.foreign ? QueryState::NotQuake : QueryState::NoAnswer);
                    return;
                case Phase::Players:
                    slot.partial = true;
                    StartRules(slot);  // keep the players that answered
                    return;
                default:
                    Close(i, QueryState::TimedOut);
                    return;
            }
        }
        if (!slot.retried && now >= slot.stageStart + options_.timeout / 2) {
            slot.retried = true;
            SendStage(slot);
        }
    }

    void StartRules(Slot& slot) {
        slot.phase = Phase::Rules;
        slot.lastRule.clear();
        BeginStage(slot);
        SendStage(slot);
    }

    void ReadFrom(std::size_t i) {
        std::array<std::uint8_t, kMaxReplySize + 1> buffer;
        for (int n = 0; n < kMaxReadsPerWake && slots_[i].socket; ++n) {
            Slot& slot = slots_[i];
            const auto got = slot.socket->Receive(buffer);
            if (got.status == platform::ReceiveStatus::Empty) {
                return;
            }
            if (got.status != platform::ReceiveStatus::Datagram) {
                Close(i, slot.phase == Phase::Info ? QueryState::NoAnswer : QueryState::TimedOut);
                return;
            }
            if (++slot.datagrams > kMaxDatagramsPerServer) {
                Close(i, slot.phase == Phase::Info ? QueryState::NotQuake : QueryState::Answered);
                return;
            }
            // The socket is connected, so the system drops other senders; checked once more.
            if (got.truncated || got.size > kMaxReplySize || !(got.from == slot.peer)) {
                slot.foreign = true;
                continue;
            }
            Handle(i, ByteView(buffer.data(), got.size));
        }
    }

    void Handle(std::size_t i, ByteView packet) {
        Slot& slot = slots_[i];
        const auto pingMs = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - slot.lastSent)
                .count());
        switch (slot.phase) {
            case Phase::Info:
                if (slot.parsed.kind != ServerKind::QuakeWorld) {
                    if (const auto info = ParseNqServerInfo(packet)) {
                        TakeNqInfo(i, *info, pingMs);
                        return;
                    }
                }
                if (slot.parsed.kind != ServerKind::NetQuake) {
                    if (const auto status = ParseQwStatus(packet)) {
                        TakeQwStatus(i, *status, pingMs);
                        return;
                    }
                }
                break;
            case Phase::Players:
                if (const auto player = ParseNqPlayerInfo(packet)) {
                    const auto number = static_cast<std::size_t>(player->number);
                    if (number < slot.playerSeen.size() && !slot.playerSeen[number]) {
                        slot.playerSeen[number] = true;
                        slot.result.playerList.push_back(
                            {player->name, player->frags, player->connectTime, -1});
                        if (std::all_of(slot.playerSeen.begin(), slot.playerSeen.end(),
                                        [](bool b) { return b; })) {
                            Notify(i);
                            StartRules(slot);
                        }
                    }
                    return;
                }
                break;
            case Phase::Rules:
                if (const auto rule = ParseNqRuleInfo(packet)) {
                    if (rule->last) {
                        Close(i, slot.partial ? QueryState::TimedOut : QueryState::Answered);
                        return;
                    }
                    if (rule->name == slot.lastRule) {
                        return;  // the answer to a retry of the request already answered
                    }
                    slot.result.rules.emplace_back(rule->name, rule->value);
                    slot.lastRule = rule->name;
                    if (slot.result.rules.size() >= kMaxRules) {
                        Close(i, QueryState::Answered);
                        return;
                    }
                    BeginStage(slot);
                    SendStage(slot);
                    return;
                }
                break;
            default:
                return;
        }
        slot.foreign = true;  // ignored: not the answer to what we asked
    }

    void TakeNqInfo(std::size_t i, const NqServerInfo& info, int pingMs) {
        Slot& slot = slots_[i];
        ServerResult& r = slot.result;
        r.kind = ServerKind::NetQuake;
        r.hostName = info.hostName;
        r.map = info.map;
        r.players = info.players;
        r.maxPlayers = info.maxPlayers;
        r.pingMs = pingMs;
        r.state = QueryState::Answered;
        if (!options_.details) {
            Close(i, QueryState::Answered);
            return;
        }
        slot.parsed.kind = ServerKind::NetQuake;
        Notify(i);
        if (info.players > 0) {
            slot.phase = Phase::Players;
            slot.playerSeen.assign(static_cast<std::size_t>(info.players), false);
            BeginStage(slot);
            SendStage(slot);
        } else {
            StartRules(slot);
        }
    }

    void TakeQwStatus(std::size_t i, const QwStatus& status, int pingMs) {
        ServerResult& r = slots_[i].result;
        r.kind = ServerKind::QuakeWorld;
        r.hostName = status.Value("hostname");
        r.map = status.Value("map");
        r.players = static_cast<int>(status.players.size());
        r.maxPlayers = 0;
        const std::string max = status.Value("maxclients");
        for (const char c : max) {
            if (c < '0' || c > '9' || r.maxPlayers > 9999) {
                break;
            }
            r.maxPlayers = r.maxPlayers * 10 + (c - '0');
        }
        r.pingMs = pingMs;
        r.rules = status.info;
        for (const QwPlayer& p : status.players) {
            r.playerList.push_back({p.name, p.frags, p.time * 60, p.ping});
        }
        Close(i, QueryState::Answered);
    }

    QueryOptions options_;
    std::function<void(std::size_t, const ServerResult&)> onUpdate_;
    std::vector<Slot> slots_;
    std::shared_ptr<Resolver> resolver_;
    std::size_t finished_ = 0;
    std::size_t inFlight_ = 0;
};

}  // namespace

const char* StateText(QueryState state) {
    switch (state) {
        case QueryState::Waiting:
            return "waiting";
        case QueryState::Answered:
            return "ok";
        case QueryState::NoAnswer:
            return "no answer";
        case QueryState::TimedOut:
            return "timed out";
        case QueryState::NotQuake:
            return "not a Quake server";
        case QueryState::UnknownHost:
            return "unknown host";
        case QueryState::BadAddress:
            return "bad address";
    }
    return "";
}

std::vector<ServerResult> QueryServers(
    const std::vector<ServerEntry>& entries, const QueryOptions& options,
    const std::function<void(std::size_t, const ServerResult&)>& onUpdate,
    const std::atomic<bool>* cancel) {
    QueryLoop loop(entries, options, onUpdate);
    return loop.Run(cancel);
}

}  // namespace fenmar::net
