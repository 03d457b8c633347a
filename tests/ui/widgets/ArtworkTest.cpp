#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QImage>
#include <QPalette>
#include <cmath>

#include "ui/pages/PlugInsPage.h"
#include "ui/widgets/Artwork.h"

namespace fenmar {
namespace {

qreal Lightness(QColor c) {
    return (0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF());
}

// The mean colour of the opaque pixels of a picture.
QColor Ink(const QImage& image) {
    float r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alphaF() > 0.5) {
                r += c.redF();
                g += c.greenF();
                b += c.blueF();
                ++n;
            }
        }
    }
    return n == 0 ? QColor()
                  : QColor::fromRgbF(r / static_cast<float>(n), g / static_cast<float>(n),
                                     b / static_cast<float>(n));
}

// Light and dark desktops: the view-style glyphs (repainted when the palette changes) and the
// rim of the emblem stand out from the window colour.
TEST(Artwork, IconsAndTheEmblemRimContrastWithLightAndDarkPalettes) {
    const struct {
        const char* name;
        QColor window;
        QColor text;
    } palettes[] = {{"light", QColor(239, 239, 239), QColor(0, 0, 0)},
                    {"dark", QColor(45, 45, 45), QColor(238, 238, 236)}};
    ui::PlugInsPage page;
    for (const auto& look : palettes) {
        SCOPED_TRACE(look.name);
        QPalette palette(look.text, look.window);
        page.setPalette(palette);
        const qreal window = Lightness(look.window);
        for (QAbstractButton* button : page.viewStyleButtons->buttons()) {
            SCOPED_TRACE(button->objectName().toStdString());
            const QColor ink = Ink(button->icon().pixmap(16).toImage());
            ASSERT_TRUE(ink.isValid());
            EXPECT_GT(std::abs(Lightness(ink) - window), 0.5);
        }
        const QImage emblem = ui::RotatingLogoFrame(0, 64).toImage();
        EXPECT_GT(std::abs(Lightness(emblem.pixelColor(32, 2)) - window), 0.3);
    }
}

}  // namespace
}  // namespace fenmar
