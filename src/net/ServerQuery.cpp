#include "net/ServerQuery.h"

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "net/Protocol.h"
#include "net/ServerProbe.h"
#include "platform/UdpSocket.h"

namespace fenmar::net {

namespace {

using Clock = std::chrono::steady_clock;
using platform::NetAddress;
using platform::UdpSocket;

// Most datagrams taken from one socket in a row, so that a flooding peer cannot starve others.
constexpr int kMaxReadsPerWake = 32;
// The loop wakes at least this often to notice a cancel and finished look-ups.
constexpr auto kLongestWait = std::chrono::milliseconds(50);

// Names looked up on a few threads of their own, each taking the next name when it is done.
// The threads own a share of this state, so the query may end while look-ups still run; they
// stop taking names then.
struct Resolver {
    std::mutex mutex;
    std::deque<std::pair<std::size_t, ServerAddress>> todo;
    std::vector<std::pair<std::size_t, std::vector<NetAddress>>> done;
    ResolveFunction resolve;
    std::atomic<bool> stop{false};

    static void Start(const std::shared_ptr<Resolver>& self, std::size_t threads) {
        for (std::size_t t = 0; t < threads; ++t) {
            std::thread([self] {
                for (;;) {
                    std::pair<std::size_t, ServerAddress> next;
                    {
                        const std::lock_guard lock(self->mutex);
                        if (self->stop || self->todo.empty()) {
                            return;
                        }
                        next = std::move(self->todo.front());
                        self->todo.pop_front();
                    }
                    auto found = self->resolve(next.second.host, next.second.port);
                    const std::lock_guard lock(self->mutex);
                    self->done.emplace_back(next.first, std::move(found));
                }
            }).detach();
        }
    }
};

// The system reports the scope of a link-local sender only; one the user gave for another
// address does not come back.
bool SamePeer(const NetAddress& a, const NetAddress& b) {
    return a.v6 == b.v6 && a.ip == b.ip && a.port == b.port &&
           (a.scope == b.scope || a.scope == 0 || b.scope == 0);
}

enum class Phase { Resolving, Queued, Asking, Done };

struct Slot {
    ServerResult result;
    ServerAddress parsed;
    Phase phase = Phase::Done;
    NetAddress peer;
    std::unique_ptr<UdpSocket> socket;
    std::optional<ServerProbe> probe;
};

class QueryLoop {
public:
    QueryLoop(const std::vector<ServerEntry>& entries, const QueryOptions& options,
              const std::function<void(std::size_t, const ServerResult&)>& onUpdate)
        : options_(options), onUpdate_(onUpdate), slots_(entries.size()) {
        start_ = Clock::now();
        seed_ = std::random_device{}();
        auto resolver = std::make_shared<Resolver>();
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
                resolver->todo.emplace_back(i, *parsed);
            }
        }
        if (!resolver->todo.empty()) {
            resolver->resolve = options_.resolve ? options_.resolve : platform::ResolveHost;
            resolver_ = resolver;
            Resolver::Start(resolver_, std::clamp<std::size_t>(options_.maxResolving, 1,
                                                               resolver_->todo.size()));
        }
    }

    ~QueryLoop() {
        if (resolver_) {
            const std::lock_guard lock(resolver_->mutex);
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
                    wake = std::min(wake, slots_[i].probe->NextWake());
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
                if (slots_[i].socket && now >= slots_[i].probe->NextWake()) {
                    std::vector<Bytes> send;
                    Take(i, slots_[i].probe->Wake(now, send), send);
                }
            }
            GiveUpNames(now);
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
        if (slot.socket) {
            --inFlight_;
        }
        slot.phase = Phase::Done;
        slot.socket.reset();
        slot.result.state = state;
        ++finished_;
        Notify(i);
    }

    // Sends what the probe asks for and shows what it found.
    void Take(std::size_t i, ServerProbe::Event event, const std::vector<Bytes>& send) {
        Slot& slot = slots_[i];
        if (event == ServerProbe::Event::Finished) {
            const ServerResult& found = slot.probe->Result();
            slot.result.kind = found.kind;
            slot.result.hostName = found.hostName;
            slot.result.map = found.map;
            slot.result.players = found.players;
            slot.result.maxPlayers = found.maxPlayers;
            slot.result.pingMs = found.pingMs;
            slot.result.playerList = found.playerList;
            slot.result.rules = found.rules;
            Finish(i, found.state);
            return;
        }
        for (const Bytes& bytes : send) {
            slot.socket->Send(bytes);
        }
        if (event == ServerProbe::Event::Changed) {
            const std::string address = slot.result.address;
            slot.result = slot.probe->Result();
            slot.result.address = address;
            Notify(i);
        }
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
            if (slots_[index].phase != Phase::Resolving) {
                continue;  // given up already
            }
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

    // A name still not looked up when its server's time is over is given up: the query ends
    // without waiting for a resolver that hangs.
    void GiveUpNames(Clock::time_point now) {
        if (!resolver_ || now < start_ + options_.timeout * kDeadlineTimeouts) {
            return;
        }
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            if (slots_[i].phase == Phase::Resolving) {
                Finish(i, QueryState::UnknownHost);
            }
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
                Finish(i, QueryState::NoAnswer);
                continue;
            }
            slot.phase = Phase::Asking;
            slot.probe.emplace(slot.parsed, options_, seed_ + static_cast<std::uint32_t>(i) * 4u);
            std::vector<Bytes> send;
            slot.probe->Start(Clock::now(), send);
            Take(i, ServerProbe::Event::None, send);
        }
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
                Take(i, slot.probe->Fail(), {});
                return;
            }
            // The socket is connected, so the system drops other senders; checked once more.
            if (got.truncated || got.size > kMaxReplySize || !SamePeer(got.from, slot.peer)) {
                slot.probe->Stray();
                continue;
            }
            std::vector<Bytes> send;
            Take(i, slot.probe->Reply(ByteView(buffer.data(), got.size), Clock::now(), send), send);
        }
    }

    QueryOptions options_;
    std::function<void(std::size_t, const ServerResult&)> onUpdate_;
    std::vector<Slot> slots_;
    std::shared_ptr<Resolver> resolver_;
    Clock::time_point start_;
    std::uint32_t seed_ = 0;
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
