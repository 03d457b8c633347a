#include "cli/HeadlessLaunch.h"

#include "core/CommandLine.h"
#include "core/GameStart.h"
#include "plugins/PlugInList.h"
#include "plugins/PlugInSettings.h"
#include "store/PlugInKeys.h"

namespace fenmar::cli {

void HeadlessPlugInHost::ShowProfile() {
    ApplyShownProfileRules(inputs_.globals);
}

std::string HeadlessPlugInHost::ResolveExecutableName(const std::string& file) {
    for (const ExecutableEntry& entry : inputs_.executables.Entries()) {
        if (EqualsIgnoringAsciiCase(entry.file, file)) {
            return entry.name;
        }
    }
    return {};
}

HeadlessLaunch::HeadlessLaunch(store::Store& store, std::string plugInDir)
    : store_(store), host_(inputs_) {
    store::SetPlugInStore(&store_);
    slot_ = std::make_unique<TPlugIn>(
        PlugInEnvironment{std::move(plugInDir), &inputs_.globals, &inputs_.executables, &host_});
}

HeadlessLaunch::~HeadlessLaunch() {
    slot_.reset();  // the plug-in may hold keys of the store until it is freed
    store::SetPlugInStore(nullptr);
}

void HeadlessLaunch::Load(const std::string& quickSet) {
    ReadStoredOptions(store_, inputs_);
    LoadProfile("");
    if (!quickSet.empty()) {
        LoadProfile(quickSet);
    }
}

void HeadlessLaunch::LoadProfile(const std::string& name) {
    const StoredProfileExtras extras = ReadStoredProfile(store_, name, inputs_);
    ActivatePlugIn(*slot_, extras.plugInName.empty() ? std::string(kNone) : extras.plugInName);
    if (slot_->IsLoaded()) {
        RestorePlugInSettings(*slot_, store_, ProfileKey(name));
    }
}

std::optional<std::string> HeadlessLaunch::Executable() const {
    return ShownExecutable(inputs_.executables, inputs_.globals.Executable);
}

ComposeInputs HeadlessLaunch::MakeComposeInputs() const {
    ComposeInputs inputs;
    inputs.shownExecutable = Executable();
    inputs.hostName = inputs_.globals.Profile.Text(TextField::HostName);
    inputs.globalParams = inputs_.globalParams;
    inputs.additionalParams = inputs_.additionalParams;
    return inputs;
}

HeadlessLaunch::Preview HeadlessLaunch::ComposePreview(std::vector<std::string>& notices) {
    // Composed as "run Quake !" composes (the plug-in sees the profile's own mode) but with
    // no file written; the config file's part is worked out afterwards by the same grouping.
    ComposeInputs inputs = MakeComposeInputs();
    inputs.writeConfigFile = false;
    const ComposedLaunch launch =
        ComposeLaunch(inputs_.globals, inputs_.executables, inputs, slot_.get(),
                      [&notices](const std::string& text) { notices.push_back(text); });
    Preview preview;
    preview.line = launch.line;
    const LiveProfile& profile = inputs_.globals.Profile;
    if (profile->CommandLineMode == 1 && IsSet(profile.Text(TextField::ConfigFile))) {
        preview.configMode = true;
        ConfigFilePreview file = PreviewConfigFile(profile, preview.line, launch.headLength);
        preview.line = file.line;
        preview.configLines = std::move(file.lines);
    }
    return preview;
}

ComposedLaunch HeadlessLaunch::Compose(std::vector<std::string>& notices) {
    return ComposeLaunch(inputs_.globals, inputs_.executables, MakeComposeInputs(), slot_.get(),
                         [&notices](const std::string& text) { notices.push_back(text); });
}

platform::StartResult HeadlessLaunch::Start(const platform::StartRequest& request) {
    const Globals& globals = inputs_.globals;
    if (globals.DeleteConfigs & kDeleteOnLaunch) {
        DeleteConfigFiles(globals);
    }
    return platform::StartDetached(request);
}

}  // namespace fenmar::cli
