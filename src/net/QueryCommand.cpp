#include "net/QueryCommand.h"

#include "net/MasterQuery.h"
#include "net/Protocol.h"
#include "net/ServerQuery.h"

namespace fenmar::net {

namespace {

// The listed address as given (control bytes blanked), and the server's texts in Quake's
// character set: nothing printed can move the terminal or break a line.
std::string Printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        out.push_back(u < 0x20 || u == 0x7F ? ' ' : c);
    }
    return out;
}

std::string Number(int value) {
    return value < 0 ? std::string("-") : std::to_string(value);
}

int QueryAndPrint(const std::vector<ServerEntry>& entries, std::ostream& out,
                  std::chrono::milliseconds timeout) {
    QueryOptions options;
    options.timeout = timeout;
    options.details = false;
    const auto results = QueryServers(entries, options);
    bool anyAnswered = false;
    for (const ServerResult& r : results) {
        const bool answered = r.state == QueryState::Answered;
        anyAnswered = anyAnswered || answered;
        const ServerKind kind = r.kind == ServerKind::Auto ? ServerKind::NetQuake : r.kind;
        out << Printable(r.address) << '\t' << KindName(kind) << '\t' << StateText(r.state) << '\t'
            << QuakeText(r.hostName) << '\t' << QuakeText(r.map) << '\t' << Number(r.players)
            << '\t' << Number(r.maxPlayers) << '\t' << Number(r.pingMs) << '\n';
    }
    out.flush();
    return anyAnswered ? 0 : 1;
}

}  // namespace

int RunQueryCommand(const std::vector<std::string>& addresses, std::ostream& out, std::ostream& err,
                    std::chrono::milliseconds timeout) {
    if (addresses.empty()) {
        err << "fenmar: --query needs at least one server address\n";
        return 1;
    }
    std::vector<ServerEntry> entries;
    entries.reserve(addresses.size());
    for (const std::string& address : addresses) {
        entries.push_back({address, ServerKind::Auto});
    }
    return QueryAndPrint(entries, out, timeout);
}

int RunMasterQueryCommand(const std::vector<std::string>& masters,
                          const std::vector<std::string>& addresses, std::ostream& out,
                          std::ostream& err, std::chrono::milliseconds timeout) {
    MasterOptions options;
    options.timeout = timeout;
    const MasterQueryResult found = QueryMasters(masters, options);
    for (const MasterResult& m : found.masters) {
        if (m.state != MasterState::Answered) {
            err << "fenmar: master " << Printable(m.master) << ": " << MasterStateText(m.state)
                << "\n";
        }
    }
    std::vector<ServerEntry> entries;
    for (const std::string& address : addresses) {
        entries.push_back({address, ServerKind::Auto});
    }
    for (const FoundServer& server : found.servers) {
        entries.push_back({FoundServerText(server), ServerKind::Auto});
    }
    if (entries.empty()) {
        err << "fenmar: the masters listed no server\n";
        return 1;
    }
    return QueryAndPrint(entries, out, timeout);
}

}  // namespace fenmar::net
