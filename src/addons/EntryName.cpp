#include "addons/ZipInspect.h"

namespace fenmar::addons {

std::string CleanEntryName(std::string_view, bool& directory, std::string& error,
                           const UnpackLimits&) {
    directory = false;
    error = "not yet";
    return {};
}

}  // namespace fenmar::addons
