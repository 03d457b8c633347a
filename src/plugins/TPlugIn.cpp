#include "plugins/TPlugIn.h"

#include <cstring>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/SystemIcon.h"
#include "plugins/InfoFunction.h"

namespace fenmar {

namespace {
// The host's stand-ins for entry points a library does not export.
PIBool FENMAR_PICALL DefaultIsPlugIn() {
    return 0;
}
std::int32_t FENMAR_PICALL DefaultVersion() {
    return PI_API_1_22;
}
std::int32_t FENMAR_PICALL NoLibraryVersion() {
    return PI_API_NONE;
}
const char* FENMAR_PICALL DefaultDescription() {
    return kNoDescription.data();
}
PIIcon FENMAR_PICALL DefaultIcon(std::int32_t) {
    return nullptr;
}
PIIcon FENMAR_PICALL DefaultIcon122() {
    return nullptr;
}
void FENMAR_PICALL DefaultExchangeSettings(void*) {}
PIBool FENMAR_PICALL DefaultExecute(void*) {
    return 0;
}
const std::uint8_t* FENMAR_PICALL DefaultQueryAllowList() {
    return nullptr;
}
const char* FENMAR_PICALL DefaultCommandLineParams(void*) {
    return nullptr;
}
void FENMAR_PICALL DefaultSettingsKey(HKEY) {}

constexpr int kMaxIconSide = 256;

// Copies a plug-in's icon image out of the library, which may be freed right after.
template <typename Icon>
PlugInIcon CopyIcon(Icon icon, int size) {
    if constexpr (requires { icon->Width + icon->Height + *icon->Pixels; }) {
        if (icon == nullptr || icon->Pixels == nullptr || icon->Width < 1 ||
            icon->Width > kMaxIconSide || icon->Height < 1 || icon->Height > kMaxIconSide) {
            return PlugInIcon::Default(size);
        }
        PlugInIcon copy;
        copy.kind = PlugInIcon::Kind::Image;
        copy.width = icon->Width;
        copy.height = icon->Height;
        const auto count =
            static_cast<std::size_t>(icon->Width) * static_cast<std::size_t>(icon->Height);
        copy.pixels.assign(icon->Pixels, icon->Pixels + count);
        return copy;
    } else {
        // A system icon handle (Windows): its pixels are copied, the handle stays the plug-in's.
        std::optional<platform::IconPixels> pixels = platform::ConvertSystemIcon(icon);
        if (!pixels) {
            return PlugInIcon::Default(size);
        }
        PlugInIcon copy;
        copy.kind = PlugInIcon::Kind::Image;
        copy.width = pixels->width;
        copy.height = pixels->height;
        copy.pixels = std::move(pixels->argb);
        return copy;
    }
}

// A file name in the plug-in directory: no directory or drive part, not the placeholder.
bool IsLoadableName(const std::string& name) {
    if (name.empty() || name == kNone || name == "." || name == "..") {
        return false;
    }
    return name.find_first_of("/\\:") == std::string::npos;
}
}  // namespace

std::string APIVersionText(std::int32_t version) {
    switch (version) {
        case PI_API_NONE:
            return std::string(kNone);
        case PI_API_1_22:
            return "1.22";
        case PI_API_1_30:
            return "1.30";
        default:
            return "<unknown>";
    }
}

TPlugIn::TPlugIn(PlugInEnvironment env) : env_(std::move(env)), fileName_(kNone) {
    BindFailedLoadDefaults();
}

TPlugIn::~TPlugIn() {
    if (IsLoaded()) {
        AdoptLiveTexts();  // before the library and any text of its own are gone
    }
    if (InfoFnTarget() == &env_) {
        SetInfoFnTarget(nullptr);
    }
}

template <typename Fn>
Fn TPlugIn::Bind(const char* name, Fn fallback) const {
    void* symbol = library_.Symbol(name);
    if (symbol == nullptr) {
        return fallback;
    }
    Fn fn = nullptr;
    static_assert(sizeof(fn) == sizeof(symbol));
    std::memcpy(&fn, &symbol, sizeof(fn));
    return fn;
}

void TPlugIn::BindFailedLoadDefaults() {
    isPlugIn_ = DefaultIsPlugIn;
    getAPIVersion_ = NoLibraryVersion;
    getDescription_ = DefaultDescription;
    getIcon130_ = nullptr;
    getIcon122_ = DefaultIcon122;
    exchangeSettings_ = DefaultExchangeSettings;
    execute_ = DefaultExecute;
    queryAllowList_ = DefaultQueryAllowList;
    getCommandLineParams_ = DefaultCommandLineParams;
    saveSettings_ = DefaultSettingsKey;
    restoreSettings_ = DefaultSettingsKey;
}

void TPlugIn::Load(const std::string& fileName) {
    if (IsLoaded()) {
        // The live record may still point at texts inside the library about to be freed.
        AdoptLiveTexts();
    }
    library_.Close();
    // Until Init binds them again, nothing may call into the library just freed.
    BindFailedLoadDefaults();
    const bool loaded =
        IsLoadableName(fileName) && library_.Open(platform::JoinPath(env_.plugInDir, fileName));
    fileName_ = loaded ? fileName : std::string(kNone);
    isPlugIn_ = Bind("PI_IsPlugIn", isPlugIn_);
    if (fileName_ != kNone) {
        getAPIVersion_ = Bind<PI_GetPlugInAPIVersionFn>("PI_GetPlugInAPIVersion", DefaultVersion);
    }
    getDescription_ = Bind("PI_GetDescription", getDescription_);
    if (getAPIVersion_() >= PI_API_1_30) {
        getIcon130_ = Bind<PI_GetIconFn>("PI_GetIcon", DefaultIcon);
        getIcon122_ = nullptr;
    } else {
        getIcon122_ = Bind<PI_GetIcon122Fn>("PI_GetIcon", DefaultIcon122);
        getIcon130_ = nullptr;
    }
}

void TPlugIn::Init() {
    if (auto setInfoFn = Bind<PI_SetInfoFnFn>("PI_SetInfoFn", nullptr)) {
        SetInfoFnTarget(&env_);
        setInfoFn(HostInfoFn());
    }
    exchangeSettings_ = Bind("PI_ExchangeSettings", exchangeSettings_);
    execute_ = Bind("PI_Execute", execute_);
    queryAllowList_ = Bind("PI_QueryAllowList", queryAllowList_);
    getCommandLineParams_ = Bind("PI_GetCommandLineParams", getCommandLineParams_);
    saveSettings_ = Bind("PI_SaveSettings", saveSettings_);
    restoreSettings_ = Bind("PI_RestoreSettings", restoreSettings_);

    const std::optional<AllowList> allowed = QueryAllowList();
    if (env_.host != nullptr) {
        env_.host->ApplyAllowList(allowed ? &*allowed : nullptr);
    }
    ExchangeSettings();
}

bool TPlugIn::IsPlugIn() {
    return isPlugIn_() != 0;
}
std::int32_t TPlugIn::APIVersion() {
    return getAPIVersion_();
}

std::string TPlugIn::Description() {
    const char* text = getDescription_();
    return text != nullptr ? std::string(text) : std::string();
}

PlugInIcon TPlugIn::GetIcon(int size) {
    const std::int32_t version = getAPIVersion_();
    if (version >= PI_API_1_30 && getIcon130_ != nullptr) {
        return CopyIcon(getIcon130_(size), size);
    }
    if (getIcon122_ != nullptr) {
        return CopyIcon(getIcon122_(), 2);  // one icon, the large default for both sizes
    }
    return PlugInIcon::Default(size);
}

// A plug-in that kept the live record from an earlier call may change it here too.
void TPlugIn::SaveSettings(HKEY key) {
    saveSettings_(key);
    AdoptLiveTexts();
}
void TPlugIn::RestoreSettings(HKEY key) {
    restoreSettings_(key);
    AdoptLiveTexts();
}

std::optional<AllowList> TPlugIn::QueryAllowList() {
    const std::uint8_t* list = queryAllowList_();
    if (list == nullptr) {
        return std::nullopt;
    }
    AllowList copy{};
    std::memcpy(copy.data(), list, copy.size());
    return copy;
}

ExchangeRecord TPlugIn::MakeRecord() {
    const std::int32_t version = getAPIVersion_();
    if (env_.globals == nullptr) {
        return ExchangeRecord::None();
    }
    if (version == PI_API_1_22) {
        const std::string file = env_.executables != nullptr
                                     ? ExecutableFileOf(*env_.executables, env_.globals->Executable)
                                     : std::string("quake.exe");
        return ExchangeRecord::Copy122(env_.globals->Profile, file);
    }
    if (version == PI_API_1_30) {
        return ExchangeRecord::Live(env_.globals->Profile);
    }
    return ExchangeRecord::None();  // no library, or a version we do not know
}

void TPlugIn::AdoptLiveTexts() {
    if (env_.globals != nullptr) {
        env_.globals->Profile.AdoptTexts();
    }
}

void TPlugIn::TakeBackRecord(ExchangeRecord record) {
    if (record.GetKind() == ExchangeRecord::Kind::Live) {
        AdoptLiveTexts();
        if (env_.host != nullptr) {
            env_.host->ShowProfile();
        }
        return;
    }
    const std::int32_t version = getAPIVersion_();
    if (version == PI_API_NONE) {
        return;
    }
    if (version == PI_API_1_22 && env_.globals != nullptr) {
        if (auto file = record.CopyBack122(env_.globals->Profile)) {
            if (env_.host != nullptr) {
                env_.globals->Executable = env_.host->ResolveExecutableName(*file);
            }
        }
    }
    if (env_.host != nullptr) {
        env_.host->ShowProfile();
    }
}

void TPlugIn::Execute() {
    if (!IsLoaded()) {
        return;
    }
    ExchangeRecord record = MakeRecord();
    if (execute_(record.Pointer()) != 0) {
        TakeBackRecord(std::move(record));
    } else if (record.GetKind() == ExchangeRecord::Kind::Live) {
        AdoptLiveTexts();  // the changes stand; only the window is not refreshed
    }
}

void TPlugIn::ExchangeSettings() {
    ExchangeRecord record = MakeRecord();
    exchangeSettings_(record.Pointer());
    TakeBackRecord(std::move(record));
}

std::string TPlugIn::GetParams() {
    ExchangeRecord record = MakeRecord();
    const char* text = getCommandLineParams_(record.Pointer());
    std::string copy = text != nullptr ? std::string(text) : std::string();
    TakeBackRecord(std::move(record));
    return copy;
}

std::string TPlugIn::GetParams(Globals& /*globals*/) {
    return GetParams();
}

}  // namespace fenmar
