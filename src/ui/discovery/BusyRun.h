#pragma once
// Runs a search off the window's thread. The window keeps painting; when the search takes
// longer than a moment a busy indicator appears whose "Cancel" asks the search to stop.

#include <QString>
#include <atomic>
#include <functional>
#include <future>

class QWidget;

namespace fenmar::ui {

// Waits (keeping the window alive) until `done` is ready; shows the busy indicator with
// `text` after a short delay and sets `stop` when the user cancels it.
void WaitWithBusyIndicator(QWidget* owner, const QString& text, const std::function<bool()>& done,
                           std::atomic<bool>& stop);

// `work(stop)` on a thread of its own; its result once it has finished.
template <typename Result>
Result RunWithBusyIndicator(QWidget* owner, const QString& text,
                            std::function<Result(const std::atomic<bool>&)> work) {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    std::future<Result> result =
        std::async(std::launch::async, [stop, work = std::move(work)] { return work(*stop); });
    WaitWithBusyIndicator(
        owner, text,
        [&result] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        *stop);
    return result.get();
}

}  // namespace fenmar::ui
