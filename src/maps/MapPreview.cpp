#include "maps/MapPreview.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fenmar::maps {

namespace {

constexpr float kMargin = 2.0f;

struct Canvas {
    PreviewRaster& raster;
    std::vector<float> lo;
    std::vector<float> hi;

    void Plot(int x, int y, std::uint8_t shade) {
        if (x >= 0 && y >= 0 && x < raster.width && y < raster.height) {
            raster.shades[static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width) +
                          static_cast<std::size_t>(x)] = shade;
        }
    }

    // Fills the pixels whose centres lie inside the polygon (taken row by row as the span
    // between its leftmost and rightmost crossing, which is exact for convex faces).
    void Fill(const float* xy, std::size_t count, std::uint8_t shade) {
        float top = xy[1], bottom = xy[1];
        for (std::size_t i = 1; i < count; ++i) {
            top = std::min(top, xy[2 * i + 1]);
            bottom = std::max(bottom, xy[2 * i + 1]);
        }
        const int first = std::max(0, static_cast<int>(std::ceil(top - 0.5f)));
        const int last =
            std::min(raster.height - 1, static_cast<int>(std::ceil(bottom - 0.5f)) - 1);
        if (first > last) {
            return;
        }
        for (int y = first; y <= last; ++y) {
            lo[static_cast<std::size_t>(y)] = std::numeric_limits<float>::max();
            hi[static_cast<std::size_t>(y)] = std::numeric_limits<float>::lowest();
        }
        for (std::size_t i = 0; i < count; ++i) {
            const float* a = xy + 2 * i;
            const float* b = xy + 2 * ((i + 1) % count);
            if (a[1] == b[1]) {
                continue;
            }
            const float y0 = std::min(a[1], b[1]), y1 = std::max(a[1], b[1]);
            const int from = std::max(first, static_cast<int>(std::ceil(y0 - 0.5f)));
            const int to = std::min(last, static_cast<int>(std::ceil(y1 - 0.5f)) - 1);
            const float slope = (b[0] - a[0]) / (b[1] - a[1]);
            for (int y = from; y <= to; ++y) {
                const float x = a[0] + (static_cast<float>(y) + 0.5f - a[1]) * slope;
                lo[static_cast<std::size_t>(y)] = std::min(lo[static_cast<std::size_t>(y)], x);
                hi[static_cast<std::size_t>(y)] = std::max(hi[static_cast<std::size_t>(y)], x);
            }
        }
        const auto width = static_cast<std::size_t>(raster.width);
        for (int y = first; y <= last; ++y) {
            const float l = lo[static_cast<std::size_t>(y)], h = hi[static_cast<std::size_t>(y)];
            if (!(l <= h)) {
                continue;
            }
            const int x0 = std::max(0, static_cast<int>(std::ceil(l - 0.5f)));
            const int x1 = std::min(raster.width, static_cast<int>(std::ceil(h - 0.5f)));
            if (x0 < x1) {
                std::uint8_t* row = raster.shades.data() + static_cast<std::size_t>(y) * width;
                std::fill(row + x0, row + x1, shade);
            }
        }
    }

    void Line(const float* a, const float* b, std::uint8_t shade) {
        const float dx = b[0] - a[0], dy = b[1] - a[1];
        const int steps = static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy))));
        for (int i = 0; i <= steps; ++i) {
            const float t = steps == 0 ? 0.0f : static_cast<float>(i) / static_cast<float>(steps);
            Plot(static_cast<int>(std::floor(a[0] + dx * t)),
                 static_cast<int>(std::floor(a[1] + dy * t)), shade);
        }
    }
};

}  // namespace

PreviewRaster RasterizeTopView(const TopView& view, int longSide) {
    PreviewRaster raster;
    if (view.Empty() || longSide < 8 || longSide > 4096) {
        return raster;
    }
    const float spanX = view.maxX - view.minX, spanY = view.maxY - view.minY;
    const float inner = static_cast<float>(longSide) - 2 * kMargin;
    const float span = std::max(spanX, spanY);
    // A map narrower than a thousandth of a unit is drawn unscaled (a point or a line).
    const float scale = span > 1e-3f ? inner / span : 1.0f;
    const auto side = [&](float extent) {
        const float pixels = std::min(extent * scale + 2 * kMargin, static_cast<float>(longSide));
        return std::max(1, static_cast<int>(std::ceil(pixels)));
    };
    raster.width = side(spanX);
    raster.height = side(spanY);
    raster.shades.assign(
        static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height),
        kShadeEmpty);

    Canvas canvas{raster, std::vector<float>(static_cast<std::size_t>(raster.height)),
                  std::vector<float>(static_cast<std::size_t>(raster.height))};
    const float depth = view.maxZ - view.minZ;
    std::vector<float> xy;
    for (const TopView::Face& face : view.faces) {
        xy.resize(2 * static_cast<std::size_t>(face.count));
        for (std::size_t i = 0; i < face.count; ++i) {
            const std::size_t p = 2 * (face.first + i);
            xy[2 * i] = kMargin + (view.points[p] - view.minX) * scale;
            xy[2 * i + 1] = kMargin + (view.maxY - view.points[p + 1]) * scale;
        }
        const float level = depth > 0 ? (face.height - view.minZ) / depth : 0.6f;
        const auto shade = static_cast<std::uint8_t>(
            kShadeLowest + std::lround(std::clamp(level, 0.0f, 1.0f) *
                                       static_cast<float>(kShadeHighest - kShadeLowest)));
        canvas.Fill(xy.data(), face.count, shade);
        for (std::size_t i = 0; i < face.count; ++i) {
            if (view.outline[face.first + i] != 0) {
                canvas.Line(&xy[2 * i], &xy[2 * ((i + 1) % face.count)], kShadeBorder);
            }
        }
    }
    return raster;
}

namespace {

void PutU16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

}  // namespace

std::string PackRaster(const PreviewRaster& raster) {
    std::string out;
    PutU16(out, static_cast<unsigned>(raster.width));
    PutU16(out, static_cast<unsigned>(raster.height));
    // Runs of 1 to 256 equal shades: a count byte (length - 1), then the shade.
    const std::vector<std::uint8_t>& s = raster.shades;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = 1;
        while (n < 256 && i + n < s.size() && s[i + n] == s[i]) {
            ++n;
        }
        out += static_cast<char>(n - 1);
        out += static_cast<char>(s[i]);
        i += n;
    }
    return out;
}

std::optional<PreviewRaster> UnpackRaster(std::string_view bytes) {
    if (bytes.size() < 4) {
        return std::nullopt;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    PreviewRaster raster;
    raster.width = byte(0) | byte(1) << 8;
    raster.height = byte(2) | byte(3) << 8;
    if (raster.width > kPreviewSide || raster.height > kPreviewSide ||
        (raster.width == 0) != (raster.height == 0)) {
        return std::nullopt;
    }
    const std::size_t total =
        static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height);
    raster.shades.reserve(total);
    for (std::size_t i = 4; i + 1 < bytes.size(); i += 2) {
        const std::size_t n = byte(i) + 1u;
        if (raster.shades.size() + n > total) {
            return std::nullopt;
        }
        raster.shades.insert(raster.shades.end(), n, byte(i + 1));
    }
    if (bytes.size() % 2 != 0 || raster.shades.size() != total) {
        return std::nullopt;
    }
    return raster;
}

}  // namespace fenmar::maps
