#include "core/thread_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/thread_pool_registry.h"

namespace win32 {
namespace {

using namespace std::chrono_literals;
using steady = std::chrono::steady_clock;

// Upper bound for anything that should happen soon; only reached when something is broken.
constexpr auto kPatience = 10s;
// How early an expiry may appear to come: the OS counts in clock ticks, we measure in others.
constexpr auto kEarly = 20ms;

// Records events (when, on which thread) and lets another thread wait for a number of them.
class event_log {
public:
    struct event {
        steady::time_point at;
        std::thread::id thread;
    };

    void add() {
        std::lock_guard lock(mutex_);
        events_.push_back({steady::now(), std::this_thread::get_id()});
        changed_.notify_all();
    }

    bool wait_for(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return events_.size() >= count; });
    }

    std::vector<event> events() {
        std::lock_guard lock(mutex_);
        return events_;
    }

    std::size_t count() { return events().size(); }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<event> events_;
};

std::shared_ptr<tpp_timer> logged_timer(event_log& log) {
    auto timer = thread_pool::instance().create_timer();
    timer->connect([&log](core::error_e) { log.add(); }, 0);
    return timer;
}

TEST(TimerPeriod, FirstRunComesAPeriodAfterStartAndEachNextAPeriodAfterTheRunEnds) {
    constexpr auto kPeriod = 80ms;
    constexpr auto kRunTime = 40ms;
    event_log log;
    auto timer = thread_pool::instance().create_timer();
    timer->connect(
        [&log, kRunTime](core::error_e) {
            log.add();
            std::this_thread::sleep_for(kRunTime);
        },
        0);
    EXPECT_FALSE(timer->is_set());

    const auto started = steady::now();
    timer->start(kPeriod.count());
    // A start while a period is in force neither re-arms the timer nor changes its period.
    timer->start(0);
    timer->start(20);
    EXPECT_TRUE(timer->is_set());
    EXPECT_EQ(timer->period(), kPeriod.count());
    ASSERT_TRUE(log.wait_for(5));
    timer->close();
    EXPECT_FALSE(timer->is_set());

    const auto runs = log.events();
    EXPECT_GE(runs[0].at - started, kPeriod - kEarly);
    auto shortest = steady::duration::max();
    for (std::size_t i = 1; i < runs.size(); ++i) {
        EXPECT_GE(runs[i].at - runs[i - 1].at, kPeriod + kRunTime - kEarly) << "run " << i;
        shortest = std::min(shortest, runs[i].at - runs[i - 1].at);
    }
    // Load may stretch any one interval, but not every one to nearly twice its length.
    EXPECT_LT(shortest, (kPeriod + kRunTime) * 9 / 5);
    for (const auto& run : runs) {
        EXPECT_NE(run.thread, std::this_thread::get_id());
    }

    // Closed for good: nothing more runs and the period in force keeps a new start from arming.
    const auto closed_at = log.count();
    timer->start(kPeriod.count());
    std::this_thread::sleep_for(kPeriod * 3);
    EXPECT_EQ(log.count(), closed_at);
    EXPECT_FALSE(timer->is_set());
}

TEST(TimerPeriod, PeriodZeroFiresOnceAtOnceAndCanBeStartedAgain) {
    event_log log;
    auto timer = logged_timer(log);
    const auto started = steady::now();
    timer->start(0);
    ASSERT_TRUE(log.wait_for(1));
    EXPECT_LT(log.events()[0].at - started, 2s);

    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(log.count(), 1u);
    EXPECT_EQ(timer->period(), 0);

    timer->start(0);
    ASSERT_TRUE(log.wait_for(2));
    timer->start_at(std::chrono::system_clock::now() - 1h, 0);
    ASSERT_TRUE(log.wait_for(3));
}

TEST(TimerClose, CloseFromAnotherThreadWaitsForTheRunningCallbackAndNothingRunsAfter) {
    event_log entered;
    event_log closing;
    std::atomic<bool> callback_returned{false};
    std::atomic<bool> close_returned{false};
    std::atomic<int> runs_after_close{0};
    auto timer = thread_pool::instance().create_timer();
    timer->connect(
        [&](core::error_e) {
            if (close_returned) {
                ++runs_after_close;
            }
            entered.add();
            if (closing.wait_for(1)) {
                // Give close time to reach its wait; it must not return before this run does.
                std::this_thread::sleep_for(50ms);
            }
            callback_returned = true;
        },
        0);
    timer->start(20);
    ASSERT_TRUE(entered.wait_for(1));

    closing.add();
    timer->close();
    EXPECT_TRUE(callback_returned);
    close_returned = true;
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(runs_after_close, 0);
    EXPECT_FALSE(timer->is_set());
}

