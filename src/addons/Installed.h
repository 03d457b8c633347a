#pragma once
// Whether a release is in a Quake directory, and removing it.
//
// State: a release with a record is "installed" while every recorded file is there with its
// recorded content, else "changed". A release without a record counts as installed by hand
// when its catalogue layout is present: its start maps (when the catalogue lists any) as
// "<Quake>/<zipbasedir>/maps/<map>.bsp" (or "<zipbasedir>/<map>.bsp" when zipbasedir ends in
// "maps"); without listed start maps, a mod (type 2) by its own folder (the first component
// of zipbasedir, not id1) holding anything, anything else by "<id>.bsp" as above. All names
// are matched ignoring case.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addons/AddOn.h"
#include "addons/InstallRecord.h"

namespace fenmar::addons {

enum class AddOnState { NotInstalled, Installed, Changed };
// "-", "installed", "changed".
std::string_view StateName(AddOnState state);

struct AddOnStatus {
    AddOnState state = AddOnState::NotInstalled;
    bool byHand = false;                    // installed without a record
    std::vector<std::string> changedFiles;  // recorded files missing or edited
};

// With the record when there is one (nullptr: none). A recorded file whose size and time are
// as recorded counts as unchanged without reading it; otherwise its hash decides.
AddOnStatus StatusOf(const std::string& quakeDir, const AddOn& addOn, const InstallRecord* record);

class FolderNames;

// The records of one directory read once, and its folders listed once, for the states of a
// whole list. Take a new one after the directory changed (an install, a removal).
class InstalledAddOns {
public:
    explicit InstalledAddOns(std::string quakeDir);
    ~InstalledAddOns();
    InstalledAddOns(InstalledAddOns&&) noexcept;
    InstalledAddOns& operator=(InstalledAddOns&&) noexcept;
    const std::string& QuakeDir() const { return quakeDir_; }
    const InstallRecord* Record(std::string_view id) const;
    const std::vector<InstallRecord>& Records() const { return records_; }
    AddOnStatus StatusOf(const AddOn& addOn) const;

private:
    std::string quakeDir_;
    std::vector<InstallRecord> records_;
    std::unique_ptr<FolderNames> names_;
};

struct RemoveResult {
    std::vector<std::string> removed;  // files deleted, newest first
    std::vector<std::string> kept;     // changed since the install: left in place
    std::vector<std::string> missing;  // recorded but gone already
    std::vector<std::string> removedDirectories;
    std::string error;  // non-empty: no record, or a file could not be deleted
    bool Ok() const { return error.empty(); }
};

// Deletes exactly the recorded files whose content (hashed) is as installed, newest first,
// then the folders the install created that became empty, then the record. Nothing else.
RemoveResult RemoveAddOn(const std::string& quakeDir, std::string_view id);

}  // namespace fenmar::addons
