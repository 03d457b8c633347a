#include "ui/discovery/BusyRun.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <thread>

namespace fenmar {
namespace {

using namespace std::chrono_literals;

QProgressDialog* BusyIndicator() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "busyIndicator" && widget->isVisible()) {
            return qobject_cast<QProgressDialog*>(widget);
        }
    }
    return nullptr;
}

TEST(BusyRunTest, AShortSearchShowsNothing) {
    bool seen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&seen] { seen = seen || BusyIndicator(); });
    probe.start(5);
    const int result = ui::RunWithBusyIndicator<int>(nullptr, "working",
                                                     [](const std::atomic<bool>&) { return 42; });
    EXPECT_EQ(result, 42);
    EXPECT_FALSE(seen);
}

TEST(BusyRunTest, ALongSearchShowsTheIndicatorWhoseCancelStopsIt) {
    // The search runs until it is told to stop (or gives up after a long while).
    bool shown = false;
    QTimer::singleShot(700, [&shown] {
        if (QProgressDialog* busy = BusyIndicator()) {
            shown = true;
            busy->findChild<QPushButton*>()->click();  // the user's "Cancel"
        }
    });
    const auto started = std::chrono::steady_clock::now();
    const bool stopped =
        ui::RunWithBusyIndicator<bool>(nullptr, "working", [](const std::atomic<bool>& stop) {
            const auto giveUp = std::chrono::steady_clock::now() + 20s;
            while (!stop && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(5ms);
            }
            return stop.load();
        });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(stopped);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_EQ(BusyIndicator(), nullptr);  // gone once the search has ended
}

}  // namespace
}  // namespace fenmar