TEST(TimerClose, CloseFromInsideTheCallbackReturnsAndTheRunEndsWithoutRearming) {
    event_log log;
    event_log close_returned;
    std::atomic<bool> set_after_close{true};
    auto timer = logged_timer(log);
    tpp_timer* const self = timer.get();
    timer->connect(
        [&, self](core::error_e) {
            self->close();
            set_after_close = self->is_set();
            close_returned.add();
        },
        0);
    timer->start(20);
    ASSERT_TRUE(close_returned.wait_for(1));
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(log.count(), 1u);
    EXPECT_FALSE(set_after_close);
    EXPECT_FALSE(timer->is_set());
}

TEST(TimerLifetime, DroppingTheLastReferenceDuringACallbackDestroysTheTimerOnThePoolThread) {
    // Destroyed with the timer's callback list, so it tells when and where the timer went.
    struct destruction_probe {
        explicit destruction_probe(event_log& log) : destroyed(log) {}
        ~destruction_probe() { destroyed.add(); }
        event_log& destroyed;
    };
    event_log entered;
    event_log dropped;
    event_log destroyed;
    const std::size_t registered_before = tpp_registry::instance().size();

    auto timer = thread_pool::instance().create_timer();
    timer->connect(
        [&, probe = std::make_shared<destruction_probe>(destroyed)](core::error_e) {
            entered.add();
            dropped.wait_for(1);
        },
        0);
    timer->start(20);
    ASSERT_TRUE(entered.wait_for(1));
    timer.reset();
    EXPECT_EQ(destroyed.count(), 0u);
    dropped.add();

    ASSERT_TRUE(destroyed.wait_for(1));
    EXPECT_EQ(destroyed.events()[0].thread, entered.events()[0].thread);
    EXPECT_NE(destroyed.events()[0].thread, std::this_thread::get_id());
    // The OS timer is closed and its id freed before the callback list goes.
    EXPECT_EQ(tpp_registry::instance().size(), registered_before);
}

TEST(TimerCallbacks, SlotsRunInConnectionOrderOnceSlotsOnceAndAThrowingSlotStopsNothing) {
    std::mutex mutex;
    std::string order;
    event_log log;
    auto timer = thread_pool::instance().create_timer();
    const auto note = [&](char c) {
        return [&, c](core::error_e code) {
            std::lock_guard lock(mutex);
            order += code == core::error_e::success ? c : '?';
        };
    };
    timer->connect(note('a'), 0);
    timer->connect_once(note('b'), 0);
    timer->connect([](core::error_e) { throw std::runtime_error("callback failed"); }, 0);
    timer->connect(note('c'), 0);
    timer->connect([&log](core::error_e) { log.add(); }, 0);
    timer->start(20);
    ASSERT_TRUE(log.wait_for(3));
    timer->close();

    std::string expected = "abc";
    for (std::size_t i = 1; i < log.count(); ++i) {
        expected += "ac";
    }
    std::lock_guard lock(mutex);
    EXPECT_EQ(order, expected);
}

TEST(TimerRegistry, StartFailsVisiblyWhenEverySlotIsTaken) {
    const std::size_t registered_before = tpp_registry::instance().size();
    std::vector<std::shared_ptr<tpp_timer>> started;
    std::shared_ptr<tpp_timer> refused;
    while (!refused && started.size() <= tpp_registry::kSlots) {
        auto timer = thread_pool::instance().create_timer();
        timer->start(3'600'000);
        if (timer->is_set()) {
            started.push_back(std::move(timer));
        } else {
            refused = std::move(timer);
        }
    }
    ASSERT_TRUE(refused);
    EXPECT_EQ(started.size() + registered_before, tpp_registry::kSlots);
    EXPECT_EQ(refused->period(), 0) << "a refused start must leave the timer startable";

    started.back()->close();
    refused->start(3'600'000);
    EXPECT_TRUE(refused->is_set());
    EXPECT_EQ(tpp_registry::instance().size(), tpp_registry::kSlots);

    started.clear();
    refused.reset();
    EXPECT_EQ(tpp_registry::instance().size(), registered_before);
}

TEST(WorkerReferenceCount, ReleasingAWorkerWithNoReferenceLeftThrows) {
    struct counted_worker : tpp_worker {
        using tpp_worker::release;
    } worker;
    EXPECT_EQ(worker.release(), 0u);
    EXPECT_THROW(worker.release(), std::exception);
}

}  // namespace
}  // namespace win32
