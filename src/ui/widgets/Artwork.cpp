#include "ui/widgets/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace fenmar::ui {

namespace {

const QColor kEmber(232, 120, 36);
const QColor kEmberLight(255, 196, 92);
const QColor kSlate(38, 42, 52);

QPixmap Canvas(QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Three curved blades around a hub on a dark disc, turned by `degrees`; drawn in a 100-unit
// square. The blades repeat every 120 degrees, so six steps of 20 degrees make one smooth turn.
void PaintEmblem(QPainter& p, qreal degrees) {
    QRadialGradient disc(50, 42, 58);
    disc.setColorAt(0, kSlate.lighter(170));
    disc.setColorAt(1, kSlate);
    p.setPen(QPen(kEmber, 4));  // a bright rim, so the disc stands out on dark backgrounds too
    p.setBrush(disc);
    p.drawEllipse(QRectF(4, 4, 92, 92));

    p.save();
    p.translate(50, 50);
    p.rotate(degrees);
    QPainterPath blade;
    blade.moveTo(0, -10);
    blade.cubicTo(18, -20, 30, -34, 16, -43);
    blade.cubicTo(22, -30, 8, -22, -8, -16);
    blade.closeSubpath();
    QLinearGradient fire(0, -44, 0, -8);
    fire.setColorAt(0, kEmberLight);
    fire.setColorAt(1, kEmber);
    p.setPen(QPen(kEmber.darker(180), 2));
    p.setBrush(fire);
    for (int i = 0; i < 3; ++i) {
        p.drawPath(blade);
        p.rotate(120);
    }
    p.setBrush(kEmberLight);
    p.drawEllipse(QPointF(0, 0), 9, 9);
    p.restore();
}

}  // namespace

QPixmap RotatingLogoFrame(int frame, int side, qreal ratio) {
    QPixmap pixmap = Canvas({side, side}, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 100.0, side / 100.0);
    PaintEmblem(p, 20.0 * (frame % kLogoFrameCount));
    return pixmap;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(RotatingLogoFrame(0, side));
    }
    return icon;
}

QPixmap DefaultPlugInIcon(int side, qreal ratio) {
    // A plug with two prongs on a rounded tile: "no plug-in chosen".
    QPixmap pixmap = Canvas({side, side}, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 32.0, side / 32.0);
    QLinearGradient tile(0, 0, 0, 32);
    tile.setColorAt(0, QColor(206, 212, 222));
    tile.setColorAt(1, QColor(150, 158, 172));
    p.setPen(QPen(QColor(90, 96, 108), 1.2));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(kSlate);
    p.drawRect(QRectF(10.5, 5, 3, 8));
    p.drawRect(QRectF(18.5, 5, 3, 8));
    p.setBrush(kEmber);
    QPainterPath body;
    body.addRoundedRect(QRectF(7, 12, 18, 10), 3, 3);
    p.drawPath(body);
    p.setBrush(kSlate);
    p.drawRect(QRectF(14.5, 22, 3, 6));
    return pixmap;
}

QPixmap ResourcePixmap(const QString& name) {
    if (name == QLatin1String("NPI_LARGE")) {
        return DefaultPlugInIcon(32);
    }
    if (name == QLatin1String("NPI_SMALL")) {
        return DefaultPlugInIcon(16);
    }
    return {};
}

QPixmap TallLogo(QSize size, qreal ratio) {
    QPixmap pixmap = Canvas(size, ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, kSlate.lighter(140));
    sky.setColorAt(0.6, kSlate);
    sky.setColorAt(1, QColor(90, 36, 16));
    p.fillRect(QRectF(0, 0, w, h), sky);

    // Embers rising from the bottom.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 24; ++i) {
        const qreal x = std::fmod(i * 37.0, w);
        const qreal y = h - std::fmod(i * 53.0, h * 0.55);
        p.setBrush(QColor(255, 150 + (i * 7) % 90, 60, 60 + (i * 11) % 120));
        p.drawEllipse(QPointF(x, y), 1.0 + i % 3, 1.0 + i % 3);
    }

    const qreal emblem = std::min(w - 12, 80.0);
    p.save();
    p.translate((w - emblem) / 2, 10);
    p.scale(emblem / 100, emblem / 100);
    PaintEmblem(p, 0);
    p.restore();

    // The name, running upwards along the column.
    QFont font;
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(static_cast<int>(std::min(w * 0.42, (h - emblem - 40) / 4.6)));
    font.setLetterSpacing(QFont::PercentageSpacing, 112);
    p.setFont(font);
    p.save();
    p.translate(w / 2, h - 16);
    p.rotate(-90);
    const QRectF band(0, -w / 2, h - emblem - 40, w);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(band.translated(2, 2), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("FENMAR"));
    p.setPen(kEmberLight);
    p.drawText(band, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("FENMAR"));
    p.restore();

    p.setPen(QPen(kEmber, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, w - 2, h - 2));
    return pixmap;
}

namespace {

void PaintViewStyleGlyph(QPainter& p, int style) {
    switch (style) {
        case 0:  // large icons
            for (int i = 0; i < 4; ++i) {
                p.drawRect(QRectF(1.5 + (i % 2) * 7.5, 1.5 + (i / 2) * 7.5, 5.5, 5.5));
            }
            break;
        case 1:  // small icons
            for (int i = 0; i < 6; ++i) {
                const qreal x = 1 + (i % 2) * 8;
                const qreal y = 2 + (i / 2) * 5;
                p.drawRect(QRectF(x, y, 2.5, 2.5));
                p.drawRect(QRectF(x + 3.5, y + 0.75, 3, 1));
            }
            break;
        case 2:  // list
            for (int i = 0; i < 4; ++i) {
                p.drawRect(QRectF(1, 1.5 + i * 3.75, 2.5, 2.5));
                p.drawRect(QRectF(5, 2.25 + i * 3.75, 9, 1));
            }
            break;
        default:  // details
            for (int i = 0; i < 4; ++i) {
                p.drawRect(QRectF(1, 1.5 + i * 3.75, 2.5, 2.5));
                p.drawRect(QRectF(5, 2.25 + i * 3.75, 4.5, 1));
                p.drawRect(QRectF(11, 2.25 + i * 3.75, 4, 1));
            }
            break;
    }
}

}  // namespace

QIcon ViewStyleIcon(int style, const QPalette& palette) {
    QIcon icon;
    const struct {
        QIcon::Mode mode;
        QPalette::ColorGroup group;
    } forms[] = {{QIcon::Normal, QPalette::Active}, {QIcon::Disabled, QPalette::Disabled}};
    for (const auto& form : forms) {
        for (qreal ratio : {1.0, 2.0}) {
            QPixmap pixmap = Canvas({16, 16}, ratio);
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(palette.color(form.group, QPalette::ButtonText));
            PaintViewStyleGlyph(p, style);
            p.end();
            icon.addPixmap(pixmap, form.mode);
        }
    }
    return icon;
}

}  // namespace fenmar::ui
