// Fenmar's start: the application object and its title, every window once, the message loop.

#include <QApplication>

#include "ui/AppContext.h"
#include "ui/AppWindows.h"
#include "ui/Artwork.h"
#include "ui/MainDialog.h"
#include "ui/QtUiServices.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fenmar"));
    QApplication::setDesktopFileName(QStringLiteral("fenmar"));
    QApplication::setWindowIcon(fenmar::ui::ApplicationIcon());

    fenmar::ui::QtUiServices services;
    fenmar::ui::AppContext context(services);
    context.programDir = QApplication::applicationDirPath().toLocal8Bit().toStdString();

    fenmar::ui::AppWindows windows(context);
    services.SetParent(windows.main);
    // Closing the main window ends the program, whatever dialogs exist hidden.
    QObject::connect(windows.main, &fenmar::ui::TMainDialog::closing, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    windows.main->show();
    return QApplication::exec();
}
