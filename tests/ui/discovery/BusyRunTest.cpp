#include "ui/discovery/BusyRun.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>
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
    const std::optional<int> result = ui::RunWithBusyIndicator<int>(
        nullptr, "working", [](const std::atomic<bool>&) { return 42; });
    EXPECT_EQ(result, 42);
    EXPECT_FALSE(seen);
}

TEST(BusyRunTest, CancelEndsTheWaitAtOnceEvenWhenTheSearchHangs) {
    // The search hangs (a dead mount) and does not look at `stop` until the test lets it go.
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    auto sawStop = std::make_shared<std::atomic<bool>>(false);
    bool shown = false;
    QTimer::singleShot(700, [&shown] {
        if (QProgressDialog* busy = BusyIndicator()) {
            shown = true;
            busy->findChild<QPushButton*>()->click();  // the user's "Cancel"
        }
    });
    const std::optional<bool> result = ui::RunWithBusyIndicator<bool>(
        nullptr, "working", [release, finished, sawStop](const std::atomic<bool>& stop) {
            const auto giveUp = std::chrono::steady_clock::now() + 20s;
            while (!*release && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(5ms);
            }
            *sawStop = stop.load();
            *finished = true;
            return true;
        });
    EXPECT_TRUE(shown);
    EXPECT_EQ(result, std::nullopt);
    EXPECT_FALSE(*finished) << "the window waited for the hung search";
    EXPECT_EQ(BusyIndicator(), nullptr);
    // The search ends in the background, told to stop; its result is ignored.
    *release = true;
    while (!*finished) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(*sawStop);
}

}  // namespace
}  // namespace fenmar
