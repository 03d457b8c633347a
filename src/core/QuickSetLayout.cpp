#include "core/QuickSetLayout.h"

#include <algorithm>

#include "core/LiveProfile.h"
#include "store/RegistryHandling.h"

namespace fenmar {

namespace {

using namespace store;  // keys and the typed Reg* operations

constexpr std::string_view kAdditionalParamsKey = "Additional Params";
constexpr std::string_view kPlugInSettingsKey = "PlugIn-Settings";

bool Flag(std::uint8_t value) {
    return value != 0;
}
std::uint8_t Byte(bool flag) {
    return flag ? 1 : 0;
}
// The initial values of a program start, for stored numbers that are missing or unusable.
const LaunchProfile& Initial() {
    static const LiveProfile initial;
    return initial.Record();
}

// A stored choice (skill, demo state, a mode) inside low..high; a missing value (read as -1)
// or one outside the range gives `initial`, so no 255 or wrapped-around number reaches the
// command line.
std::int32_t ReadRanged(const Key& key, std::string_view name, std::int32_t low, std::int32_t high,
                        std::int32_t initial) {
    const std::int32_t value = RegReadInteger(key, name);
    return value < low || value > high ? initial : value;
}
std::uint8_t ReadByte(const Key& key, std::string_view name, std::uint8_t initial,
                      std::int32_t low = 0, std::int32_t high = 255) {
    return static_cast<std::uint8_t>(ReadRanged(key, name, low, high, initial));
}
// A stored quantity (a count, a limit, a port): a missing or negative value gives `initial`,
// one past either end of low..high is held at that end, as the number edits hold typed ones.
std::int32_t ReadClamped(const Key& key, std::string_view name, std::int32_t low, std::int32_t high,
                         std::int32_t initial) {
    const std::int32_t value = RegReadInteger(key, name);
    return value < 0 ? initial : std::clamp(value, low, high);
}
std::uint8_t ReadByteQuantity(const Key& key, std::string_view name, std::uint8_t initial,
                              std::int32_t low = 0, std::int32_t high = 255) {
    return static_cast<std::uint8_t>(ReadClamped(key, name, low, high, initial));
}
std::uint16_t ReadWord(const Key& key, std::string_view name, std::uint16_t initial) {
    return static_cast<std::uint16_t>(ReadClamped(key, name, 0, 65535, initial));
}

void WriteGeneral(store::Store& store, const std::string& base, const Globals& globals,
                  ProfilePlugIn* plugIn) {
    const LiveProfile& p = globals.Profile;
    const Key key = CreateKey(store, JoinKeyPath(base, "General"));
    RegWriteString(key, "LaunchMap", p.Text(TextField::LaunchMap));
    RegWriteString(key, "GamePatch", p.Text(TextField::GamePatch));
    RegWriteInteger(key, "SkillLevel", p->SkillLevel);
    RegWriteInteger(key, "DemoState", p->DemoState);
    RegWriteString(key, "DemoName", p.Text(TextField::DemoName));
    RegWriteInteger(key, "CommandLineMode", p->CommandLineMode);
    RegWriteString(key, "Executable", globals.Executable);
    RegWriteString(key, "Current Plug-In",
                   plugIn != nullptr ? plugIn->FileName() : std::string(kNone));
    RegWriteBool(key, "NoAutoAim", Flag(p->NoAutoAim));
    RegWriteBool(key, "CloseOnExecQuake", globals.CloseOnExecQuake);
    RegWriteBool(key, "IgnoreGlobalParams", globals.IgnoreGlobalParams);
}

void WriteTroubleshooting(const Key& key, const LaunchProfile& p) {
    RegWriteBool(key, "SafeMode", Flag(p.SafeMode));
    RegWriteBool(key, "DisableVESA", Flag(p.DisableVESA));
    RegWriteBool(key, "MuteAll", Flag(p.MuteAll));
    RegWriteBool(key, "NoProtocols", Flag(p.NoProtocols));
    RegWriteBool(key, "DisableCDAudio", Flag(p.DisableCDAudio));
    RegWriteBool(key, "NoJoystick", Flag(p.NoJoystick));
}

void WriteMultiplayer(const Key& key, const LiveProfile& p) {
    RegWriteBool(key, "EnableServer", Flag(p->EnableServer));
    RegWriteString(key, "HostName", p.Text(TextField::HostName));
    RegWriteBool(key, "ConnectToServer", Flag(p->ConnectToServer));
    RegWriteString(key, "CurrentServer", p.Text(TextField::CurrentServer));
    RegWriteInteger(key, "ServerType", p->ServerType);
    RegWriteInteger(key, "MaxPlayers", p->MaxPlayers);
    RegWriteBool(key, "EnableFragLimit", Flag(p->EnableFragLimit));
    RegWriteInteger(key, "FragLimit", p->FragLimit);
    RegWriteBool(key, "EnableTimeLimit", Flag(p->EnableTimeLimit));
    RegWriteInteger(key, "TimeLimit", p->TimeLimit);
    RegWriteInteger(key, "Deathmatch", p->Deathmatch);
    RegWriteInteger(key, "Teamplay", p->Teamplay);
    RegWriteBool(key, "NoExit", Flag(p->NoExit));
    RegWriteBool(key, "Pausable", Flag(p->Pausable));
}

void ReadTroubleshooting(const Key& key, LaunchProfile& p) {
    p.SafeMode = Byte(RegReadBool(key, "SafeMode"));
    p.DisableVESA = Byte(RegReadBool(key, "DisableVESA"));
    p.MuteAll = Byte(RegReadBool(key, "MuteAll"));
    p.NoProtocols = Byte(RegReadBool(key, "NoProtocols"));
    p.DisableCDAudio = Byte(RegReadBool(key, "DisableCDAudio"));
    p.NoJoystick = Byte(RegReadBool(key, "NoJoystick"));
}

void ReadMultiplayer(const Key& key, LiveProfile& p) {
    p->EnableServer = Byte(RegReadBool(key, "EnableServer"));
    // An empty stored host name keeps the one in force.
    const std::string hostName = RegReadString(key, "HostName");
    if (!hostName.empty()) {
        p.SetText(TextField::HostName, hostName);
    }
    p->ConnectToServer = Byte(RegReadBool(key, "ConnectToServer"));
    p.SetText(TextField::CurrentServer, RegReadString(key, "CurrentServer"));
    p->ServerType = ReadByte(key, "ServerType", Initial().ServerType, 0, 1);
    p->MaxPlayers = ReadByteQuantity(key, "MaxPlayers", Initial().MaxPlayers, 1, 16);
    p->EnableFragLimit = Byte(RegReadBool(key, "EnableFragLimit"));
    p->FragLimit = ReadByteQuantity(key, "FragLimit", Initial().FragLimit);
    p->EnableTimeLimit = Byte(RegReadBool(key, "EnableTimeLimit"));
    p->TimeLimit = ReadByteQuantity(key, "TimeLimit", Initial().TimeLimit);
    p->Deathmatch = ReadByte(key, "Deathmatch", Initial().Deathmatch, 0, 2);
    p->Teamplay = ReadByte(key, "Teamplay", Initial().Teamplay, 0, 2);
    p->NoExit = Byte(RegReadBool(key, "NoExit"));
    p->Pausable = Byte(RegReadBool(key, "Pausable"));
}

}  // namespace

std::string ProfileKey(std::string_view quickSetName) {
    if (quickSetName.empty()) {
        return std::string(store::kFenmarRoot);
    }
    return JoinKeyPath(JoinKeyPath(store::kFenmarRoot, kQuickSetsKey), quickSetName);
}

std::string QuickSetNameProblem(std::string_view name) {
    if (name.find('\\') != std::string_view::npos) {
        return "A Quick-Set name cannot contain a backslash (\\).";
    }
    if (name == kNone) {
        // The chooser's "nothing chosen": such a Quick-Set could never be loaded or deleted.
        return "A Quick-Set cannot be named <none>.";
    }
    if (name.size() > store::kMaxKeyNameLength) {
        return "A Quick-Set name can be at most 255 characters long.";
    }
    return {};
}

void SaveQuickSet(store::Store& store, std::string_view name, const Globals& globals,
                  const std::vector<std::string>& additionalParams, ProfilePlugIn* plugIn) {
    const std::string base = ProfileKey(name);
    const LiveProfile& p = globals.Profile;
    WriteGeneral(store, base, globals, plugIn);
    if (plugIn != nullptr) {
        plugIn->Save(store, base);
    } else {
        store.DeleteKey(JoinKeyPath(base, kPlugInSettingsKey));
    }
    WriteTroubleshooting(CreateKey(store, JoinKeyPath(base, "Troubleshooting")), p.Record());
    WriteMultiplayer(CreateKey(store, JoinKeyPath(base, "Multiplayer")), p);

    const Key sound = CreateKey(store, JoinKeyPath(base, "Sound"));
    RegWriteBool(sound, "ForceCDMediaCheck", Flag(p->ForceCDMediaCheck));
    RegWriteInteger(sound, "SampleRate", p->SampleRate);

    const Key network = CreateKey(store, JoinKeyPath(base, "Network"));
    RegWriteBool(network, "DisableTCP/IP", Flag(p->DisableTCPIP));
    RegWriteBool(network, "DisableIPX", Flag(p->DisableIPX));
    RegWriteBool(network, "DisableSerial", Flag(p->DisableSerial));
    RegWriteInteger(network, "IPXPort", p->IPXPort);
    RegWriteInteger(network, "UDPPort", p->UDPPort);

    const Key win95 = CreateKey(store, JoinKeyPath(base, "Win95"));
    RegWriteInteger(win95, "AllocateMem", p->AllocateMem);
    RegWriteInteger(win95, "LockMethod", p->LockMethod);

    const std::string paramsPath = JoinKeyPath(base, kAdditionalParamsKey);
    store.DeleteKey(paramsPath);
    store::RegWriteStringList(CreateKey(store, paramsPath), additionalParams);
}

StoredProfileExtras ReadQuickSet(store::Store& store, std::string_view name, Globals& globals) {
    const std::string base = ProfileKey(name);
    LiveProfile& p = globals.Profile;
    StoredProfileExtras extras;
    if (const Key key = OpenKey(store, JoinKeyPath(base, "General"))) {
        p.SetText(TextField::LaunchMap, RegReadString(key, "LaunchMap"));
        p.SetText(TextField::GamePatch, RegReadString(key, "GamePatch"));
        p->SkillLevel = ReadByte(key, "SkillLevel", Initial().SkillLevel, 0, 3);
        p->DemoState = ReadByte(key, "DemoState", Initial().DemoState, 0, 2);
        p.SetText(TextField::DemoName, RegReadString(key, "DemoName"));
        p->CommandLineMode = ReadByte(key, "CommandLineMode", Initial().CommandLineMode, 0, 1);
        globals.Executable = RegReadString(key, "Executable");
        extras.generalFound = true;
        extras.plugInName = RegReadString(key, "Current Plug-In");
        extras.closeOnExecQuake = RegReadBool(key, "CloseOnExecQuake");
        extras.ignoreGlobalParams = RegReadBool(key, "IgnoreGlobalParams");
        extras.noAutoAim = RegReadBool(key, "NoAutoAim");
        globals.CloseOnExecQuake = extras.closeOnExecQuake;
        globals.IgnoreGlobalParams = extras.ignoreGlobalParams;
        p->NoAutoAim = Byte(extras.noAutoAim);
    }
    if (const Key key = OpenKey(store, JoinKeyPath(base, "Troubleshooting"))) {
        ReadTroubleshooting(key, p.Record());
    }
    if (const Key key = OpenKey(store, JoinKeyPath(base, "Multiplayer"))) {
        ReadMultiplayer(key, p);
    }
    if (const Key key = OpenKey(store, JoinKeyPath(base, "Sound"))) {
        p->ForceCDMediaCheck = Byte(RegReadBool(key, "ForceCDMediaCheck"));
        p->SampleRate = ReadWord(key, "SampleRate", Initial().SampleRate);
    }
    if (const Key key = OpenKey(store, JoinKeyPath(base, "Network"))) {
        p->DisableTCPIP = Byte(RegReadBool(key, "DisableTCP/IP"));
        p->DisableIPX = Byte(RegReadBool(key, "DisableIPX"));
        p->DisableSerial = Byte(RegReadBool(key, "DisableSerial"));
        p->IPXPort = ReadWord(key, "IPXPort", Initial().IPXPort);
        p->UDPPort = ReadWord(key, "UDPPort", Initial().UDPPort);
    }
    if (const Key key = OpenKey(store, JoinKeyPath(base, "Win95"))) {
        p->AllocateMem = ReadByteQuantity(key, "AllocateMem", Initial().AllocateMem);
        p->LockMethod = ReadByte(key, "LockMethod", Initial().LockMethod, 0, 4);
    }
    return extras;
}

std::optional<std::vector<std::string>> ReadAdditionalParams(store::Store& store,
                                                             std::string_view name) {
    const Key key = OpenKey(store, JoinKeyPath(ProfileKey(name), kAdditionalParamsKey));
    if (!key) {
        return std::nullopt;
    }
    std::vector<std::string> params;
    store::RegReadStringList(key, params);
    return params;
}

}  // namespace fenmar
