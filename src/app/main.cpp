// Fenmar's start: with arguments the command line (no window); without them the application
// object and its title, the settings store, the main window, the message loop (whose first
// work after the window's first paint is making the dialogs).

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <utility>

#include "cli/CommandLineInterface.h"
#include "cli/CommandLineMain.h"
#include "platform/Shortcut.h"
#include "store/OpenStore.h"
#include "store/PlugInKeys.h"
#include "ui/quicksets/QuickSetController.h"
#include "ui/services/QtUiServices.h"
#include "ui/shortcuts/ShortcutController.h"
#include "ui/widgets/Artwork.h"
#include "ui/window/AppContext.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace {

// What the user should know about the settings file, once, after the window shows.
QString StoreNotice(const fenmar::store::OpenResult& opened) {
    if (!opened.problem.empty()) {
        return QStringLiteral(
                   "Your settings cannot be stored: %1\n\nFenmar works, but everything "
                   "you change is forgotten when it ends.")
            .arg(QString::fromStdString(opened.problem));
    }
    if (!opened.movedAsideTo.empty()) {
        return QStringLiteral(
                   "Your settings file could not be read and was put aside as\n%1\n\n"
                   "Fenmar starts with fresh settings.")
            .arg(QString::fromStdString(opened.movedAsideTo));
    }
    return {};
}

// Runs `then` once, after the window's first paint (posted, so the picture is on the screen).
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget& window, std::function<void()> then) : then_(std::move(then)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, std::exchange(then_, nullptr));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> then_;
};

}  // namespace

int main(int argc, char* argv[]) {
    // Decided before any GUI object exists: the command line needs no display.
    if (fenmar::cli::WantsCommandLine(argc, argv)) {
        std::string windowText;
        const int status = fenmar::cli::RunCommandLine(argc, argv, windowText);
        // A launcher's failure: nobody reads its standard error, so say it in a window.
        if (!windowText.empty() && fenmar::platform::HasDisplay()) {
            QApplication app(argc, argv);
            QApplication::setApplicationName(QStringLiteral("Fenmar"));
            QMessageBox::critical(nullptr, QStringLiteral("Fenmar"),
                                  QString::fromLocal8Bit(windowText).trimmed());
        }
        return status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fenmar"));
    QApplication::setDesktopFileName(QStringLiteral("com.corvanta.Fenmar"));

    fenmar::store::OpenResult opened = fenmar::store::OpenDefaultStore();
    fenmar::store::SetPlugInStore(opened.store.get());

    fenmar::ui::QtUiServices services;
    fenmar::ui::AppContext context(services);
    context.programDir = QApplication::applicationDirPath().toLocal8Bit().toStdString();
    context.store = opened.store.get();

    int result = 0;
    {
        fenmar::ui::AppWindows windows(context, fenmar::ui::AppWindows::Dialogs::Later);
        services.SetParent(windows.main);
        auto* shortcuts = new fenmar::ui::ShortcutController(*windows.main);  // the window's
        // A Quick-Set's launchers follow it when it is renamed or deleted.
        QObject::connect(windows.main->quickSets, &fenmar::ui::QuickSetController::renamed,
                         shortcuts, &fenmar::ui::ShortcutController::QuickSetRenamed);
        QObject::connect(windows.main->quickSets, &fenmar::ui::QuickSetController::deleted,
                         shortcuts, &fenmar::ui::ShortcutController::QuickSetDeleted);
        // Closing the main window ends the program, whatever dialogs exist hidden.
        QObject::connect(windows.main, &fenmar::ui::TMainDialog::closing, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        // Work the first sight of the window need not wait for: the dialogs, and the icon of
        // the windows that have none of their own (the main window has). FENMAR_QUIT_WHEN_SHOWN
        // set (the start-up benchmark): "shown" goes to standard output and the program ends,
        // saving nothing.
        const bool quitWhenShown = qEnvironmentVariableIsSet("FENMAR_QUIT_WHEN_SHOWN");
        const AfterFirstPaint afterFirstPaint(*windows.main, [quitWhenShown, &windows] {
            if (quitWhenShown) {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
                return;
            }
            QApplication::setWindowIcon(fenmar::ui::ApplicationIcon());
            windows.CreateDialogs();
        });
        windows.main->show();
        windows.main->activateWindow();  // settings load at the first activation
        const QString notice = StoreNotice(opened);
        if (!notice.isEmpty()) {
            QTimer::singleShot(0, windows.main, [&context, notice] {
                context.ui.ShowMessage(notice, QStringLiteral("Something you should know..."),
                                       fenmar::ui::MessageIcon::Warning);
            });
        }
        result = QApplication::exec();
    }
    // The windows (and the plug-in they hold) are gone: nothing uses the store any more.
    fenmar::store::SetPlugInStore(nullptr);
    return result;
}
