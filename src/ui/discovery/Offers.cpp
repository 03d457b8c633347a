#include "ui/discovery/Offers.h"

#include "ui/discovery/BusyRun.h"
#include "ui/widgets/LocalText.h"

namespace fenmar::ui {

namespace {
std::optional<DiscoveryEnvironment>& ReplacedPlaces() {
    static std::optional<DiscoveryEnvironment> places;
    return places;
}
}  // namespace

DiscoveryEnvironment DiscoveryPlaces() {
    return ReplacedPlaces() ? *ReplacedPlaces() : DiscoveryEnvironment::FromProcess();
}

void ReplaceDiscoveryPlaces(std::optional<DiscoveryEnvironment> places) {
    ReplacedPlaces() = std::move(places);
}

std::vector<FoundEngine> SearchEngines(AppContext& context, QWidget* owner) {
    const DiscoveryEnvironment env = DiscoveryPlaces();
    const std::string quakePath = context.globals.Profile.Text(TextField::QuakePath);
    return RunWithBusyIndicator<std::vector<FoundEngine>>(
               owner, QStringLiteral("Looking for Quake engines on this computer..."),
               [env, quakePath](const std::atomic<bool>& stop) {
                   DiscoveryLimits limits;
                   limits.stop = &stop;
                   return FindEngines(env, quakePath, limits);
               })
        .value_or(std::vector<FoundEngine>());
}

std::vector<FoundInstallation> SearchQuakeInstallations(QWidget* owner) {
    const DiscoveryEnvironment env = DiscoveryPlaces();
    return RunWithBusyIndicator<std::vector<FoundInstallation>>(
               owner, QStringLiteral("Looking for Quake's game data on this computer..."),
               [env](const std::atomic<bool>& stop) {
                   DiscoveryLimits limits;
                   limits.stop = &stop;
                   return FindQuakeInstallations(env, limits);
               })
        .value_or(std::vector<FoundInstallation>());
}

QuakeDirectoryChoice OfferQuakeDirectories(AppContext& context, QWidget* owner) {
    const std::vector<FoundInstallation> found = SearchQuakeInstallations(owner);
    if (found.empty()) {
        return {QuakeDirectoryChoice::Kind::UseFolderChooser, {}};
    }
    ChoiceRequest request;
    request.title = QStringLiteral("Select your Quake directory");
    request.text = QStringLiteral(
        "Quake's game data was found in these directories. Choose one, or choose another "
        "directory yourself:");
    for (const FoundInstallation& install : found) {
        request.items << FromLocal(install.path) + QStringLiteral("   (") +
                             FromLocal(install.where) + QLatin1Char(')');
    }
    request.items << QStringLiteral("Another directory...");
    request.ticked = {0};
    const auto chosen = context.ui.ChooseFromList(request);
    if (!chosen || chosen->empty()) {
        return {QuakeDirectoryChoice::Kind::Cancelled, {}};
    }
    const int row = chosen->front();
    if (row < 0 || static_cast<std::size_t>(row) >= found.size()) {
        return {QuakeDirectoryChoice::Kind::UseFolderChooser, {}};
    }
    return {QuakeDirectoryChoice::Kind::Chosen,
            FromLocal(found[static_cast<std::size_t>(row)].path)};
}

}  // namespace fenmar::ui
