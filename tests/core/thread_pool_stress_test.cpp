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

#include "core/internal/thread_pool_registry.h"
#include "core/thread_pool.h"

namespace win32 {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kThreads = 4;
// Long enough for thousands of starts, closes and drops, short enough for four workflows.
constexpr auto kStressTime = 500ms;
// Timers kept alive and shared between the threads at any moment.
constexpr std::size_t kTimersInPlay = 24;

// What a timer's callback shares with the threads: the timer, when a thread leaves it for the
// callback to drop (the callback breaks the cycle), and whether an outside close() returned.
struct shared_state {
    std::mutex mutex;
    std::shared_ptr<tpp_timer> timer;
    std::atomic<bool> closed{false};

    void drop() {
        std::shared_ptr<tpp_timer> last;  // released after the mutex
        std::lock_guard lock(mutex);
        last = std::move(timer);
    }
};

struct entry {
    std::shared_ptr<tpp_timer> timer;
    std::shared_ptr<shared_state> state;
    bool periodic = false;
};

class stress_run {
public:
    void act(std::mt19937& rng) {
        const auto action = rng() % 7;
        std::optional<entry> e;
        {
            std::lock_guard lock(mutex_);
            if (action != 0 && entries_.size() >= kTimersInPlay) {
                std::swap(entries_[rng() % entries_.size()], entries_.back());
                e = std::move(entries_.back());
                entries_.pop_back();
            }
        }
        if (!e) {
            put(make(rng));
            return;
        }
        switch (action) {
            case 1:
                e->timer->cancel();
                e->timer->close();
                e->state->closed = true;
                return put(std::move(*e));  // for another thread to drop
            case 2:
                if (!e->state->closed) {
                    e->timer->start(0);
                    put(std::move(*e));
                }
                return;
            case 3:
                if (e->periodic && !e->state->closed) {
                    std::lock_guard lock(e->state->mutex);
                    e->state->timer = std::move(e->timer);
                }
                return;
            case 4:
                e->timer->connect([this](core::error_e) { ++runs; }, 1);
                return put(std::move(*e));
            default:
                return;  // dropped while it may be firing
        }
    }

    // Drops every timer still held, including those left for callbacks that never came.
    void finish() {
        std::lock_guard lock(mutex_);
        entries_.clear();
        for (const auto& state : states_) {
            state->drop();
        }
    }

    std::atomic<int> runs{0};
    std::atomic<int> runs_after_close{0};
    // Held by every callback: its use count tells how many callback lists are still alive.
    const std::shared_ptr<int> life_token = std::make_shared<int>();

private:
    entry make(std::mt19937& rng) {
        entry e{thread_pool::instance().create_timer(), std::make_shared<shared_state>(),
                rng() % 3 != 0};
        const auto behaviour = rng() % 4;
        tpp_timer* const self = e.timer.get();  // valid in the callback: a run holds its timer
        e.timer->connect(
            [this, self, behaviour, token = life_token, state = e.state,
             remaining = 3](core::error_e) mutable {
                ++runs;
                runs_after_close += state->closed;
                state->drop();
                if (behaviour == 1) {
                    std::this_thread::sleep_for(1ms);
                } else if (behaviour == 2 && --remaining == 0) {
                    self->close();
                } else if (behaviour == 3 && remaining-- > 0 && self->period() == 0) {
                    self->start(0);
                }
            },
            0);
        e.timer->start(e.periodic ? 1 + rng() % 3 : 0);
        std::lock_guard lock(mutex_);
        states_.push_back(e.state);
        return e;
    }

    void put(entry e) {
        std::lock_guard lock(mutex_);
        entries_.push_back(std::move(e));
    }

    std::mutex mutex_;
    std::vector<entry> entries_;
    std::vector<std::shared_ptr<shared_state>> states_;
};

TEST(TimerStress, TimersStartedClosedAndDroppedFromSeveralThreadsWhileTheyFire) {
    const std::size_t registered_before = tpp_registry::instance().size();
    stress_run run;
    std::vector<std::thread> threads;
    for (unsigned t = 1; t <= kThreads; ++t) {
        threads.emplace_back([&run, t] {
            std::mt19937 rng(t);
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
    while (
        (run.life_token.use_count() != 1 || tpp_registry::instance().size() != registered_before) &&
        std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(run.life_token.use_count(), 1) << "callback lists still alive";
    EXPECT_EQ(tpp_registry::instance().size(), registered_before);
    EXPECT_EQ(run.runs_after_close, 0);
    EXPECT_GT(run.runs, 100);
}

}  // namespace
}  // namespace win32
