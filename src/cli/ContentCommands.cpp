// --query [--master MASTER]... ADDRESS..., --list-masters and --list-maps [--patch DIR]: the
// server query, the masters and the map lists of the window, printed one item a line.

#include <QString>
#include <ostream>

#include "cli/CommandLineInterface.h"
#include "core/ServerLists.h"
#include "core/StoredLaunch.h"
#include "maps/BrowserScan.h"
#include "maps/MapCache.h"
#include "net/MasterProtocol.h"
#include "net/QueryCommand.h"

namespace fenmar::cli {

namespace {

const QString kPatchOption = QStringLiteral("patch");
const QString kMasterOption = QStringLiteral("master");

int Query(CliCall& call) {
    const std::vector<std::string> addresses = call.Arguments();
    if (call.Parser().isSet(kMasterOption)) {
        std::vector<std::string> masters;
        for (const QString& value : call.Parser().values(kMasterOption)) {
            masters.push_back(value.toLocal8Bit().toStdString());
            if (!net::ParseMasterAddress(masters.back())) {
                return call.UsageError("'" + masters.back() + "' names no master server");
            }
        }
        return net::RunMasterQueryCommand(masters, addresses, call.Out(), call.Err());
    }
    if (addresses.empty()) {
        return call.UsageError("--query needs at least one server address");
    }
    return net::RunQueryCommand(addresses, call.Out(), call.Err());
}

int ListMasters(CliCall& call) {
    if (!call.Arguments().empty()) {
        return call.UsageError("--list-masters takes no argument");
    }
    store::Store* store = call.Store();
    if (store == nullptr) {
        return kExitFailed;
    }
    for (const std::string& master : ReadStoredMasters(*store)) {
        call.Out() << master << "\n";
    }
    return kExitOk;
}

int ListMaps(CliCall& call) {
    if (!call.Arguments().empty()) {
        return call.UsageError("--list-maps takes no argument (--patch DIR names a patch)");
    }
    store::Store* store = call.Store();
    if (store == nullptr) {
        return kExitFailed;
    }
    LaunchInputs inputs;
    ReadStoredOptions(*store, inputs);
    ReadStoredProfile(*store, "", inputs);
    const Globals& globals = inputs.globals;
    std::string patch = globals.Profile.Text(TextField::GamePatch);
    if (call.Parser().isSet(kPatchOption)) {
        patch = call.Parser().value(kPatchOption).toLocal8Bit().toStdString();
    }
    maps::ScanOptions options;
    options.minBSPSize = globals.MinBSPSize;
    options.dontScanBSPMsgs = globals.DontScanBSPMsgs;
    return maps::RunListMapsCommand(globals.Profile.Text(TextField::QuakePath), patch, options,
                                    maps::DefaultCacheFile(), call.Out(), call.Err());
}

}  // namespace

void RegisterContentOptions(CommandLineInterface& cli) {
    cli.Register({QStringLiteral("query"),
                  QStringLiteral("Ask the servers ADDRESS... (host, host:port, [IPv6]:port; "
                                 "qw://host for QuakeWorld) and print one tab-separated line "
                                 "each: address, kind, state, name, map, players, maximum, "
                                 "ping in ms. Exit 0 when at least one answered.")},
                 Query);
    cli.RegisterModifier({kMasterOption,
                          QStringLiteral("With --query: first ask the master server MASTER "
                                         "([qw://|dp://]host[:port]; repeatable) and then every "
                                         "server it lists."),
                          QStringLiteral("MASTER")});
    cli.Register({QStringLiteral("list-masters"),
                  QStringLiteral("Print the master servers the Servers window asks, one a "
                                 "line.")},
                 ListMasters);
    cli.Register({QStringLiteral("list-maps"),
                  QStringLiteral("Print \"name<TAB>title\" for each map the map browser lists "
                                 "for the stored Quake directory and patch, in its order.")},
                 ListMaps);
    cli.RegisterModifier({kPatchOption,
                          QStringLiteral("With --list-maps: the patch directory DIR (relative "
                                         "to the Quake directory) instead of the stored one."),
                          QStringLiteral("DIR")});
}

}  // namespace fenmar::cli
