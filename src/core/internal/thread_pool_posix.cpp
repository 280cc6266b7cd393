// Timer service for systems without the Windows thread pool: one-shot timers kept in due-time
// order and fired by a small pool of our own threads, which the module's unload ends. One
// thread at a time keeps time (sleeps until the next due time); the others sleep until they are
// needed, so an idle plug-in's periodic timer wakes one thread once per period.
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/internal/thread_pool_os.h"
#include "core/thread_name.h"

namespace win32 {
namespace os {
struct timer;
}

struct expiry_instance {
    os::timer* owner = nullptr;
    bool associated = true;
};

namespace os {

using steady = std::chrono::steady_clock;

struct timer {
    explicit timer(void* expiry_context) : context(expiry_context) {}

    void* const context;
    bool armed = false;
    std::multimap<steady::time_point, timer*>::iterator queued;
    // Callbacks of this timer that are running and that closing must wait for.
    int running = 0;
};

namespace {

// Set on a pool thread while it runs a callback: it looks at the queue again when the callback
// returns, so a timer the callback arms (a periodic timer re-arms after each run) needs no
// other thread woken.
thread_local bool t_in_callback = false;

class timer_service {
public:
    static timer_service& instance() {
        // Never destroyed: its threads are joined by end_threads, called when the module
        // unloads, never from a static destructor (a join there can deadlock at exit).
        static timer_service* const service = new timer_service;
        return *service;
    }

    timer* create(void* context) {
        std::lock_guard lock(mutex_);
        if (threads_ == 0 && !ending_) {
            start_thread();
        }
        return threads_ == 0 ? nullptr : new timer(context);
    }

    void arm(timer* os_timer, steady::time_point due) {
        std::lock_guard lock(mutex_);
        if (os_timer->armed) {
            queue_.erase(os_timer->queued);
        }
        os_timer->queued = queue_.emplace(due, os_timer);
        os_timer->armed = true;
        if (os_timer->queued != queue_.begin()) {
            return;
        }
        if (keeper_) {
            due_changed_.notify_one();
        } else if (!t_in_callback) {
            wake_spare();
        }
    }

    bool is_set(timer* os_timer) {
        std::lock_guard lock(mutex_);
        return os_timer->armed;
    }

    void disassociate(expiry_instance* instance) {
        std::lock_guard lock(mutex_);
        if (instance->associated) {
            instance->associated = false;
            end_callback(instance->owner);
        }
    }

    // Wakes every thread, lets running callbacks finish and joins them. Timers stay queued; the
    // next create starts a thread again.
    void end_threads() {
        std::vector<std::thread> ending;
        {
            std::lock_guard lock(mutex_);
            ending.swap(pool_);
            ending_ = true;
            due_changed_.notify_all();
            spare_.notify_all();
        }
        for (auto& thread : ending) {
            thread.join();
        }
        std::lock_guard lock(mutex_);
        ending_ = false;
        keeper_ = false;
        threads_ = 0;
        idle_ = 0;
    }

    void close(timer* os_timer) {
        {
            std::unique_lock lock(mutex_);
            if (os_timer->armed) {
                queue_.erase(os_timer->queued);
                os_timer->armed = false;
            }
            callback_ended_.wait(lock, [os_timer] { return os_timer->running == 0; });
        }
        delete os_timer;
    }

private:
    // Enough threads that a few slow callbacks do not hold up every other timer.
    static constexpr std::size_t kMaxThreads = 8;

    timer_service() = default;

    // Called with the mutex held.
    void start_thread() {
        try {
            pool_.emplace_back([this] { run(); });
            ++threads_;
        } catch (const std::system_error&) {
            // Out of threads: the ones already running keep serving.
        }
    }

    // Called with the mutex held, when no thread keeps time: an idle thread takes over, or a new
    // one when every thread is running a callback (but none once the threads are ending: it
    // would be left out of the join).
    void wake_spare() {
        if (idle_ == 0 && threads_ < kMaxThreads && !ending_) {
            start_thread();
        } else {
            spare_.notify_one();
        }
    }

    // Called with the mutex held.
    void end_callback(timer* os_timer) {
        if (--os_timer->running == 0) {
            callback_ended_.notify_all();
        }
    }

    void run() {
        core::name_this_thread("kinetra-timer");
        std::unique_lock lock(mutex_);
        for (;;) {
            ++idle_;
            bool keeping = false;
            while (queue_.empty() || queue_.begin()->first > steady::now()) {
                if (ending_) {
                    return;
                }
                if (keeper_ && !keeping) {
                    spare_.wait(lock);
                    continue;
                }
                keeper_ = keeping = true;
                if (queue_.empty()) {
                    due_changed_.wait(lock);
                } else {
                    const steady::time_point next = queue_.begin()->first;
                    due_changed_.wait_until(lock, next);
                }
            }
            if (keeping) {
                keeper_ = false;
            }
            --idle_;
            timer* const expired = queue_.begin()->second;
            queue_.erase(queue_.begin());
            expired->armed = false;
            ++expired->running;
            // Keep one thread waiting for the next expiry while this one runs a callback. With
            // nothing else queued, none is needed: a periodic timer re-arms from this thread
            // when its run ends, and an arm from elsewhere meanwhile wakes or starts one.
            if (!queue_.empty()) {
                wake_spare();
            }
            expiry_instance instance{expired};
            void* const context = expired->context;
            lock.unlock();
            t_in_callback = true;
            detail::on_timer_expired(context, &instance);
            t_in_callback = false;
            lock.lock();
            // A disassociated callback may have freed its timer by closing it.
            if (instance.associated) {
                end_callback(expired);
            }
        }
    }

    std::mutex mutex_;
    // The time keeper waits on due_changed_, every other idle thread on spare_.
    std::condition_variable due_changed_;
    std::condition_variable spare_;
    std::condition_variable callback_ended_;
    std::multimap<steady::time_point, timer*> queue_;
    std::vector<std::thread> pool_;
    std::size_t threads_ = 0;
    std::size_t idle_ = 0;
    bool keeper_ = false;
    bool ending_ = false;
};

}  // namespace

timer* create_timer(void* context) {
    return timer_service::instance().create(context);
}

void arm_timer(timer* os_timer, std::chrono::system_clock::time_point due) {
    // Due times are given in system time; waiting on the steady clock ignores clock changes.
    const auto delay = due - std::chrono::system_clock::now();
    timer_service::instance().arm(
        os_timer, steady::now() + std::chrono::duration_cast<steady::duration>(delay));
}

bool is_timer_set(timer* os_timer) {
    return timer_service::instance().is_set(os_timer);
}

void disassociate_current_thread(expiry_instance* instance) {
    timer_service::instance().disassociate(instance);
}

void close_timer(timer* os_timer) {
    timer_service::instance().close(os_timer);
}

void end_threads() {
    timer_service::instance().end_threads();
}

}  // namespace os
}  // namespace win32
