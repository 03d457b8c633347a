#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fenmar"));
    QLabel window(QStringLiteral("Fenmar"));
    window.setWindowTitle(QStringLiteral("Fenmar - launch Quake (the better way)"));
    window.resize(569, 461);
    window.show();
    return QApplication::exec();
}
