#pragma once
// A map's picture from above (maps::PreviewRaster) in colour: floors from dark to light by
// height, borders dark, nothing there transparent.

#include <QImage>
#include <string>

#include "maps/MapPreview.h"

namespace fenmar::preview {

// The picture with `longSide` pixels on its longer side (smoothly reduced or enlarged from the
// stored one); a null image for an empty raster.
QImage MapPicture(const maps::PreviewRaster& raster, int longSide = maps::kPreviewShownSide);

// Writes the picture as a PNG file on an opaque background; false when it cannot be written.
bool WriteMapPicture(const maps::PreviewRaster& raster, const std::string& file,
                     int longSide = maps::kPreviewShownSide);

}  // namespace fenmar::preview
