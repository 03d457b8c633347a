#pragma once
// The program's own pictures, drawn in code so that they stay sharp at every scale: the
// turning emblem (window icon and about box), the default plug-in icons, the tall logo of the
// main window and the glyphs of the view-style buttons.

#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace fenmar::ui {

inline constexpr int kLogoFrameCount = 6;

// Frame `frame` (0..5) of the turning emblem, `side` pixels square at `ratio` device pixels.
QPixmap RotatingLogoFrame(int frame, int side = 32, qreal ratio = 1.0);
// The application icon in several sizes.
QIcon ApplicationIcon();
// The icon shown for "no plug-in": 32 or 16 pixels square.
QPixmap DefaultPlugInIcon(int side, qreal ratio = 1.0);
// Pictures by their resource name: "NPI_LARGE" and "NPI_SMALL" (the default plug-in icons).
// A null pixmap for an unknown name.
QPixmap ResourcePixmap(const QString& name);
// The tall logo of the main window's right-hand column.
QPixmap TallLogo(QSize size, qreal ratio = 1.0);
// The glyph of a view-style button: 0 large icons, 1 small icons, 2 list, 3 details, drawn in
// the button text colour of `palette` (its disabled form in the disabled colour), so that it
// reads on light and dark palettes alike.
QIcon ViewStyleIcon(int style, const QPalette& palette);

}  // namespace fenmar::ui
