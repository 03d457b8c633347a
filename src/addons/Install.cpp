#include "addons/Install.h"

namespace fenmar::addons {

bool InstallPlan::AllPresent() const {
    for (const PlannedFile& file : files) {
        if (!file.exists) {
            return false;
        }
    }
    return !files.empty();
}

InstallPlan PlanInstall(const std::string& quakeDir, const AddOn& addOn, const std::string& zipPath,
                        const UnpackLimits&) {
    InstallPlan plan;
    plan.quakeDir = quakeDir;
    plan.zipPath = zipPath;
    plan.id = addOn.id;
    plan.error = "not yet";
    return plan;
}

InstallResult Install(const InstallPlan&, bool, const InstallProgress&) {
    return {"not yet", false, {}};
}

}  // namespace fenmar::addons
