#include "core/BoundedWait.h"

#include <QCoreApplication>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct Outcome {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool abandoned = false;
};

}  // namespace

bool BoundedWait::run(int seconds, std::function<void()> work, std::function<void()> undo)
{
    auto outcome = std::make_shared<Outcome>();
    std::thread([outcome, work = std::move(work), undo = std::move(undo)]() mutable {
        work();
        // What the work holds goes before the caller hears of its end: the caller then finds
        // whatever the work's objects leave when they go (a file they remove, say) already done.
        work = nullptr;
        std::lock_guard<std::mutex> lock(outcome->mutex);
        if (outcome->abandoned) {
            if (undo)
                undo();
            return;
        }
        undo = nullptr;
        outcome->done = true;
        outcome->ended.notify_all();
    }).detach();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::unique_lock<std::mutex> lock(outcome->mutex);
    while (!outcome->done) {
        if (std::chrono::steady_clock::now() >= deadline) {
            outcome->abandoned = true;
            return false;
        }
        outcome->ended.wait_for(lock, std::chrono::milliseconds(20));
        if (outcome->done)
            break;
        lock.unlock();
        QCoreApplication::processEvents();
        lock.lock();
    }
    return true;
}
