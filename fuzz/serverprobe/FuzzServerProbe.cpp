// One server's query driven by a script: each step is a kind byte and, for an answer, a two-byte
// length and that many bytes. Kind 0: the answer arrives; 1: time passes (the next byte in
// tens of milliseconds); 2: the system reports the server unreachable. The query must end
// within its time, stay within its bounds and never take a step after it finished.
#include <algorithm>
#include <cstdlib>

#include "net/ServerProbe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    using namespace std::chrono_literals;
    const std::size_t mode = size > 0 ? data[0] % 4 : 0;
    static const char* const kAddresses[] = {"127.0.0.1:27500", "nq://127.0.0.1", "qw://127.0.0.1",
                                             "dp://127.0.0.1"};
    QueryOptions options;
    options.timeout = 1000ms;
    ServerProbe probe(*ParseServerAddress(kAddresses[mode]), options, 0);
    const auto start = ServerProbe::Clock::time_point{} + 1h;
    auto now = start;
    auto finishedAt = ServerProbe::Clock::time_point::max();
    std::vector<Bytes> send;
    const auto note = [&](ServerProbe::Event event, ServerProbe::Clock::time_point at) {
        if (event == ServerProbe::Event::Finished) {
            finishedAt = at;
        }
    };
    probe.Start(now, send);
    std::size_t pos = 1;
    while (pos < size && !probe.Finished()) {
        const std::uint8_t kind = data[pos++] % 3;
        if (kind == 0) {
            if (pos + 2 > size) {
                break;
            }
            const std::size_t length = std::min<std::size_t>(
                static_cast<std::size_t>(data[pos] | data[pos + 1] << 8), size - pos - 2);
            pos += 2;
            note(probe.Reply(ByteView(data + pos, length), now, send), now);
            pos += length;
        } else if (kind == 1) {
            const int steps = pos < size ? data[pos++] : 0;
            now += std::chrono::milliseconds(10 * steps);
            while (!probe.Finished() && probe.NextWake() <= now) {
                const auto at = probe.NextWake();
                note(probe.Wake(at, send), at);
            }
        } else {
            note(probe.Fail(), now);
        }
        if (send.size() > 100000) {
            send.clear();  // the loop sends and forgets them
        }
    }
    // Left alone, every query ends by itself within its time in all.
    for (int n = 0; n < 1000 && !probe.Finished(); ++n) {
        now = std::max(now, probe.NextWake());
        note(probe.Wake(now, send), now);
    }
    const ServerResult& r = probe.Result();
    if (!probe.Finished() || finishedAt > start + options.timeout * kDeadlineTimeouts ||
        r.state == QueryState::Waiting || r.rules.size() > kMaxRules ||
        r.playerList.size() > kMaxPlayers || r.hostName.size() > kMaxTextLength) {
        std::abort();
    }
    return 0;
}
