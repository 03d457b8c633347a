#include "net/MasterQuery.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace fenmar::net {

namespace {

using Clock = std::chrono::steady_clock;
using platform::NetAddress;
using platform::UdpSocket;

// Most datagrams read from one master: a full list of kMaxMasterEntries twice over (once
// more for the retry), in the smallest datagrams a sound master sends, and no more.
constexpr int kMaxDatagramsPerMaster = 2048;
constexpr int kMaxReadsPerWake = 64;
constexpr auto kLongestWait = std::chrono::milliseconds(50);

using AddressKey = std::array<std::uint8_t, 19>;

AddressKey KeyOf(const NetAddress& a) {
    AddressKey key{};
    key[0] = a.v6 ? 1 : 0;
    std::copy(a.ip.begin(), a.ip.end(), key.begin() + 1);
    key[17] = static_cast<std::uint8_t>(a.port >> 8);
    key[18] = static_cast<std::uint8_t>(a.port);
    return key;
}

// One name looked up on a thread of its own; the thread holds a share of this, so the
// query may end while the look-up still runs.
struct Lookup {
    std::mutex mutex;
    bool done = false;
    std::vector<NetAddress> found;

    static std::shared_ptr<Lookup> Start(const std::string& host, std::uint16_t port) {
        auto self = std::make_shared<Lookup>();
        std::thread([self, host, port] {
            auto addresses = platform::ResolveHost(host, port);
            const std::lock_guard lock(self->mutex);
            self->found = std::move(addresses);
            self->done = true;
        }).detach();
        return self;
    }
};

enum class Phase { Resolving, Ready, Asking, Done };

struct Master {
    MasterAddress address;
    Phase phase = Phase::Done;
    std::shared_ptr<Lookup> lookup;
    NetAddress peer;
    std::unique_ptr<UdpSocket> socket;
    Clock::time_point start;
    Clock::time_point lingerUntil = Clock::time_point::max();
    bool retried = false;
    int datagrams = 0;
    int replies = 0;  // sound reply datagrams
    int lasts = 0;    // DarkPlaces: final datagrams seen
    std::set<AddressKey> seen;
    std::vector<NetAddress> servers;
};

class MasterLoop {
public:
    MasterLoop(const std::vector<std::string>& texts, const MasterOptions& options)
        : options_(options), masters_(texts.size()) {
        result_.masters.resize(texts.size());
        const auto now = Clock::now();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            result_.masters[i].master = texts[i];
            const auto parsed = ParseMasterAddress(texts[i]);
            if (!parsed) {
                Finish(i, MasterState::BadAddress);
                continue;
            }
            Master& m = masters_[i];
            m.address = *parsed;
            m.start = now;  // the look-up's budget
            if (const auto numeric = platform::ParseNumericAddress(parsed->host, parsed->port)) {
                m.peer = *numeric;
                m.phase = Phase::Ready;
            } else {
                m.phase = Phase::Resolving;
                m.lookup = Lookup::Start(parsed->host, parsed->port);
            }
        }
    }

