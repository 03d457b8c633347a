#include "core/LiveProfile.h"

#include <cstddef>
#include <cstring>

namespace fenmar {

bool IsSet(std::string_view text) {
    return !text.empty() && text != kNone;
}
bool IsSet(const char* text) {
    return text != nullptr && IsSet(std::string_view(text));
}

namespace {
constexpr std::array<const char * LaunchProfile::*, kTextFieldCount> kMembers = {
    &LaunchProfile::LaunchMap, &LaunchProfile::GamePatch,     &LaunchProfile::DemoName,
    &LaunchProfile::HostName,  &LaunchProfile::CurrentServer, &LaunchProfile::QuakePath,
    &LaunchProfile::PatchPath, &LaunchProfile::ConfigFile,
};

// The record is packed, so its text pointers may sit at any address: a plain load or store
// through a `const char*` lvalue assumes natural alignment and is undefined there. Every access
// to a text field goes through these two, which copy the pointer's bytes instead.
constexpr std::array<std::size_t, kTextFieldCount> kOffsets = {
    offsetof(LaunchProfile, LaunchMap),     offsetof(LaunchProfile, GamePatch),
    offsetof(LaunchProfile, DemoName),      offsetof(LaunchProfile, HostName),
    offsetof(LaunchProfile, CurrentServer), offsetof(LaunchProfile, QuakePath),
    offsetof(LaunchProfile, PatchPath),     offsetof(LaunchProfile, ConfigFile),
};

const char* LoadText(const LaunchProfile& rec, std::size_t i) {
    const char* p = nullptr;
    std::memcpy(&p, reinterpret_cast<const unsigned char*>(&rec) + kOffsets[i], sizeof p);
    return p;
}

void StoreText(LaunchProfile& rec, std::size_t i, const char* p) {
    std::memcpy(reinterpret_cast<unsigned char*>(&rec) + kOffsets[i], &p, sizeof p);
}
}  // namespace

const char* LaunchProfile::*LiveProfile::Member(TextField field) {
    return kMembers[static_cast<std::size_t>(field)];
}

LiveProfile::LiveProfile() {
    rec_.SkillLevel = 1;
    rec_.DemoState = 0;
    rec_.NoAutoAim = 0;
    rec_.EnableServer = 0;
    rec_.ConnectToServer = 0;
    rec_.ServerType = 0;
    rec_.MaxPlayers = 8;
    rec_.EnableFragLimit = 0;
    rec_.FragLimit = 50;
    rec_.EnableTimeLimit = 0;
    rec_.TimeLimit = 30;
    rec_.Deathmatch = 1;
    rec_.Teamplay = 0;
    rec_.NoExit = 0;
    rec_.Pausable = 1;
    rec_.CommandLineMode = 1;
    rec_.SampleRate = 11025;
    rec_.IPXPort = 26000;
    rec_.UDPPort = 26000;
    rec_.AllocateMem = 8;
    rec_.LockMethod = 0;
    texts_[static_cast<std::size_t>(TextField::LaunchMap)] = std::string(kNone);
    texts_[static_cast<std::size_t>(TextField::GamePatch)] = std::string(kNone);
    texts_[static_cast<std::size_t>(TextField::DemoName)] = std::string(kNone);
    texts_[static_cast<std::size_t>(TextField::HostName)] = "My server";
    texts_[static_cast<std::size_t>(TextField::CurrentServer)] = std::string(kNone);
    texts_[static_cast<std::size_t>(TextField::ConfigFile)] = "fenmar.cfg";
    // QuakePath and PatchPath start absent.
    Repoint();
}

LiveProfile::LiveProfile(const LiveProfile& other) : rec_(other.rec_), texts_(other.texts_) {
    Repoint();
}

LiveProfile& LiveProfile::operator=(const LiveProfile& other) {
    if (this != &other) {
        rec_ = other.rec_;
        texts_ = other.texts_;
        Repoint();
    }
    return *this;
}

void LiveProfile::Repoint() {
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        StoreText(rec_, i, texts_[i] ? texts_[i]->c_str() : nullptr);
    }
}

std::string LiveProfile::Text(TextField field) const {
    const char* p = LoadText(rec_, static_cast<std::size_t>(field));
    return p ? std::string(p) : std::string();
}

bool LiveProfile::IsAbsent(TextField field) const {
    return LoadText(rec_, static_cast<std::size_t>(field)) == nullptr;
}

void LiveProfile::SetText(TextField field, std::string_view value) {
    auto& slot = texts_[static_cast<std::size_t>(field)];
    slot = std::string(value);
    StoreText(rec_, static_cast<std::size_t>(field), slot->c_str());
}

void LiveProfile::ClearText(TextField field) {
    texts_[static_cast<std::size_t>(field)].reset();
    StoreText(rec_, static_cast<std::size_t>(field), nullptr);
}

void LiveProfile::AdoptTexts() {
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        const char* p = LoadText(rec_, i);
        // Copy first: p may point into the slot we are about to replace.
        texts_[i] = p ? std::optional<std::string>(std::string(p)) : std::nullopt;
    }
    Repoint();
}

}  // namespace fenmar
