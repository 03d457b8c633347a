#pragma once
// The one launch profile of a run: the shared record plus the strings its text fields point at.

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fenmar/LaunchProfile.h"

namespace fenmar {

// The placeholder meaning "nothing chosen" in the map, patch, demo and server fields.
inline constexpr std::string_view kNone = "<none>";

// True when the text is neither empty nor exactly "<none>" (case-sensitive).
bool IsSet(std::string_view text);
bool IsSet(const char* text);  // a null pointer counts as empty

// The text fields of the record, by name.
enum class TextField {
    LaunchMap,
    GamePatch,
    DemoName,
    HostName,
    CurrentServer,
    QuakePath,
    PatchPath,
    ConfigFile,
};
inline constexpr std::size_t kTextFieldCount = 8;

// Owns the record and its texts. The record's text pointers always point into this object,
// except while a plug-in holds the record (see AdoptTexts). Copies are deep.
class LiveProfile {
public:
    class TextHold;

    LiveProfile();  // the initial values of a program start
    LiveProfile(const LiveProfile& other);
    LiveProfile& operator=(const LiveProfile& other);
    ~LiveProfile() = default;

    // Numeric and flag fields are read and written directly in the record.
    LaunchProfile& Record() { return rec_; }
    const LaunchProfile& Record() const { return rec_; }
    LaunchProfile* operator->() { return &rec_; }
    const LaunchProfile* operator->() const { return &rec_; }

    // A text field; an absent (null) text reads as "".
    std::string Text(TextField field) const;
    bool IsAbsent(TextField field) const;
    void SetText(TextField field, std::string_view value);
    void ClearText(TextField field);  // makes the field absent (null)

    // After a plug-in may have stored pointers of its own in the record: copy every text the
    // record points at into our storage and point the fields back at our copies. All texts are
    // read before any field is replaced, so fields may point at each other's texts, at texts
    // replaced during the hold, or into the middle of a text.
    void AdoptTexts();

    // While a plug-in holds the record it may keep pointers to the host's texts. As long as a
    // hold lasts, a text the host replaces is kept alive instead of freed; the last hold to
    // end frees them.
    [[nodiscard]] TextHold HoldTexts();
    bool IsHeld() const { return holds_ > 0; }

private:
    using SharedText = std::shared_ptr<const std::string>;

    static const char* LaunchProfile::*Member(TextField field);
    void Repoint();
    const char* Pointer(std::size_t index) const;
    void Replace(std::size_t index, SharedText text);
    SharedText Own(const char* text) const;
    void Release();

    LaunchProfile rec_{};
    std::array<SharedText, kTextFieldCount> texts_;
    std::vector<SharedText> retired_;  // replaced during a hold
    int holds_ = 0;
};

class LiveProfile::TextHold {
public:
    TextHold(TextHold&& other) noexcept : profile_(std::exchange(other.profile_, nullptr)) {}
    TextHold& operator=(TextHold&& other) noexcept;
    TextHold(const TextHold&) = delete;
    TextHold& operator=(const TextHold&) = delete;
    ~TextHold();

private:
    friend class LiveProfile;
    explicit TextHold(LiveProfile* profile) : profile_(profile) {}
    LiveProfile* profile_;
};

}  // namespace fenmar
