#include "ui/discovery/BusyRun.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <chrono>
#include <thread>

namespace fenmar::ui {

bool WaitWithBusyIndicator(QWidget* owner, const QString& text, const std::function<bool()>& done) {
    // Most searches end within a moment: wait that long without showing anything.
    const auto moment = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    while (!done() && std::chrono::steady_clock::now() < moment) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (done()) {
        return true;
    }
    // Then a modal busy indicator, so the window cannot be used while the search runs.
    QProgressDialog busy(text, QStringLiteral("Cancel"), 0, 0, owner);
    busy.setObjectName(QStringLiteral("busyIndicator"));
    busy.setWindowTitle(QStringLiteral("Searching..."));
    busy.setWindowModality(Qt::ApplicationModal);
    busy.setMinimumDuration(0);
    busy.setAutoClose(false);
    busy.setAutoReset(false);
    busy.show();

    QEventLoop loop;
    bool cancelled = false;
    QObject::connect(&busy, &QProgressDialog::canceled, &loop, [&loop, &cancelled] {
        cancelled = true;
        loop.quit();
    });
    QTimer poll;
    poll.setInterval(15);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start();
    loop.exec();
    busy.hide();
    return !cancelled;
}

}  // namespace fenmar::ui
