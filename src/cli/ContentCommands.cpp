// --query [--master MASTER]... ADDRESS..., --list-masters and --list-maps [--patch DIR] [--long]:
// the server query, the masters and the map lists of the window, printed one item a line;
// --map-preview NAME --output FILE: a map's picture.

#include <QString>
#include <algorithm>
#include <memory>
#include <ostream>

#include "cli/CommandLineInterface.h"
#include "core/ServerLists.h"
#include "core/StoredLaunch.h"
#include "maps/BrowserScan.h"
#include "maps/MapCache.h"
#include "maps/MapDetailService.h"
#include "net/MasterProtocol.h"
#include "net/QueryCommand.h"
#include "preview/MapPicture.h"

namespace fenmar::cli {

namespace {

const QString kPatchOption = QStringLiteral("patch");
const QString kLongOption = QStringLiteral("long");
const QString kOutputOption = QStringLiteral("output");
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

// Where the stored settings say the maps are, with --patch DIR instead of the stored patch.
std::string PatchOf(CliCall& call, const Globals& globals) {
    if (call.Parser().isSet(kPatchOption)) {
        return call.Parser().value(kPatchOption).toLocal8Bit().toStdString();
    }
    return globals.Profile.Text(TextField::GamePatch);
}

// --list-maps --long: after name and title, monsters and secrets at the stored skill and the
// modes the map offers ("" for a map that cannot be read). Where the stored options say not to
// read maps, no map is opened: the title says "<not scanned>" and the three fields stay empty.
int ListMapsLong(CliCall& call, const std::string& quakePath, const std::string& patch,
                 const maps::ScanOptions& options, int skill) {
    const std::string cacheFile = maps::DefaultCacheFile();
    if (options.dontScanBSPMsgs) {
        return maps::RunListMapsCommand(
            quakePath, patch, options, cacheFile, call.Out(), call.Err(),
            [](maps::BrowserList, const maps::MapEntry&) { return std::string("\t\t"); });
    }
    const std::unique_ptr<maps::MapDetailCache> cache = maps::MapDetailCache::Open(cacheFile);
    maps::MapDetailService details({quakePath, patch, options}, cache.get());
    const maps::Play play = maps::PlayOfSkill(skill);
    return maps::RunListMapsCommand(quakePath, patch, options, cacheFile, call.Out(), call.Err(),
                                    [&](maps::BrowserList list, const maps::MapEntry& entry) {
                                        const auto found = details.Get(list, entry.name, false);
                                        if (!found) {
                                            return std::string("\t\t");
                                        }
                                        return std::to_string(found->summary.Monsters(play)) +
                                               '\t' + std::to_string(found->summary.Secrets(play)) +
                                               '\t' + found->summary.Modes();
                                    });
}

int MapPreview(CliCall& call) {
    const std::vector<std::string> names = call.Arguments();
    const std::string output = call.Parser().value(kOutputOption).toLocal8Bit().toStdString();
    if (names.empty() || output.empty()) {
        return call.UsageError("--map-preview needs a map name and --output FILE.png");
    }
    store::Store* store = call.Store();
    if (store == nullptr) {
        return kExitFailed;
    }
    LaunchInputs inputs;
    ReadStoredOptions(*store, inputs);
    ReadStoredProfile(*store, "", inputs);
    const Globals& globals = inputs.globals;
    const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
    if (quakePath.empty()) {
        return call.Error("no Quake directory is set", kExitUsage);
    }
    // "e1m1 - The Slipgate Complex" as the map box holds it names e1m1.
    std::string name = names.front().substr(0, names.front().find(' '));
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bsp") == 0) {
        name.resize(name.size() - 4);
    }
    const std::unique_ptr<maps::MapDetailCache> cache =
        maps::MapDetailCache::Open(maps::DefaultCacheFile());
    maps::ScanOptions options;
    options.minBSPSize = globals.MinBSPSize;
    maps::MapDetailService details({quakePath, PatchOf(call, globals), options}, cache.get());
    std::string error;
    const auto found = details.GetAnywhere(name, true, &error);
    if (!found) {
        return call.Error("map '" + name + "': " + error,
                          error == "No such map" ? kExitUsage : kExitFailed);
    }
    if (!found->preview || found->preview->Empty()) {
        return call.Error("map '" + name + "' has no floors to draw", kExitFailed);
    }
    if (!preview::WriteMapPicture(*found->preview, output)) {
        return call.Error("cannot write " + output, kExitFailed);
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
    const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
    if (!call.Parser().isSet(kLongOption)) {
        return maps::RunListMapsCommand(quakePath, patch, options, maps::DefaultCacheFile(),
                                        call.Out(), call.Err());
    }
    return ListMapsLong(call, quakePath, patch, options, globals.Profile->SkillLevel);
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
    cli.RegisterModifier(
        {kLongOption, QStringLiteral("With --list-maps: add monsters and secrets at the "
                                     "stored skill, and the modes (SP coop DM), each after "
                                     "a tab; empty where the stored options say not to "
                                     "read the maps' titles.")});
    cli.Register({QStringLiteral("map-preview"),
                  QStringLiteral("Draw the map NAME seen from above into the PNG file given "
                                 "by --output. Exit 2 for a map not found.")},
                 MapPreview);
    cli.RegisterModifier({kOutputOption,
                          QStringLiteral("With --map-preview: the PNG file FILE to write."),
                          QStringLiteral("FILE")});
}

}  // namespace fenmar::cli
