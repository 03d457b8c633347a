#include "preview/MapPicture.h"

#include <QColor>
#include <QString>
#include <algorithm>

namespace fenmar::preview {

namespace {

constexpr QRgb kBackground = qRgb(38, 42, 50);

QRgb ColourOf(int shade) {
    if (shade == maps::kShadeEmpty) {
        return qRgba(0, 0, 0, 0);
    }
    if (shade == maps::kShadeBorder) {
        return qRgb(14, 14, 16);
    }
    // From a dim olive for the lowest floors to a pale sand for the highest.
    const double t = static_cast<double>(shade - maps::kShadeLowest) /
                     (maps::kShadeHighest - maps::kShadeLowest);
    const auto mix = [t](int low, int high) {
        return static_cast<int>(low + (high - low) * t + 0.5);
    };
    return qRgb(mix(78, 240), mix(82, 228), mix(70, 196));
}

}  // namespace

QImage MapPicture(const maps::PreviewRaster& raster, int longSide) {
    if (raster.Empty() || longSide <= 0 ||
        raster.shades.size() !=
            static_cast<std::size_t>(raster.width) * static_cast<std::size_t>(raster.height)) {
        return {};
    }
    QImage indexed(raster.width, raster.height, QImage::Format_ARGB32_Premultiplied);
    QRgb table[256];
    for (int i = 0; i < 256; ++i) {
        table[i] = ColourOf(i);
    }
    for (int y = 0; y < raster.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(indexed.scanLine(y));
        const std::uint8_t* shades =
            raster.shades.data() +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width);
        for (int x = 0; x < raster.width; ++x) {
            line[x] = table[shades[x]];
        }
    }
    if (std::max(raster.width, raster.height) == longSide) {
        return indexed;
    }
    return raster.width >= raster.height
               ? indexed.scaledToWidth(longSide, Qt::SmoothTransformation)
               : indexed.scaledToHeight(longSide, Qt::SmoothTransformation);
}

bool WriteMapPicture(const maps::PreviewRaster& raster, const std::string& file, int longSide) {
    const QImage picture = MapPicture(raster, longSide);
    if (picture.isNull()) {
        return false;
    }
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.fill(kBackground);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int a = qAlpha(from[x]);
            const auto blend = [a](int over, int under) { return over + under * (255 - a) / 255; };
            to[x] = qRgb(blend(qRed(from[x]), qRed(kBackground)),
                         blend(qGreen(from[x]), qGreen(kBackground)),
                         blend(qBlue(from[x]), qBlue(kBackground)));
        }
    }
    return opaque.save(QString::fromLocal8Bit(file.c_str()), "PNG");
}

}  // namespace fenmar::preview
