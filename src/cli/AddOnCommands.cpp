// --addons [TEXT], --install-addon ID..., --remove-addon ID... and --play-addon ID [--map
// NAME], with --catalogue URL for another catalogue and --refresh-catalogue to fetch it again.

#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>
#include <optional>
#include <ostream>

#include "addons/AddOnFilter.h"
#include "addons/AddOnSettings.h"
#include "addons/CatalogueReader.h"
#include "addons/Installed.h"
#include "addons/Play.h"
#include "cli/CommandLineInterface.h"
#include "cli/HeadlessLaunch.h"
#include "core/InstallLayout.h"
#include "core/StoredLaunch.h"
#include "download/AddOnInstaller.h"
#include "download/CatalogueCache.h"
#include "platform/FileSystem.h"

namespace fenmar::cli {

namespace {

const QString kCatalogueOption = QStringLiteral("catalogue");
const QString kRefreshOption = QStringLiteral("refresh-catalogue");
const QString kOverwriteOption = QStringLiteral("overwrite");
const QString kMapOption = QStringLiteral("map");

std::string Local(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// One field of a tab-separated line: no tab or line break inside.
std::string Field(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text.empty() ? std::string("-") : text;
}

// The catalogue of this call, the Quake directory in force and the network they use.
struct AddOnCall {
    CliCall& call;
    std::string url;
    std::string quakeDir;
    addons::Catalogue catalogue;
    QNetworkAccessManager network;

    explicit AddOnCall(CliCall& c) : call(c) {}

    // The address, the Quake directory and the catalogue (its copy, fetched when there is
    // none or when asked to); an exit status when any of it fails.
    std::optional<int> Load() {
        store::Store* store = call.Store();
        if (store == nullptr) {
            return kExitFailed;
        }
        LaunchInputs inputs;
        ReadStoredOptions(*store, inputs);
        ReadStoredProfile(*store, "", inputs);
        quakeDir = inputs.globals.Profile.Text(TextField::QuakePath);
        url = call.Parser().isSet(kCatalogueOption)
                  ? call.Parser().value(kCatalogueOption).toStdString()
                  : addons::ReadCatalogueAddress(*store);
        const QUrl address(QString::fromStdString(url));
        if (!download::IsDownloadAddress(address)) {
            return call.UsageError("the catalogue address \"" + url +
                                   "\" is no http or https address");
        }
        const QString cache = download::CatalogueCacheFile(address);
        const bool have = download::CatalogueFetchedAt(cache).has_value();
        if (!have || call.Parser().isSet(kRefreshOption)) {
            const download::DownloadResult fetched =
                download::FetchCatalogue(network, address, cache);
            if (fetched.outcome != download::DownloadOutcome::Done) {
                call.Err() << "fenmar: the catalogue could not be fetched: " << Local(fetched.error)
                           << "\n";
                if (!have) {
                    return kExitFailed;
                }
                call.Err() << "fenmar: using the copy of "
                           << Local(download::CatalogueFetchedAt(cache)->toString(Qt::ISODate))
                           << "\n";
            }
        }
        addons::CatalogueResult read = addons::ReadCatalogueFile(Local(cache));
        if (!read.Ok()) {
            return call.Error("the catalogue cannot be read: " + read.error, kExitFailed);
        }
        if (read.catalogue.Skipped() > 0) {
            call.Err() << "fenmar: " << read.catalogue.Skipped()
                       << " damaged entries of the catalogue were skipped\n";
        }
        catalogue = std::move(read.catalogue);
        return std::nullopt;
    }

    // Without a usable Quake directory nothing can be installed, removed or played.
    std::optional<int> NeedQuakeDir() {
        if (quakeDir.empty()) {
            return call.Error("no Quake directory is set; choose one in the window first",
                              kExitUsage);
        }
        if (!platform::DirectoryExists(quakeDir)) {
            return call.Error("the Quake directory \"" + quakeDir + "\" does not exist",
                              kExitUsage);
        }
        return std::nullopt;
    }

    // The ids on the line, each known to the catalogue; an exit status otherwise.
    std::optional<int> CheckIds(const std::vector<std::string>& ids, const char* option) {
        if (ids.empty()) {
            return call.UsageError(std::string(option) + " needs at least one add-on id");
        }
        for (const std::string& id : ids) {
            if (catalogue.Find(id) == nullptr) {
                return call.UsageError("unknown add-on '" + id + "' (--addons lists them)");
            }
        }
        return std::nullopt;
    }
};

std::string Rating(const std::optional<double>& rating) {
    return rating ? Local(QString::number(*rating, 'g', 3)) : std::string("-");
}

int ListAddOns(CliCall& call) {
    AddOnCall c(call);
    if (auto status = c.Load()) {
        return *status;
    }
    std::string text;
    for (const std::string& word : call.Arguments()) {
        text += (text.empty() ? "" : " ") + word;
    }
    const auto& all = c.catalogue.AddOns();
    const bool haveQuake = !c.quakeDir.empty() && platform::DirectoryExists(c.quakeDir);
    const addons::InstalledAddOns installed(haveQuake ? c.quakeDir : std::string());
    for (const std::size_t i : addons::FilterAddOns(all, text)) {
        const addons::AddOn& addOn = all[i];
        const addons::AddOnState state =
            haveQuake ? installed.StatusOf(addOn).state : addons::AddOnState::NotInstalled;
        call.Out() << Field(addOn.id) << '\t' << addons::StateName(state) << '\t'
                   << addons::TypeName(addOn.type) << '\t' << Field(addOn.date.Text()) << '\t'
                   << Rating(addOn.rating) << '\t' << Field(addOn.title) << '\t'
                   << Field(addOn.author) << '\n';
    }
    return kExitOk;
}

int InstallAddOns(CliCall& call) {
    AddOnCall c(call);
    const std::vector<std::string> ids = call.Arguments();
    if (ids.empty()) {
        return call.UsageError("--install-addon needs at least one add-on id");
    }
    if (auto status = c.Load()) {
        return *status;
    }
    if (auto status = c.CheckIds(ids, "--install-addon")) {
        return *status;
    }
    if (auto status = c.NeedQuakeDir()) {
        return *status;
    }
    download::AddOnInstaller installer(c.network);
    const bool overwrite = call.Parser().isSet(kOverwriteOption);
    installer.SetOverwriteQuestion(
        [overwrite](const addons::AddOn&, const std::vector<addons::Conflict>&) {
            return overwrite;
        });
    QObject::connect(&installer, &download::AddOnInstaller::stepStarted,
                     [&call](int index, int count, const QString& id) {
                         call.Err() << "fenmar: installing " << Local(id) << " (" << index + 1
                                    << " of " << count << ")\n";
                     });
    const download::InstallSummary summary =
        download::RunInstall(installer, c.catalogue, c.url, c.quakeDir, ids);
    for (const std::string& id : summary.installed) {
        call.Out() << id << "\tinstalled\n";
    }
    if (!summary.Ok()) {
        std::string message = Local(summary.error);
        if (message.find("not its own") != std::string::npos) {
            message += " (--overwrite replaces them)";
        }
        return call.Error(message, kExitFailed);
    }
    return kExitOk;
}

int RemoveAddOns(CliCall& call) {
    const std::vector<std::string> ids = call.Arguments();
    if (ids.empty()) {
        return call.UsageError("--remove-addon needs at least one add-on id");
    }
    AddOnCall c(call);
    if (auto status = c.Load()) {
        return *status;
    }
    if (auto status = c.CheckIds(ids, "--remove-addon")) {
        return *status;
    }
    if (auto status = c.NeedQuakeDir()) {
        return *status;
    }
    int exit = kExitOk;
    for (const std::string& asked : ids) {
        const std::string& id = c.catalogue.Find(asked)->id;
        const addons::RemoveResult removed = addons::RemoveAddOn(c.quakeDir, id);
        for (const std::string& kept : removed.kept) {
            call.Err() << "fenmar: kept " << kept << ": changed since " << id << " was installed\n";
        }
        if (!removed.Ok()) {
            exit = call.Error(id + ": " + removed.error, kExitFailed);
            continue;
        }
        call.Out() << id << "\tremoved\n";
    }
    return exit;
}

// The launch page as Play fills it: the add-on's game folder, map and switches.
void PlayAddOnParameters(LaunchInputs& inputs, const addons::PlayPlan& plan) {
    LiveProfile& profile = inputs.globals.Profile;
    profile.SetText(TextField::GamePatch, plan.gamePatch);
    const std::string map = !plan.map.empty()   ? plan.map
                            : plan.maps.empty() ? std::string()
                                                : plan.maps.front();
    profile.SetText(TextField::LaunchMap, map);
    // The add-on is played, not a demo or somebody's server.
    profile.Record().DemoState = 0;
    profile.Record().ConnectToServer = 0;
    inputs.additionalParams.clear();
    if (!plan.additionalParameters.empty()) {
        inputs.additionalParams.push_back(plan.additionalParameters);
    }
    ApplyShownProfileRules(inputs.globals);
}

int PlayAddOn(CliCall& call) {
    const std::vector<std::string> ids = call.Arguments();
    if (ids.size() != 1) {
        return call.UsageError("--play-addon takes one add-on id");
    }
    AddOnCall c(call);
    if (auto status = c.Load()) {
        return *status;
    }
    if (auto status = c.CheckIds(ids, "--play-addon")) {
        return *status;
    }
    if (auto status = c.NeedQuakeDir()) {
        return *status;
    }
    const addons::AddOn& addOn = *c.catalogue.Find(ids.front());
    if (addons::InstalledAddOns(c.quakeDir).StatusOf(addOn).state ==
        addons::AddOnState::NotInstalled) {
        return call.Error(addOn.id + " is not installed (--install-addon installs it)",
                          kExitFailed);
    }
    const std::string chosen = Local(call.Parser().value(kMapOption));
    const addons::PlayPlan plan = addons::PlanPlay(addOn, chosen, c.quakeDir);
    if (!plan.Ok()) {
        return call.UsageError(plan.error);
    }
    store::Store* store = call.Store();
    HeadlessLaunch launch(*store, PlugInDirectoryFor(call.ProgramDir()));
    launch.Load("");
    PlayAddOnParameters(launch.Inputs(), plan);
    return RunLoaded(call, launch);
}

}  // namespace

void RegisterAddOnOptions(CommandLineInterface& cli) {
    cli.Register({QStringLiteral("addons"),
                  QStringLiteral("Print the add-ons of the catalogue whose title, author or id "
                                 "hold every word of TEXT, one tab-separated line each: id, "
                                 "state (installed, changed or -), type, date, rating, title, "
                                 "author.")},
                 ListAddOns);
    cli.Register({QStringLiteral("install-addon"),
                  QStringLiteral("Download and install the add-ons ID... with what they require "
                                 "into the stored Quake directory.")},
                 InstallAddOns);
    cli.Register({QStringLiteral("remove-addon"),
                  QStringLiteral("Remove the files the add-ons ID... installed; files changed "
                                 "since are kept.")},
                 RemoveAddOns);
    cli.Register({QStringLiteral("play-addon"),
                  QStringLiteral("Start the installed add-on ID as \"run Quake !\" does, with "
                                 "its game folder, start map and switches.")},
                 PlayAddOn);
    cli.RegisterModifier({kCatalogueOption,
                          QStringLiteral("With the add-on options: use the catalogue at URL "
                                         "instead of the stored one."),
                          QStringLiteral("URL")});
    cli.RegisterModifier(
        {kRefreshOption, QStringLiteral("With the add-on options: fetch the catalogue again "
                                        "first (otherwise its kept copy is used).")});
    cli.RegisterModifier(
        {kOverwriteOption, QStringLiteral("With --install-addon: replace files in the way that "
                                          "are not the add-on's own.")});
    cli.RegisterModifier({kMapOption,
                          QStringLiteral("With --play-addon: start the map NAME instead of the "
                                         "add-on's first start map."),
                          QStringLiteral("NAME")});
}

}  // namespace fenmar::cli
