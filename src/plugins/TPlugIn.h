#pragma once
// One plug-in slot: a loaded plug-in library (or none) with every entry point bound to the
// library's function or to the host's default for it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/CommandLine.h"
#include "fenmar/plugin.h"
#include "platform/DynamicLibrary.h"
#include "plugins/ExchangeRecord.h"
#include "plugins/PlugInHost.h"

namespace fenmar {

// "1.22", "1.30", "<none>" for -1, "<unknown>" otherwise.
std::string APIVersionText(std::int32_t version);

inline constexpr std::string_view kNoDescription = "<no descritpion available>";

// The composer's questions are answered by the slot itself (ActivePlugInQueries).
class TPlugIn : public ActivePlugInQueries {
public:
    // Create: no library, every entry point bound to its failed-load default.
    explicit TPlugIn(PlugInEnvironment env);
    ~TPlugIn() override;
    TPlugIn(const TPlugIn&) = delete;
    TPlugIn& operator=(const TPlugIn&) = delete;

    // Frees the library held so far, loads `fileName` from the plug-in directory and binds
    // the entry points used for listing. Names with a directory part, and "<none>", are never
    // loaded: the slot ends empty.
    void Load(const std::string& fileName);
    // Hands over the info function, binds the other entry points, applies the allow list and
    // exchanges the settings once.
    void Init();

    bool IsLoaded() const override { return library_.IsOpen(); }
    // The file name given to Load, or "<none>".
    const std::string& FileName() const { return fileName_; }

    // The bound entry points, each called exactly once per use.
    bool IsPlugIn();
    std::int32_t APIVersion();
    std::string Description();  // a nil text reads as ""
    // Size 1 small, 2 large; asks the API version first to pick the form.
    PlugInIcon GetIcon(int size);
    void SaveSettings(HKEY key);
    void RestoreSettings(HKEY key);

    // Runs PI_Execute if a library is loaded; takes the record back only if it returns true.
    void Execute();
    void ExchangeSettings();
    // The plug-in's text for the command line, copied at once ("" for nil).
    std::string GetParams();

    ExchangeRecord MakeRecord();
    void TakeBackRecord(ExchangeRecord record);

    // ActivePlugInQueries
    std::optional<AllowList> QueryAllowList() override;
    std::string GetParams(Globals& globals) override;

    const PlugInEnvironment& Environment() const { return env_; }

private:
    void BindFailedLoadDefaults();
    template <typename Fn>
    Fn Bind(const char* name, Fn fallback) const;
    // After a call that may have stored plug-in texts in the live record.
    void AdoptLiveTexts();

    PlugInEnvironment env_;
    platform::DynamicLibrary library_;  // Handle
    std::string fileName_;
    PI_IsPlugInFn isPlugIn_ = nullptr;
    PI_GetPlugInAPIVersionFn getAPIVersion_ = nullptr;
    PI_GetDescriptionFn getDescription_ = nullptr;
    PI_GetIconFn getIcon130_ = nullptr;
    PI_GetIcon122Fn getIcon122_ = nullptr;
    PI_ExchangeSettingsFn exchangeSettings_ = nullptr;
    PI_ExecuteFn execute_ = nullptr;
    PI_QueryAllowListFn queryAllowList_ = nullptr;
    PI_GetCommandLineParamsFn getCommandLineParams_ = nullptr;
    PI_SaveSettingsFn saveSettings_ = nullptr;
    PI_RestoreSettingsFn restoreSettings_ = nullptr;
};

}  // namespace fenmar
