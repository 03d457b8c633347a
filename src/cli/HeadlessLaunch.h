#pragma once
// A launch without a window: the stored settings and a Quick-Set read as the main window reads
// them, the stored plug-in active, and the line composed by the same composer.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/CommandLine.h"
#include "core/ConfigPreview.h"
#include "core/StoredLaunch.h"
#include "platform/Process.h"
#include "plugins/PlugInHost.h"
#include "plugins/TPlugIn.h"
#include "store/Store.h"

namespace fenmar::cli {

class CliCall;

// The plug-in's questions answered without asking anybody.
class HeadlessPlugInHost : public PlugInHost {
public:
    explicit HeadlessPlugInHost(LaunchInputs& inputs) : inputs_(inputs) {}
    // A plug-in changed the profile: the window's rules apply to it as it is shown.
    void ShowProfile() override;
    void ApplyAllowList(const AllowList* /*list*/) override {}
    // The name of the executable whose file is `file`; "" when none (nobody is asked).
    std::string ResolveExecutableName(const std::string& file) override;
    std::optional<std::string> BrowseMap() override { return std::nullopt; }
    std::string BrowseForPatch() override { return {}; }
    std::optional<std::string> BrowseDemoID1() override { return std::nullopt; }
    std::optional<std::string> BrowseDemoPatch() override { return std::nullopt; }
    std::optional<std::string> BrowseExecutableFile() override { return std::nullopt; }

private:
    LaunchInputs& inputs_;
};

class HeadlessLaunch {
public:
    // `store` must outlive this object; plug-ins are loaded from `plugInDir` only.
    HeadlessLaunch(store::Store& store, std::string plugInDir);
    ~HeadlessLaunch();
    HeadlessLaunch(const HeadlessLaunch&) = delete;
    HeadlessLaunch& operator=(const HeadlessLaunch&) = delete;

    // The global options, the working profile and then, unless `quickSet` is empty, the
    // Quick-Set over it; each profile activates its stored plug-in.
    void Load(const std::string& quickSet);

    LaunchInputs& Inputs() { return inputs_; }
    const LaunchInputs& Inputs() const { return inputs_; }
    TPlugIn& PlugIn() { return *slot_; }
    std::optional<std::string> Executable() const;

    // The line as "run Quake !" would start it and the config file it would write, writing
    // nothing. `notices` receives what the window would tell the user.
    struct Preview {
        std::string line;
        bool configMode = false;
        std::vector<std::string> configLines;
    };
    Preview ComposePreview(std::vector<std::string>& notices);
    // The real composition: in config-file mode the config file is written. The result
    // names the program the line was built for (GameStartRequest starts exactly that).
    ComposedLaunch Compose(std::vector<std::string>& notices);
    // Clean-up as asked for "on launching", then the detached start of the game.
    platform::StartResult Start(const platform::StartRequest& request);

private:
    void LoadProfile(const std::string& name);
    ComposeInputs MakeComposeInputs() const;

    store::Store& store_;
    LaunchInputs inputs_;
    HeadlessPlugInHost host_;
    std::unique_ptr<TPlugIn> slot_;
};

// Starts the game as "--run" does with what `launch` holds: refuses without an executable or
// a Quake directory (exit 2), reports a program that cannot be started (exit 1).
int RunLoaded(CliCall& call, HeadlessLaunch& launch);

}  // namespace fenmar::cli
