#pragma once
// The main window as the plug-in slot sees it (PlugInHost). Each request goes to a hook, so
// the parts of the window that answer it can be wired in one place: refreshing the controls
// from the profile, the allow-list gating, the executable question and the pickers of the
// info function. An unset hook gives a quiet answer: nothing to refresh, a cancelled picker,
// the current executable kept.

#include <functional>
#include <optional>
#include <string>

#include "plugins/PlugInHost.h"

namespace fenmar::ui {

class WindowPlugInHost : public PlugInHost {
public:
    using Action = std::function<void()>;
    using AllowListHook = std::function<void(const AllowList*)>;
    using ResolveHook = std::function<std::string(const std::string& file)>;
    using TextPicker = std::function<std::optional<std::string>()>;
    using PatchPicker = std::function<std::string()>;

    // `globals` keeps the current executable when nothing resolves a file to a name.
    explicit WindowPlugInHost(Globals& globals) : globals_(globals) {}

    void SetShowProfile(Action hook) { showProfile_ = std::move(hook); }
    void SetApplyAllowList(AllowListHook hook) { applyAllowList_ = std::move(hook); }
    void SetResolveExecutableName(ResolveHook hook) { resolve_ = std::move(hook); }
    void SetBrowseMap(TextPicker hook) { browseMap_ = std::move(hook); }
    void SetBrowseForPatch(PatchPicker hook) { browseForPatch_ = std::move(hook); }
    void SetBrowseDemoID1(TextPicker hook) { browseDemoID1_ = std::move(hook); }
    void SetBrowseDemoPatch(TextPicker hook) { browseDemoPatch_ = std::move(hook); }
    void SetBrowseExecutableFile(TextPicker hook) { browseExecutableFile_ = std::move(hook); }

    // PlugInHost
    void ShowProfile() override;
    void ApplyAllowList(const AllowList* list) override;
    std::string ResolveExecutableName(const std::string& file) override;
    std::optional<std::string> BrowseMap() override;
    std::string BrowseForPatch() override;
    std::optional<std::string> BrowseDemoID1() override;
    std::optional<std::string> BrowseDemoPatch() override;
    std::optional<std::string> BrowseExecutableFile() override;

private:
    static std::optional<std::string> Pick(const TextPicker& picker);

    Globals& globals_;
    Action showProfile_;
    AllowListHook applyAllowList_;
    ResolveHook resolve_;
    TextPicker browseMap_;
    PatchPicker browseForPatch_;
    TextPicker browseDemoID1_;
    TextPicker browseDemoPatch_;
    TextPicker browseExecutableFile_;
};

}  // namespace fenmar::ui
