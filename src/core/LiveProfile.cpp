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
    const auto none = std::make_shared<const std::string>(kNone);
    texts_[static_cast<std::size_t>(TextField::LaunchMap)] = none;
    texts_[static_cast<std::size_t>(TextField::GamePatch)] = none;
    texts_[static_cast<std::size_t>(TextField::DemoName)] = none;
    texts_[static_cast<std::size_t>(TextField::HostName)] =
        std::make_shared<const std::string>("My server");
    texts_[static_cast<std::size_t>(TextField::CurrentServer)] = none;
    texts_[static_cast<std::size_t>(TextField::ConfigFile)] =
        std::make_shared<const std::string>("fenmar.cfg");
    // QuakePath and PatchPath start absent.
    Repoint();
}

namespace {
// Copies own their texts: a copy's pointers never equal the original's.
template <typename Texts>
Texts DeepCopy(const Texts& texts) {
    Texts copy;
    for (std::size_t i = 0; i < copy.size(); ++i) {
        if (texts[i]) {
            copy[i] = std::make_shared<const std::string>(*texts[i]);
        }
    }
    return copy;
}
}  // namespace

LiveProfile::LiveProfile(const LiveProfile& other)
    : rec_(other.rec_), texts_(DeepCopy(other.texts_)) {
    Repoint();
}

LiveProfile& LiveProfile::operator=(const LiveProfile& other) {
    if (this != &other) {
        if (holds_ > 0) {
            retired_.insert(retired_.end(), texts_.begin(), texts_.end());
        }
        rec_ = other.rec_;
        texts_ = DeepCopy(other.texts_);
        Repoint();
    }
    return *this;
}

void LiveProfile::Repoint() {
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        StoreText(rec_, i, texts_[i] ? texts_[i]->c_str() : nullptr);
    }
}

const char* LiveProfile::Pointer(std::size_t index) const {
    return LoadText(rec_, index);
}

void LiveProfile::Replace(std::size_t index, SharedText text) {
    if (holds_ > 0 && texts_[index] != nullptr && texts_[index] != text) {
        retired_.push_back(texts_[index]);
    }
    texts_[index] = std::move(text);
    StoreText(rec_, index, texts_[index] ? texts_[index]->c_str() : nullptr);
}

std::string LiveProfile::Text(TextField field) const {
    const char* p = Pointer(static_cast<std::size_t>(field));
    return p ? std::string(p) : std::string();
}

bool LiveProfile::IsAbsent(TextField field) const {
    return Pointer(static_cast<std::size_t>(field)) == nullptr;
}

void LiveProfile::SetText(TextField field, std::string_view value) {
    const auto index = static_cast<std::size_t>(field);
    const SharedText& current = texts_[index];
    if (current && Pointer(index) == current->c_str() && *current == value) {
        return;  // already ours with this text
    }
    Replace(index, std::make_shared<const std::string>(value));
}

void LiveProfile::ClearText(TextField field) {
    Replace(static_cast<std::size_t>(field), nullptr);
}

LiveProfile::SharedText LiveProfile::Own(const char* text) const {
    for (const SharedText& ours : texts_) {
        if (ours && ours->c_str() == text) {
            return ours;
        }
    }
    for (const SharedText& ours : retired_) {
        if (ours->c_str() == text) {
            return ours;
        }
    }
    return std::make_shared<const std::string>(text);
}

void LiveProfile::AdoptTexts() {
    // Take every text before replacing any: a field may point at another field's text.
    std::array<SharedText, kTextFieldCount> adopted;
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        const char* p = Pointer(i);
        adopted[i] = p ? Own(p) : nullptr;
    }
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        Replace(i, std::move(adopted[i]));
    }
}

LiveProfile::TextHold LiveProfile::HoldTexts() {
    ++holds_;
    return TextHold(this);
}

void LiveProfile::Release() {
    if (holds_ > 0 && --holds_ == 0) {
        retired_.clear();
    }
}

LiveProfile::TextHold& LiveProfile::TextHold::operator=(TextHold&& other) noexcept {
    if (this != &other) {
        if (profile_ != nullptr) {
            profile_->Release();
        }
        profile_ = std::exchange(other.profile_, nullptr);
    }
    return *this;
}

LiveProfile::TextHold::~TextHold() {
    if (profile_ != nullptr) {
        profile_->Release();
    }
}

}  // namespace fenmar
