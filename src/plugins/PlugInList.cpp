#include "plugins/PlugInList.h"

#include "platform/DynamicLibrary.h"

namespace fenmar {

std::vector<PlugInListing> ListPlugIns(const PlugInEnvironment& env) {
    std::vector<PlugInListing> rows;
    TPlugIn scanner(env);
    for (const std::string& file : platform::FindLibraryFiles(env.plugInDir)) {
        scanner.Load(file);
        if (!scanner.IsPlugIn()) {
            continue;
        }
        PlugInListing row;
        row.description = scanner.Description();
        row.largeIcon = scanner.GetIcon(2);
        row.smallIcon = scanner.GetIcon(1);
        row.fileName = file;
        row.versionText = APIVersionText(scanner.APIVersion());
        rows.push_back(std::move(row));
    }
    return rows;  // the scanner frees the last library
}

PlugInIcon ActivatePlugIn(TPlugIn& slot, const std::string& fileName) {
    slot.Load(fileName);
    PlugInIcon icon = slot.GetIcon(2);
    slot.Init();
    return icon;
}

PlugInIcon ResetPlugIn(TPlugIn& slot) {
    return ActivatePlugIn(slot, std::string(kNone));
}

}  // namespace fenmar
