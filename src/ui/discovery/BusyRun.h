#pragma once
// Runs a search off the window's thread. The window keeps painting; when the search takes
// longer than a moment a busy indicator appears whose "Cancel" ends the wait at once: the
// search is asked to stop and may finish in the background, its result thrown away (a hung
// mount can hold a look-up for minutes).

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QWidget;

namespace fenmar::ui {

// Waits (keeping the window alive) until `done` is true; shows the busy indicator with `text`
// after a short delay. False when the user cancelled it before that.
bool WaitWithBusyIndicator(QWidget* owner, const QString& text, const std::function<bool()>& done);

// `work(stop)` on a thread of its own; its result once it has finished, nothing when the user
// cancelled first (`stop` is then set, and the thread ends on its own).
template <typename Result>
std::optional<Result> RunWithBusyIndicator(QWidget* owner, const QString& text,
                                           std::function<Result(const std::atomic<bool>&)> work) {
    // Shared with the thread, which may outlive this call.
    struct Shared {
        std::atomic<bool> stop{false};
        std::atomic<bool> done{false};
        std::mutex mutex;
        std::optional<Result> result;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, work = std::move(work)] {
        Result result = work(shared->stop);
        const std::lock_guard<std::mutex> lock(shared->mutex);
        shared->result = std::move(result);
        shared->done = true;
    }).detach();
    if (!WaitWithBusyIndicator(owner, text, [&shared] { return shared->done.load(); })) {
        shared->stop = true;
        return std::nullopt;
    }
    const std::lock_guard<std::mutex> lock(shared->mutex);
    return std::move(shared->result);
}

}  // namespace fenmar::ui
