// Build-time helper: renders the application icon from the program's artwork into
// <dir>/hicolor/<size>x<size>/apps/<name>.png for the icon theme.
//   fenmar-render-icons DIR NAME

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "ui/widgets/Artwork.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: fenmar-render-icons DIR NAME\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");  // no display at build time
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(side);
        const QPixmap pixmap = fenmar::ui::RotatingLogoFrame(0, side);
        if (!QDir().mkpath(dir) ||
            !pixmap.save(QStringLiteral("%1/%2.png").arg(dir, name), "PNG")) {
            std::fprintf(stderr, "fenmar-render-icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
