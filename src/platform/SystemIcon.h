#pragma once
// Turning an icon handle a plug-in returns on Windows (HICON) into pixels the host can copy.

#include <cstdint>
#include <optional>
#include <vector>

namespace fenmar::platform {

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // 0xAARRGGBB, rows from the top
};

// Icons larger than this on a side are refused.
inline constexpr int kMaxSystemIconSide = 256;

// The pixels of a system icon handle; nullopt for a null or unusable handle, and on systems
// whose plug-ins hand over images instead of handles.
std::optional<IconPixels> ConvertSystemIcon(const void* handle);

}  // namespace fenmar::platform
