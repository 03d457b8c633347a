#include "net/ServerProbe.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace fenmar::net {

namespace {

// Most datagrams read from one server before it is treated as finished: enough for every
// player and rule twice (once more for the retries), and no more.
constexpr int kMaxDatagramsPerServer = 2 * static_cast<int>(kMaxPlayers + kMaxRules) + 16;

// The info string as rules to show: without the challenge, which is ours.
std::vector<std::pair<std::string, std::string>> RulesOf(
    std::vector<std::pair<std::string, std::string>> info) {
    std::erase_if(info, [](const auto& pair) { return pair.first == "challenge"; });
    return info;
}

int Milliseconds(ServerProbe::Clock::duration d) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
}

}  // namespace

ServerProbe::ServerProbe(const ServerAddress& address, const QueryOptions& options,
                         std::uint32_t seed)
    : address_(address), options_(options), seed_(seed) {
    result_.kind = address.kind;
}

std::string ServerProbe::Challenge(int n) const {
    char text[16];
    std::snprintf(text, sizeof text, "fm%08x",
                  static_cast<unsigned>(seed_ + static_cast<unsigned>(n)));
    return text;
}

bool ServerProbe::Asks(ServerKind kind) const {
    if (address_.kind != ServerKind::Auto) {
        return address_.kind == kind;
    }
    // Without a port of its own an entry is a server on the NetQuake port: QuakeWorld servers
    // are not asked there.
    return kind != ServerKind::QuakeWorld || address_.portGiven;
}

void ServerProbe::Start(Clock::time_point now, std::vector<Bytes>& send) {
    deadline_ = now + options_.timeout * kDeadlineTimeouts;
    Begin(Phase::Info, now, send);
}

void ServerProbe::Begin(Phase phase, Clock::time_point now, std::vector<Bytes>& send) {
    phase_ = phase;
    stageStart_ = now;
    retried_ = false;
    Send(send, false);
}

void ServerProbe::Send(std::vector<Bytes>& send, bool retry) {
    const int challenge = retry ? 1 : 0;
    switch (phase_) {
        case Phase::Info:
            if (Asks(ServerKind::NetQuake)) {
                send.push_back(NqServerInfoRequest());
            }
            if (Asks(ServerKind::QuakeWorld)) {
                send.push_back(QwStatusRequest());
            }
            if (Asks(ServerKind::DarkPlaces)) {
                send.push_back(DpInfoRequest(Challenge(challenge)));
            }
            break;
        case Phase::Players:
            for (std::size_t p = 0; p < playerSeen_.size(); ++p) {
                if (!playerSeen_[p]) {
                    send.push_back(NqPlayerInfoRequest(static_cast<std::uint8_t>(p)));
                }
            }
            break;
        case Phase::Rules:
            send.push_back(NqRuleInfoRequest(lastRule_));
            break;
        case Phase::Status:
            send.push_back(DpStatusRequest(Challenge(2 + challenge)));
            break;
        default:
            break;
    }
}

ServerProbe::Clock::time_point ServerProbe::NextWake() const {
    const auto stage =
        retried_ ? stageStart_ + options_.timeout : stageStart_ + options_.timeout / 2;
    return std::min(stage, deadline_);
}

ServerProbe::Event ServerProbe::Finish(QueryState state) {
    phase_ = Phase::Done;
    result_.state = state;
    return Event::Finished;
}

ServerProbe::Event ServerProbe::Fail() {
    if (Finished()) {
        return Event::None;
    }
    return phase_ == Phase::Info ? Finish(QueryState::NoAnswer) : FinishAnswered();
}

ServerProbe::Event ServerProbe::Wake(Clock::time_point now, std::vector<Bytes>& send) {
    if (Finished()) {
        return Event::None;
    }
    const bool stageOver = now >= stageStart_ + options_.timeout;
    if (now >= deadline_ || (stageOver && phase_ == Phase::Info)) {
        if (phase_ == Phase::Info) {
            return Finish(foreign_ ? QueryState::NotQuake : QueryState::NoAnswer);
        }
        return FinishAnswered();
    }
    if (stageOver) {
        if (phase_ == Phase::Players) {
            lastRule_.clear();
            Begin(Phase::Rules, now, send);  // keep the players that answered
            return Event::None;
        }
        return FinishAnswered();
    }
    if (!retried_ && now >= stageStart_ + options_.timeout / 2) {
        retried_ = true;
        retrySent_ = now;
        Send(send, true);
    }
    return Event::None;
}

void ServerProbe::NotePing(Clock::time_point now, Clock::time_point sent) {
    const int ping = std::max(0, Milliseconds(now - sent));
    result_.pingMs = result_.pingMs < 0 ? ping : std::min(result_.pingMs, ping);
}

