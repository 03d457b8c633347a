#pragma once
// The one launch profile of a run: the shared record plus the strings its text fields point at.

#include <array>
#include <optional>
#include <string>
#include <string_view>

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
    // record points at into our storage and point the fields back at our copies.
    void AdoptTexts();

private:
    static const char* LaunchProfile::*Member(TextField field);
    void Repoint();

    LaunchProfile rec_{};
    std::array<std::optional<std::string>, kTextFieldCount> texts_;
};

}  // namespace fenmar
