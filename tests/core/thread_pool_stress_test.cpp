// Many timers started, closed and dropped from several threads while their callbacks run, some
// of which close, restart or drop their own timer. Meant for the sanitizer and Wine builds.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "core/thread_pool.h"
#include "core/thread_pool_registry.h"

namespace win32 {
namespace {

using namespace std::chrono_literals;

constexpr int kThreads = 4;
// Long enough for thousands of starts, closes and drops, short enough for four workflows.
constexpr auto kStressTime = 500ms;
// Timers kept alive and shared between the threads at any moment.
constexpr std::size_t kTimersInPlay = 24;

struct stress_counters {
    std::atomic<int> runs{0};
    std::atomic<int> runs_after_close{0};
    // Callback lists alive: each one goes with its timer.
    std::atomic<int> live_callback_lists{0};
};

// Counts itself in live_callback_lists for as long as the callback that holds it exists.
struct life_token {
    explicit life_token(stress_counters& c) : counters(c) { ++counters.live_callback_lists; }
    ~life_token() { --counters.live_callback_lists; }
    stress_counters& counters;
};

// Where a thread leaves a timer for its own callback to drop; the callback breaks the cycle.
struct handoff {
    std::mutex mutex;
    std::shared_ptr<tpp_timer> timer;

    void drop() {
        std::shared_ptr<tpp_timer> last;  // released after the mutex
        std::lock_guard lock(mutex);
        last = std::move(timer);
    }
};

struct entry {
    std::shared_ptr<tpp_timer> timer;
    std::shared_ptr<std::atomic<bool>> closed;  // set once an outside close() has returned
    std::shared_ptr<handoff> to_callback;
    bool periodic = false;
};

class stress_run {
public:
    void act(std::mt19937& rng) {
        const int action = std::uniform_int_distribution<int>(0, 6)(rng);
        if (action == 0 || in_play() < kTimersInPlay) {
            put(make(rng));
            return;
        }
        std::optional<entry> e = take(rng);
        if (!e) {
            return;
        }
        switch (action) {
            case 1:
                e->timer->cancel();
                e->timer->close();
                *e->closed = true;
                put(std::move(*e));  // for another thread to drop
                break;
            case 2:
                if (!*e->closed) {
                    e->timer->start(0);
                    put(std::move(*e));
                }
                break;
            case 3:
                if (e->periodic && !*e->closed) {
                    std::lock_guard lock(e->to_callback->mutex);
                    e->to_callback->timer = std::move(e->timer);
                }
                break;
            case 4:
                e->timer->connect([this](core::error_e) { ++counters.runs; }, 1);
                put(std::move(*e));
                break;
            default:
                break;  // dropped while it may be firing
        }
    }

    // Drops every timer still held, including those left for callbacks that never came.
    void finish() {
        std::vector<entry> left;
        std::vector<std::shared_ptr<handoff>> handoffs;
        {
            std::lock_guard lock(mutex_);
            left.swap(entries_);
            handoffs.swap(handoffs_);
        }
        left.clear();
        for (const auto& h : handoffs) {
            h->drop();
        }
    }

    stress_counters counters;

private:
    entry make(std::mt19937& rng) {
        entry e{thread_pool::instance().create_timer(), std::make_shared<std::atomic<bool>>(false),
                std::make_shared<handoff>(), std::uniform_int_distribution<int>(0, 2)(rng) != 0};
        const int behaviour = std::uniform_int_distribution<int>(0, 3)(rng);
        tpp_timer* const self = e.timer.get();  // valid in the callback: a run holds its timer
        auto token = std::make_shared<life_token>(counters);
        e.timer->connect(
            [this, self, behaviour, token, closed = e.closed, to_callback = e.to_callback,
             remaining = 3](core::error_e) mutable {
                ++counters.runs;
                if (*closed) {
                    ++counters.runs_after_close;
                }
                to_callback->drop();
                if (behaviour == 1) {
                    std::this_thread::sleep_for(1ms);
                } else if (behaviour == 2 && --remaining == 0) {
                    self->close();
                } else if (behaviour == 3 && remaining-- > 0 && self->period() == 0) {
                    self->start(0);
                }
            },
            0);
        e.timer->start(e.periodic ? std::uniform_int_distribution<int>(1, 3)(rng) : 0);
        std::lock_guard lock(mutex_);
        handoffs_.push_back(e.to_callback);
        return e;
    }

    void put(entry e) {
        std::lock_guard lock(mutex_);
        entries_.push_back(std::move(e));
    }

    std::size_t in_play() {
        std::lock_guard lock(mutex_);
        return entries_.size();
    }

    std::optional<entry> take(std::mt19937& rng) {
        std::lock_guard lock(mutex_);
        if (entries_.empty()) {
            return std::nullopt;
        }
        const auto pick = std::uniform_int_distribution<std::size_t>(0, entries_.size() - 1)(rng);
        std::swap(entries_[pick], entries_.back());
        entry e = std::move(entries_.back());
        entries_.pop_back();
        return e;
    }

    std::mutex mutex_;
    std::vector<entry> entries_;
    std::vector<std::shared_ptr<handoff>> handoffs_;
};

TEST(TimerStress, TimersStartedClosedAndDroppedFromSeveralThreadsWhileTheyFire) {
    const std::size_t registered_before = tpp_registry::instance().size();
    stress_run run;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&run, t] {
            std::mt19937 rng(static_cast<unsigned>(t) + 1);
            const auto end = std::chrono::steady_clock::now() + kStressTime;
            while (std::chrono::steady_clock::now() < end) {
                run.act(rng);
                // Mostly back to back; now and then a pause lets pending expiries fire.
                if (rng() % 4 == 0) {
                    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 1000));
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    run.finish();

    // Timers dropped inside their callbacks finish going on pool threads.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while ((run.counters.live_callback_lists != 0 ||
            tpp_registry::instance().size() != registered_before) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(run.counters.live_callback_lists, 0);
    EXPECT_EQ(tpp_registry::instance().size(), registered_before);
    EXPECT_EQ(run.counters.runs_after_close, 0);
    EXPECT_GT(run.counters.runs, 100);
}

}  // namespace
}  // namespace win32
