// Totals of the benchmark binary's counted operator new.
//
// Every thread counts into its own counter, written by that thread alone with a plain load and
// store: a locked add per allocation would cost the benchmarked path as much as a short function
// and be reported as the plug-in's time. A total sums the counters of the threads alive and what
// the ended threads counted.
#include "allocation_counter.h"

#include <atomic>
#include <mutex>

#include "support/counted_operator_new.h"

namespace {

struct ThreadCounter {
    std::atomic<std::size_t> blocks{0};
    ThreadCounter* next = nullptr;
    ThreadCounter* previous = nullptr;
};

struct Counters {
    std::mutex mutex;
    ThreadCounter* alive = nullptr;
    std::atomic<std::size_t> ended{0};
};

// Ready before anything allocates, with nothing to tear down: threads may still allocate while
// the program's statics are destroyed.
constinit Counters g_counters;

Counters& counters() {
    return g_counters;
}

enum class ThreadState { kUnlisted, kListing, kListed, kEnded };

thread_local ThreadCounter t_counter;
thread_local ThreadState t_state = ThreadState::kUnlisted;

// Folds the thread's counter into the ended total and unlinks it when the thread ends.
struct ThreadEnd {
    ~ThreadEnd() {
        Counters& all = counters();
        std::lock_guard lock(all.mutex);
        all.ended.fetch_add(t_counter.blocks.load(std::memory_order_relaxed),
                            std::memory_order_relaxed);
        (t_counter.previous != nullptr ? t_counter.previous->next : all.alive) = t_counter.next;
        if (t_counter.next != nullptr) {
            t_counter.next->previous = t_counter.previous;
        }
        t_state = ThreadState::kEnded;
    }
};
thread_local ThreadEnd t_end;

// Links the thread's counter on its first allocation. Setting up the thread's end may itself
// allocate; that allocation, and any after the thread's end, is counted with a locked add.
void ListThisThread() {
    t_state = ThreadState::kListing;
    static_cast<void>(&t_end);
    Counters& all = counters();
    std::lock_guard lock(all.mutex);
    t_counter.next = all.alive;
    if (all.alive != nullptr) {
        all.alive->previous = &t_counter;
    }
    all.alive = &t_counter;
    t_state = ThreadState::kListed;
}

}  // namespace

void test::CountAllocation(std::size_t) {
    if (t_state != ThreadState::kListed) {
        if (t_state != ThreadState::kUnlisted) {
            counters().ended.fetch_add(1, std::memory_order_relaxed);
            return;
        }
        ListThisThread();
    }
    t_counter.blocks.store(t_counter.blocks.load(std::memory_order_relaxed) + 1,
                           std::memory_order_relaxed);
}

namespace bench {

AllocationTotals AllocationsSoFar() {
    Counters& all = counters();
    std::lock_guard lock(all.mutex);
    std::size_t blocks = all.ended.load(std::memory_order_relaxed);
    for (const ThreadCounter* counter = all.alive; counter != nullptr; counter = counter->next) {
        blocks += counter->blocks.load(std::memory_order_relaxed);
    }
    return {blocks};
}

AllocationTotals ThisThreadAllocations() {
    return {t_counter.blocks.load(std::memory_order_relaxed)};
}

}  // namespace bench
