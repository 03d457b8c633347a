#include "addons/Installed.h"

namespace fenmar::addons {

std::string_view StateName(AddOnState state) {
    switch (state) {
        case AddOnState::Installed:
            return "installed";
        case AddOnState::Changed:
            return "changed";
        case AddOnState::NotInstalled:
            break;
    }
    return "-";
}

AddOnStatus StatusOf(const std::string&, const AddOn&, const InstallRecord*) {
    return {};
}

InstalledAddOns::InstalledAddOns(std::string quakeDir)
    : quakeDir_(std::move(quakeDir)), records_(ReadInstallRecords(quakeDir_)) {}

const InstallRecord* InstalledAddOns::Record(std::string_view id) const {
    for (const InstallRecord& record : records_) {
        if (record.id.size() == id.size() && record.id == id) {
            return &record;
        }
    }
    return nullptr;
}

AddOnStatus InstalledAddOns::StatusOf(const AddOn& addOn) const {
    return addons::StatusOf(quakeDir_, addOn, Record(addOn.id));
}

RemoveResult RemoveAddOn(const std::string&, std::string_view) {
    RemoveResult result;
    result.error = "not yet";
    return result;
}

}  // namespace fenmar::addons
