// Timers on the operating system's thread pool, wrapped in reference-counted workers whose
// callbacks are std::function values. Callbacks run on pool threads, never on the thread that
// starts or closes a timer; one timer's callbacks run under that timer's own recursive mutex.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>

#include "core/error.h"
#include "core/timer_source.h"

namespace win32 {

using tpp_callback = std::function<void(core::error_e)>;

class tpp_worker;

// Deleter of every worker the pool hands out: drops the worker's own reference and destroys it
// at zero. Throws std::exception "invalid reference count" if none was left (see the definition).
void release_worker(tpp_worker* worker);

// Base of the pool's workers: a list of callbacks called, in connection order, on each event.
class tpp_worker : public std::enable_shared_from_this<tpp_worker> {
public:
    tpp_worker(const tpp_worker&) = delete;
    tpp_worker& operator=(const tpp_worker&) = delete;
    virtual ~tpp_worker();

    // Runs on a pool thread for each event; the default calls the callback list.
    virtual void on_callback(core::error_e code);
    // Stops the worker's OS object; the base has none.
    virtual void close();

    // Appends a callback. The group is kept with it and not otherwise used.
    void connect(tpp_callback callback, std::int32_t group);
    // Appends a callback that is disconnected after its first call.
    void connect_once(tpp_callback callback, std::int32_t group);

protected:
    tpp_worker() = default;

    // Calls every connected callback in order, then removes the disconnected ones. A callback
    // that throws is skipped over: the others still run and a periodic timer keeps going.
    void call_callbacks(core::error_e code);

    // Drops one of the worker's own references; returns how many are left.
    std::uint32_t release();

private:
    friend void release_worker(tpp_worker* worker);

    struct slot {
        tpp_callback callback;
        bool disconnected = false;
        std::int32_t group = 0;
        bool once = false;
    };

    void append(tpp_callback callback, std::int32_t group, bool once);

    // Recursive: a callback may connect further callbacks to its own worker.
    std::recursive_mutex callbacks_mutex_;
    std::list<slot> callbacks_;
    std::atomic<std::uint32_t> references_{1};
};

// A one-shot OS timer re-armed after each callback run while a positive period is in force, so
// the period runs from the end of one run to the start of the next.
class tpp_timer : public tpp_worker {
public:
    // Arms the timer for `now` + `period_ms`. Does nothing while a positive period is in force
    // (a running timer is neither restarted nor changed). A period of 0 fires once, after which
    // the timer can be started again. If the process already has the maximum number of started
    // timers, the timer stays unarmed: is_set() is false and a later start may try again.
    virtual void start_at(std::chrono::system_clock::time_point now, std::int64_t period_ms) = 0;
    // start_at with the source's current time.
    virtual void start(std::int64_t period_ms) = 0;
    // Does nothing for a timer: close is what stops it.
    virtual void cancel() = 0;
    // True when the timer's alarm exists and its source reports it armed: false before the first
    // start and after close. After a period-0 expiry the answer is the source's.
    virtual bool is_set() = 0;
    // The period given to the last effective start; 0 before the first.
    virtual std::int64_t period() = 0;
};

// The process's pool: it only makes workers.
class thread_pool {
public:
    static thread_pool& instance();

    // A new, stopped timer whose time and alarms come from `source` (by default the process's
    // default OS pool and the system clock; a test hands in a clock it moves by hand, which
    // must outlive the timer). close() (from any thread, also from inside its own callback)
    // stops it: from another thread it returns after a running callback has returned, and no
    // callback starts once it has returned. Dropping the last reference closes it the same way,
    // on whichever thread drops it.
    std::shared_ptr<tpp_timer> create_timer(timer_source& source = timer_source::system());

    // Ends the threads the pool started itself (where the system has no pool to lend), after
    // their running callbacks return; a timer armed later starts them again. The module's unload
    // calls it, so that no thread of the plug-in outlives the module.
    static void end_threads();

private:
    thread_pool() = default;
};

}  // namespace win32
