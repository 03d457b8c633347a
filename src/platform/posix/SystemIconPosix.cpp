#include "platform/SystemIcon.h"

namespace fenmar::platform {

// Plug-ins here return PIIconImage pointers, never handles.
std::optional<IconPixels> ConvertSystemIcon(const void* /*handle*/) {
    return std::nullopt;
}

}  // namespace fenmar::platform