ServerProbe::Event ServerProbe::Reply(ByteView packet, Clock::time_point now,
                                      std::vector<Bytes>& send) {
    if (Finished()) {
        return Event::None;
    }
    if (++datagrams_ > kMaxDatagramsPerServer) {
        return phase_ == Phase::Info ? Finish(QueryState::NotQuake) : FinishAnswered();
    }
    // An answer that came before the retry went out answers the first send: a true round trip.
    const bool exact = !retried_;
    switch (phase_) {
        case Phase::Info:
            return InfoReply(packet, now, send);
        case Phase::Players:
            if (const auto player = ParseNqPlayerInfo(packet)) {
                const auto number = static_cast<std::size_t>(player->number);
                if (number >= playerSeen_.size() || playerSeen_[number]) {
                    return Event::None;  // a player asked twice answers twice
                }
                if (exact) {
                    NotePing(now, stageStart_);
                }
                playerSeen_[number] = true;
                result_.playerList.push_back(
                    {player->name, player->frags, player->connectTime, -1});
                if (std::find(playerSeen_.begin(), playerSeen_.end(), false) != playerSeen_.end()) {
                    return Event::None;
                }
                lastRule_.clear();
                Begin(Phase::Rules, now, send);
                return Event::Changed;
            }
            break;
        case Phase::Rules:
            if (const auto rule = ParseNqRuleInfo(packet)) {
                if (rule->last) {
                    return FinishAnswered();
                }
                if (rule->name == lastRule_) {
                    return Event::None;  // the answer to a retry of the request already answered
                }
                if (!rulesSeen_.insert(rule->name).second) {
                    return FinishAnswered();  // the rules go round in a circle
                }
                if (exact) {
                    NotePing(now, stageStart_);
                }
                result_.rules.emplace_back(rule->name, rule->value);
                if (result_.rules.size() >= kMaxRules) {
                    return FinishAnswered();
                }
                lastRule_ = rule->name;
                Begin(Phase::Rules, now, send);
                return Event::None;
            }
            break;
        case Phase::Status:
            for (int n : {2, 3}) {
                if (const auto status = ParseDpStatus(packet, Challenge(n))) {
                    NotePing(now, n == 2 ? stageStart_ : retrySent_);
                    result_.rules = RulesOf(status->info);
                    result_.playerList.clear();
                    for (const DpPlayer& p : status->players) {
                        result_.playerList.push_back({p.name, p.frags, 0, p.ping});
                    }
                    result_.players =
                        std::max(result_.players, static_cast<int>(result_.playerList.size()));
                    return FinishAnswered();
                }
            }
            break;
        default:
            return Event::None;
    }
    foreign_ = true;  // ignored: not the answer to what was asked
    return Event::None;
}

ServerProbe::Event ServerProbe::InfoReply(ByteView packet, Clock::time_point now,
                                          std::vector<Bytes>& send) {
    ServerResult& r = result_;
    if (Asks(ServerKind::NetQuake)) {
        if (const auto info = ParseNqServerInfo(packet)) {
            r.kind = ServerKind::NetQuake;
            r.hostName = info->hostName;
            r.map = info->map;
            r.players = info->players;
            r.maxPlayers = info->maxPlayers;
            NotePing(now, stageStart_);
            if (options_.details && info->players > 0) {
                r.state = QueryState::Answered;
                address_.kind = ServerKind::NetQuake;
                playerSeen_.assign(static_cast<std::size_t>(info->players), false);
                Begin(Phase::Players, now, send);
                return Event::Changed;
            }
            return AfterInfo(now, send);
        }
    }
    if (Asks(ServerKind::QuakeWorld)) {
        if (const auto status = ParseQwStatus(packet)) {
            r.kind = ServerKind::QuakeWorld;
            r.hostName = status->Value("hostname");
            r.map = status->Value("map");
            r.players = static_cast<int>(status->players.size());
            r.maxPlayers = 0;
            for (const char c : status->Value("maxclients")) {
                if (c < '0' || c > '9' || r.maxPlayers > 9999) {
                    break;
                }
                r.maxPlayers = r.maxPlayers * 10 + (c - '0');
            }
            NotePing(now, stageStart_);
            r.rules = status->info;
            for (const QwPlayer& p : status->players) {
                // Minutes on the server, as seconds; a hostile count stays within an int.
                const auto seconds = std::clamp<std::int64_t>(std::int64_t{p.time} * 60, 0,
                                                              std::numeric_limits<int>::max());
                r.playerList.push_back({p.name, p.frags, static_cast<int>(seconds), p.ping});
            }
            return FinishAnswered();
        }
    }
    if (Asks(ServerKind::DarkPlaces)) {
        // Each send has a challenge of its own: the answer tells which one it answers.
        for (int n : {0, 1}) {
            if (const auto info = ParseDpInfo(packet, Challenge(n))) {
                r.kind = ServerKind::DarkPlaces;
                r.hostName = info->hostName;
                r.map = info->map;
                r.players = std::max(info->clients, 0);
                r.maxPlayers = info->maxClients;
                r.rules = RulesOf(info->info);
                NotePing(now, n == 0 ? stageStart_ : retrySent_);
                address_.kind = ServerKind::DarkPlaces;
                return AfterInfo(now, send);
            }
        }
    }
    foreign_ = true;
    return Event::None;
}

ServerProbe::Event ServerProbe::AfterInfo(Clock::time_point now, std::vector<Bytes>& send) {
    if (!options_.details) {
        return FinishAnswered();
    }
    result_.state = QueryState::Answered;
    if (result_.kind == ServerKind::DarkPlaces) {
        Begin(Phase::Status, now, send);
    } else {
        address_.kind = ServerKind::NetQuake;
        lastRule_.clear();
        Begin(Phase::Rules, now, send);
    }
    return Event::Changed;
}

}  // namespace fenmar::net
