#include "ui/plugins/WindowPlugInHost.h"

namespace fenmar::ui {

void WindowPlugInHost::ShowProfile() {
    if (showProfile_) {
        showProfile_();
    }
}

void WindowPlugInHost::ApplyAllowList(const AllowList* list) {
    if (applyAllowList_) {
        applyAllowList_(list);
    }
}

std::string WindowPlugInHost::ResolveExecutableName(const std::string& file) {
    return resolve_ ? resolve_(file) : globals_.Executable;
}

std::optional<std::string> WindowPlugInHost::Pick(const TextPicker& picker) {
    return picker ? picker() : std::nullopt;
}

std::optional<std::string> WindowPlugInHost::BrowseMap() {
    return Pick(browseMap_);
}

std::string WindowPlugInHost::BrowseForPatch() {
    return browseForPatch_ ? browseForPatch_() : std::string();  // "": cancelled
}

std::optional<std::string> WindowPlugInHost::BrowseDemoID1() {
    return Pick(browseDemoID1_);
}

std::optional<std::string> WindowPlugInHost::BrowseDemoPatch() {
    return Pick(browseDemoPatch_);
}

std::optional<std::string> WindowPlugInHost::BrowseExecutableFile() {
    return Pick(browseExecutableFile_);
}

}  // namespace fenmar::ui
