#include <cstdio>

#include "platform/UdpSocket.h"

namespace fenmar::platform {

std::string NetAddress::ToString() const {
    char text[64];
    if (!v6) {
        std::snprintf(text, sizeof text, "%u.%u.%u.%u:%u", ip[0], ip[1], ip[2], ip[3],
                      static_cast<unsigned>(port));
        return text;
    }
    // The plain long form; short enough to read and unambiguous.
    std::string out = "[";
    for (std::size_t i = 0; i < 16; i += 2) {
        std::snprintf(text, sizeof text, "%s%x", i == 0 ? "" : ":",
                      static_cast<unsigned>(ip[i] << 8 | ip[i + 1]));
        out += text;
    }
    if (scope != 0) {
        std::snprintf(text, sizeof text, "%%%u", static_cast<unsigned>(scope));
        out += text;
    }
    std::snprintf(text, sizeof text, "]:%u", static_cast<unsigned>(port));
    return out + text;
}

}  // namespace fenmar::platform
