#pragma once
// The record handed to one plug-in call: nothing, the live launch profile (API 1.30), or a
// copy in the 1.22 layout that lives until the call has been taken back.

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/LiveProfile.h"
#include "fenmar/plugin.h"

namespace fenmar {

class ExchangeRecord {
public:
    enum class Kind { None, Live, Copy122 };

    static ExchangeRecord None() { return ExchangeRecord(); }
    // The live record itself. Until this object is gone, texts the host replaces in `profile`
    // stay alive, so pointers the plug-in took from the record remain valid.
    static ExchangeRecord Live(LiveProfile& profile);
    // Fills a 1.22 copy from `profile`; the three executable fields carry `executableFile`.
    // The copy points at texts of its own, so nothing the host does while the plug-in runs
    // (the info function may set DemoName) can pull a text out from under it.
    static ExchangeRecord Copy122(const LiveProfile& profile, const std::string& executableFile);

    Kind GetKind() const { return kind_; }
    // What the plug-in receives: null, a LaunchProfile* or a PIRecord122*.
    void* Pointer();

    // Copies every field of the 1.22 layout back into `profile`, the texts as the host's own
    // copies. Returns the executable file the selectors choose (null pointer: nullopt).
    std::optional<std::string> CopyBack122(LiveProfile& profile) const;

    const PIRecord122* Record122() const;

private:
    struct Copy {
        PIRecord122 rec{};
        std::array<std::optional<std::string>, kTextFieldCount> texts;
        std::string executableFile;
    };

    Kind kind_ = Kind::None;
    LaunchProfile* live_ = nullptr;
    std::optional<LiveProfile::TextHold> hold_;
    std::unique_ptr<Copy> copy_;
};

}  // namespace fenmar
