#include "plugins/ExchangeRecord.h"

namespace fenmar {

namespace {
// The text fields of the 1.22 layout and where they come from. HostName is not in it.
struct TextSlot {
    TextField field;
    const char* PIRecord122::*member;
};
constexpr std::array<TextSlot, 7> kTexts = {{
    {TextField::LaunchMap, &PIRecord122::LaunchMap},
    {TextField::GamePatch, &PIRecord122::GamePatch},
    {TextField::DemoName, &PIRecord122::DemoName},
    {TextField::CurrentServer, &PIRecord122::CurrentServer},
    {TextField::QuakePath, &PIRecord122::QuakePath},
    {TextField::PatchPath, &PIRecord122::PatchPath},
    {TextField::ConfigFile, &PIRecord122::ConfigFile},
}};

// The one-byte and two-byte fields shared by both layouts, copied in one direction.
template <typename From, typename To>
void CopyNumbers(const From& f, To& t) {
    t.SkillLevel = f.SkillLevel;
    t.DemoState = f.DemoState;
    t.EnableServer = f.EnableServer;
    t.ConnectToServer = f.ConnectToServer;
    t.ServerType = f.ServerType;
    t.MaxPlayers = f.MaxPlayers;
    t.EnableFragLimit = f.EnableFragLimit;
    t.FragLimit = f.FragLimit;
    t.EnableTimeLimit = f.EnableTimeLimit;
    t.TimeLimit = f.TimeLimit;
    t.Deathmatch = f.Deathmatch;
    t.Teamplay = f.Teamplay;
    t.NoExit = f.NoExit;
    t.Pausable = f.Pausable;
    t.CommandLineMode = f.CommandLineMode;
    t.SampleRate = f.SampleRate;
    t.ForceCDMediaCheck = f.ForceCDMediaCheck;
    t.DisableTCPIP = f.DisableTCPIP;
    t.DisableIPX = f.DisableIPX;
    t.DisableSerial = f.DisableSerial;
    t.IPXPort = f.IPXPort;
    t.UDPPort = f.UDPPort;
    t.AllocateMem = f.AllocateMem;
    t.LockMethod = f.LockMethod;
    t.SafeMode = f.SafeMode;
    t.DisableVESA = f.DisableVESA;
    t.NoProtocols = f.NoProtocols;
    t.MuteAll = f.MuteAll;
    t.DisableCDAudio = f.DisableCDAudio;
}
}  // namespace

ExchangeRecord ExchangeRecord::Live(LiveProfile& profile) {
    ExchangeRecord r;
    r.kind_ = Kind::Live;
    r.live_ = &profile.Record();
    r.hold_.emplace(profile.HoldTexts());
    return r;
}

ExchangeRecord ExchangeRecord::Copy122(const LiveProfile& profile,
                                       const std::string& executableFile) {
    ExchangeRecord r;
    r.kind_ = Kind::Copy122;
    r.copy_ = std::make_unique<Copy>();
    Copy& c = *r.copy_;
    CopyNumbers(profile.Record(), c.rec);
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        if (!profile.IsAbsent(kTexts[i].field)) {
            c.texts[i] = profile.Text(kTexts[i].field);
            c.rec.*kTexts[i].member = c.texts[i]->c_str();
        }
    }
    c.executableFile = executableFile;
    c.rec.QuakeExe = c.executableFile.c_str();
    c.rec.QuakeBat = c.executableFile.c_str();
    c.rec.DedicatedExe = c.executableFile.c_str();
    c.rec.UseDedicatedExe = 0;
    c.rec.EnableWin95TCPIP = 0;
    return r;
}

void* ExchangeRecord::Pointer() {
    switch (kind_) {
        case Kind::Live:
            return live_;
        case Kind::Copy122:
            return &copy_->rec;
        case Kind::None:
            break;
    }
    return nullptr;
}

const PIRecord122* ExchangeRecord::Record122() const {
    return kind_ == Kind::Copy122 ? &copy_->rec : nullptr;
}

std::optional<std::string> ExchangeRecord::CopyBack122(LiveProfile& profile) const {
    if (kind_ != Kind::Copy122) {
        return std::nullopt;
    }
    const PIRecord122& rec = copy_->rec;
    CopyNumbers(rec, profile.Record());
    for (const TextSlot& slot : kTexts) {
        if (const char* text = rec.*slot.member) {
            profile.SetText(slot.field, text);
        } else {
            profile.ClearText(slot.field);
        }
    }
    const char* file = rec.QuakeExe;
    if (rec.EnableWin95TCPIP != 0) {
        file = rec.QuakeBat;
    } else if (rec.UseDedicatedExe != 0) {
        file = rec.DedicatedExe;
    }
    if (file == nullptr) {
        return std::nullopt;
    }
    return std::string(file);
}

}  // namespace fenmar
