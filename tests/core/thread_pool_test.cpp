#include "core/thread_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/internal/thread_pool_registry.h"
#include "support/manual_timer_source.h"

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

// Timing logic on a clock moved by hand: no test waits in real time.
class ManualTimer : public ::testing::Test {
protected:
    ~ManualTimer() override { timer->close(); }

    // The times, in ms since the start of the test, at which the timer's callbacks ran.
    std::vector<std::int64_t> runs;
    testing_support::ManualTimerSource clock;
    const std::chrono::system_clock::time_point start = clock.now();
    std::shared_ptr<tpp_timer> timer = thread_pool::instance().create_timer(clock);

    void Log() {
        timer->connect(
            [this](core::error_e) {
                runs.push_back(
                    std::chrono::duration_cast<std::chrono::milliseconds>(clock.now() - start)
                        .count());
            },
            0);
    }
};

TEST_F(ManualTimer, FirstRunComesAPeriodAfterStartAndEachNextAPeriodAfterTheRunEnds) {
    Log();
    timer->connect([this](core::error_e) { clock.Spend(40ms); }, 0);
    EXPECT_FALSE(timer->is_set());
    timer->start(80);
    // A start while a period is in force neither re-arms the timer nor changes its period.
    timer->start(0);
    timer->start(20);
    EXPECT_TRUE(timer->is_set());
    EXPECT_EQ(timer->period(), 80);

    EXPECT_EQ(clock.Advance(79ms), 0);
    EXPECT_EQ(clock.Advance(1ms), 1);
    EXPECT_EQ(clock.Advance(1000ms), 8);
    EXPECT_EQ(runs, (std::vector<std::int64_t>{80, 200, 320, 440, 560, 680, 800, 920, 1040}));

    // Closed for good: nothing more runs and the period in force keeps a new start from arming.
    timer->close();
    EXPECT_FALSE(timer->is_set());
    timer->start(80);
    EXPECT_EQ(clock.Advance(1000ms), 0);
    EXPECT_EQ(clock.Armed(), 0u);
}

TEST_F(ManualTimer, PeriodZeroFiresOnceAtOnceAndCanBeStartedAgain) {
    Log();
    timer->start(0);
    EXPECT_EQ(clock.Advance(0ms), 1);
    EXPECT_EQ(clock.Advance(1h), 0);
    EXPECT_EQ(timer->period(), 0);

    timer->start(0);
    EXPECT_EQ(clock.Advance(0ms), 1);
    timer->start_at(clock.now() - 1h, 0);
    EXPECT_EQ(clock.Advance(0ms), 1);
    EXPECT_EQ(runs, (std::vector<std::int64_t>{0, 3'600'000, 3'600'000}));
}

TEST_F(ManualTimer, CloseFromInsideTheCallbackEndsTheRunWithoutRearming) {
    Log();
    tpp_timer* const self = timer.get();
    bool set_after_close = true;
    timer->connect(
        [&, self](core::error_e) {
            self->close();
            set_after_close = self->is_set();
        },
        0);
    timer->start(20);
    EXPECT_EQ(clock.Advance(1000ms), 1);
    EXPECT_FALSE(set_after_close);
    EXPECT_FALSE(timer->is_set());
    EXPECT_EQ(clock.Armed(), 0u);
}

TEST_F(ManualTimer, SlotsRunInConnectionOrderOnceSlotsOnceAndAThrowingSlotStopsNothing) {
    std::string order;
    const auto note = [&](char c) {
        return [&, c](core::error_e code) { order += code == core::error_e::success ? c : '?'; };
    };
    timer->connect(note('a'), 0);
    timer->connect_once(note('b'), 0);
    timer->connect([](core::error_e) { throw std::runtime_error("callback failed"); }, 0);
    timer->connect(note('c'), 0);
    timer->start(20);
    EXPECT_EQ(clock.Advance(60ms), 3);
    EXPECT_EQ(order, "abcacac");
}

TEST_F(ManualTimer, StartFailsVisiblyWhenEverySlotIsTaken) {
    const std::size_t registered_before = tpp_registry::instance().size();
    std::vector<std::shared_ptr<tpp_timer>> started;
    std::shared_ptr<tpp_timer> refused;
    while (!refused && started.size() <= tpp_registry::kSlots) {
        auto another = thread_pool::instance().create_timer(clock);
        another->start(3'600'000);
        if (another->is_set()) {
            started.push_back(std::move(another));
        } else {
            refused = std::move(another);
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

// The operating system's timers: expiries come on pool threads, no earlier than due.
TEST(SystemTimer, RunsOnPoolThreadsAPeriodAfterStartAndAfterEachRun) {
    constexpr auto kPeriod = 30ms;
    event_log log;
    auto timer = logged_timer(log);
    const auto started = steady::now();
    timer->start(kPeriod.count());
    ASSERT_TRUE(log.wait_for(3));
    timer->close();
    EXPECT_FALSE(timer->is_set());

    const auto runs = log.events();
    EXPECT_GE(runs[0].at - started, kPeriod - kEarly);
    for (std::size_t i = 1; i < runs.size(); ++i) {
        EXPECT_GE(runs[i].at - runs[i - 1].at, kPeriod - kEarly) << "run " << i;
    }
    for (const auto& run : runs) {
        EXPECT_NE(run.thread, std::this_thread::get_id());
    }
}

// The pool keeps no thread waiting while one timer's callback runs and nothing else is queued;
// a timer started meanwhile must still find a thread.
TEST(SystemTimer, ATimerStartedWhileAnotherCallbackIsBlockedStillRuns) {
    event_log entered;
    event_log release;
    auto blocked = thread_pool::instance().create_timer();
    blocked->connect(
        [&](core::error_e) {
            entered.add();
            release.wait_for(1);
        },
        0);
    blocked->start(0);
    ASSERT_TRUE(entered.wait_for(1));

    event_log ran;
    auto other = logged_timer(ran);
    other->start(0);
    EXPECT_TRUE(ran.wait_for(1));
    release.add();
    other->close();
    blocked->close();
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

TEST(WorkerReferenceCount, ReleasingAWorkerWithNoReferenceLeftThrows) {
    struct counted_worker : tpp_worker {
        using tpp_worker::release;
    } worker;
    EXPECT_EQ(worker.release(), 0u);
    EXPECT_THROW(worker.release(), std::exception);
}

}  // namespace
}  // namespace win32
