#pragma once
// A map's picture from above as a small image of shade numbers: drawn from its TopView, kept in
// the map cache run-length packed, and coloured by the window or the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maps/BspGeometry.h"

namespace fenmar::maps {

// The long side of the picture kept: twice what a screen shows, for high-DPI screens and
// smooth reduction to the usual 256 pixels.
inline constexpr int kPreviewSide = 512;
inline constexpr int kPreviewShownSide = 256;

// Shade numbers: nothing there, a border, then floors from the lowest to the highest.
inline constexpr std::uint8_t kShadeEmpty = 0;
inline constexpr std::uint8_t kShadeBorder = 1;
inline constexpr std::uint8_t kShadeLowest = 2;
inline constexpr std::uint8_t kShadeHighest = 255;

struct PreviewRaster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> shades;  // width * height, row by row from the north

    bool Empty() const { return width == 0 || height == 0; }
    bool operator==(const PreviewRaster&) const = default;
};

// The view fitted to `longSide` pixels on its longer side, keeping its aspect; empty for an
// empty view.
PreviewRaster RasterizeTopView(const TopView& view, int longSide = kPreviewSide);

// Packed as width, height and runs of equal shades; Unpack gives nullopt for damaged bytes or
// a picture larger than kPreviewSide.
std::string PackRaster(const PreviewRaster& raster);
std::optional<PreviewRaster> UnpackRaster(std::string_view bytes);

}  // namespace fenmar::maps
