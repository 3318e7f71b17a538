#include "core/BoundedWait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

namespace {

using namespace std::chrono_literals;

// Something the work owns whose going takes a while, as a file removed on a slow disk.
struct SlowToGo {
    explicit SlowToGo(std::shared_ptr<std::atomic<bool>> gone) : gone(std::move(gone)) {}
    SlowToGo(const SlowToGo&) = delete;
    SlowToGo& operator=(const SlowToGo&) = delete;
    std::shared_ptr<std::atomic<bool>> gone;
    ~SlowToGo()
    {
        std::this_thread::sleep_for(200ms);
        *gone = true;
    }
};

TEST(BoundedWaitTest, WorkThatEndsInTimeHasLetGoOfAllItHeldWhenTheCallerGoesOn)
{
    auto gone = std::make_shared<std::atomic<bool>>(false);
    auto held = std::make_shared<SlowToGo>(gone);
    bool undone = false;
    std::function<void()> work = [held] {};
    std::function<void()> undo = [held, &undone] { undone = true; };
    held.reset();
    EXPECT_TRUE(BoundedWait::run(10, std::move(work), std::move(undo)));
    EXPECT_TRUE(*gone);
    EXPECT_FALSE(undone);
}

TEST(BoundedWaitTest, WorkThatRunsTooLongIsAbandonedAndTakenBackWhenItEnds)
{
    auto undone = std::make_shared<std::atomic<bool>>(false);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(BoundedWait::run(1, [] { std::this_thread::sleep_for(1500ms); }, [undone] { *undone = true; }));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1400ms);
    EXPECT_FALSE(*undone);
    for (int i = 0; i < 300 && !*undone; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(*undone);
}

}  // namespace