    MasterQueryResult Run(const std::atomic<bool>* cancel) {
        std::vector<UdpSocket*> sockets;
        std::vector<std::size_t> owners;
        while (finished_ < masters_.size() && !(cancel != nullptr && *cancel)) {
            const auto now = Clock::now();
            for (std::size_t i = 0; i < masters_.size(); ++i) {
                if (masters_[i].phase == Phase::Resolving) {
                    TakeLookup(i, now);
                }
                if (masters_[i].phase == Phase::Ready) {
                    Ask(i);
                }
            }
            sockets.clear();
            owners.clear();
            auto wake = Clock::now() + kLongestWait;
            for (std::size_t i = 0; i < masters_.size(); ++i) {
                if (masters_[i].phase == Phase::Asking) {
                    sockets.push_back(masters_[i].socket.get());
                    owners.push_back(i);
                    wake = std::min(wake, NextTimer(masters_[i]));
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
            const auto later = Clock::now();
            for (std::size_t i = 0; i < masters_.size(); ++i) {
                if (masters_[i].phase == Phase::Asking) {
                    CheckTimers(i, later);
                }
            }
        }
        // Each server once, in the masters' order.
        std::set<AddressKey> listed;
        for (std::size_t i = 0; i < masters_.size(); ++i) {
            result_.masters[i].listed = masters_[i].servers.size();
            for (const NetAddress& a : masters_[i].servers) {
                if (listed.insert(KeyOf(a)).second) {
                    result_.servers.push_back({a, masters_[i].address.kind});
                }
            }
        }
        return std::move(result_);
    }

private:
    void Finish(std::size_t i, MasterState state) {
        masters_[i].phase = Phase::Done;
        masters_[i].socket.reset();
        result_.masters[i].state = state;
        ++finished_;
    }

    void TakeLookup(std::size_t i, Clock::time_point now) {
        Master& m = masters_[i];
        std::vector<NetAddress> found;
        {
            const std::lock_guard lock(m.lookup->mutex);
            if (!m.lookup->done) {
                if (now >= m.start + options_.timeout) {
                    Finish(i, MasterState::UnknownHost);
                }
                return;
            }
            found = m.lookup->found;
        }
        if (found.empty()) {
            Finish(i, MasterState::UnknownHost);
            return;
        }
        const auto v4 =
            std::find_if(found.begin(), found.end(), [](const NetAddress& a) { return !a.v6; });
        m.peer = v4 != found.end() ? *v4 : found.front();
        m.phase = Phase::Ready;
    }

    void Ask(std::size_t i) {
        Master& m = masters_[i];
        m.socket = UdpSocket::Open(m.peer.v6);
        if (!m.socket || !m.socket->Connect(m.peer)) {
            Finish(i, MasterState::NoAnswer);
            return;
        }
        m.phase = Phase::Asking;
        m.start = Clock::now();
        Send(m);
    }

    static void Send(Master& m) {
        if (m.address.kind == ServerKind::DarkPlaces) {
            for (const std::string_view game : kDpMasterGames) {
                m.socket->Send(DpMasterRequest(game));
            }
        } else {
            m.socket->Send(QwMasterRequest());
        }
    }

    Clock::time_point NextTimer(const Master& m) const {
        const auto end = std::min(m.start + options_.timeout, m.lingerUntil);
        return m.retried ? end : std::min(end, m.start + options_.timeout / 2);
    }

    void CheckTimers(std::size_t i, Clock::time_point now) {
        Master& m = masters_[i];
        if (now >= m.lingerUntil) {
            Finish(i, MasterState::Answered);
        } else if (now >= m.start + options_.timeout) {
            Finish(i, m.replies > 0 ? MasterState::Incomplete : MasterState::NoAnswer);
        } else if (!m.retried && m.replies == 0 && now >= m.start + options_.timeout / 2) {
            m.retried = true;
            Send(m);
        }
    }

    void ReadFrom(std::size_t i) {
        std::vector<std::uint8_t>& buffer = buffer_;
        for (int n = 0; n < kMaxReadsPerWake && masters_[i].phase == Phase::Asking; ++n) {
            Master& m = masters_[i];
            const auto got = m.socket->Receive(buffer);
            if (got.status == platform::ReceiveStatus::Empty) {
                return;
            }
            if (got.status != platform::ReceiveStatus::Datagram) {
                Finish(i, m.replies > 0 ? MasterState::Incomplete : MasterState::NoAnswer);
                return;
            }
            if (++m.datagrams > kMaxDatagramsPerMaster) {
                Finish(i, MasterState::Incomplete);
                return;
            }
            if (got.truncated || got.size > kMaxMasterReplySize || !(got.from == m.peer)) {
                continue;
            }
            const ByteView packet(buffer.data(), got.size);
            const auto reply = m.address.kind == ServerKind::DarkPlaces
                                   ? ParseDpMasterReply(packet)
                                   : ParseQwMasterReply(packet);
            if (reply) {
                Take(i, *reply);
            }
        }
    }

    void Take(std::size_t i, const MasterReply& reply) {
        Master& m = masters_[i];
        ++m.replies;
        for (const NetAddress& a : reply.servers) {
            if (m.servers.size() >= kMaxMasterEntries) {
                Finish(i, MasterState::Incomplete);  // a list that long is cut
                return;
            }
            if (m.seen.insert(KeyOf(a)).second) {
                m.servers.push_back(a);
            }
        }
        if (m.address.kind == ServerKind::DarkPlaces) {
            m.lasts += reply.last ? 1 : 0;
            if (m.lasts >= static_cast<int>(std::size(kDpMasterGames))) {
                Finish(i, MasterState::Answered);
            }
        } else {
            m.lingerUntil = Clock::now() + options_.linger;
        }
    }

    MasterOptions options_;
    std::vector<Master> masters_;
    MasterQueryResult result_;
    std::size_t finished_ = 0;
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(kMaxMasterReplySize + 1);
};

}  // namespace

const char* MasterStateText(MasterState state) {
    switch (state) {
        case MasterState::Waiting:
            return "waiting";
        case MasterState::Answered:
            return "ok";
        case MasterState::Incomplete:
            return "list incomplete";
        case MasterState::NoAnswer:
            return "no answer";
        case MasterState::UnknownHost:
            return "unknown host";
        case MasterState::BadAddress:
            return "bad address";
    }
    return "";
}

MasterQueryResult QueryMasters(const std::vector<std::string>& masters,
                               const MasterOptions& options, const std::atomic<bool>* cancel) {
    MasterLoop loop(masters, options);
    return loop.Run(cancel);
}

std::string FoundServerText(const FoundServer& server) {
    const std::string text = server.address.ToString();
    return server.kind == ServerKind::QuakeWorld ? "qw://" + text : text;
}

std::string MasterSummary(const MasterQueryResult& result) {
    std::size_t answered = 0;
    std::string problems;
    for (const MasterResult& m : result.masters) {
        if (m.state == MasterState::Answered) {
            ++answered;
        } else {
            problems += ", " + m.master + " " + MasterStateText(m.state);
        }
    }
    return std::to_string(result.masters.size()) +
           (result.masters.size() == 1 ? " master: " : " masters: ") + std::to_string(answered) +
           " answered" + problems + "; " + std::to_string(result.servers.size()) +
           (result.servers.size() == 1 ? " server" : " servers");
}

}  // namespace fenmar::net
