// The timer worker (start, re-arm after each run, close), the process's pool, and the one
// function through which every expiry reaches its timer.
#include <exception>

#include "core/boundary.h"
#include "core/internal/thread_pool_os.h"
#include "core/internal/thread_pool_registry.h"
#include "core/logger.h"
#include "core/thread_pool.h"

namespace win32 {
namespace {

// The expiry this thread is running, if any.
struct running_expiry {
    const tpp_pooler* pooler = nullptr;
    expiry_instance* instance = nullptr;
};
thread_local running_expiry current_expiry;

// Marks, for as long as it lives, the expiry this thread runs.
class expiry_scope {
public:
    expiry_scope(const tpp_pooler* pooler, expiry_instance* instance) : outer_(current_expiry) {
        current_expiry = {pooler, instance};
    }
    ~expiry_scope() { current_expiry = outer_; }
    expiry_scope(const expiry_scope&) = delete;
    expiry_scope& operator=(const expiry_scope&) = delete;

private:
    const running_expiry outer_;
};

// Runs when the last reference to an alarm goes: closes it, then frees the worker's id.
struct alarm_closer {
    timer_source* source = nullptr;
    std::shared_ptr<tpp_pooler> pooler;
    std::uint32_t id = 0;

    void operator()(timer_alarm* alarm) const {
        // Closing inside the timer's own callback (its last owner let go during the run): the
        // wait below must not wait for the very callback that is closing.
        if (current_expiry.pooler == pooler.get()) {
            source->release_current(current_expiry.instance);
        }
        delete alarm;
        tpp_registry::instance().remove(id);
    }
};

class tpp_timer_impl final : public tpp_timer {
public:
    explicit tpp_timer_impl(timer_source& source) : source_(source) {}

    ~tpp_timer_impl() override {
        // A callback run holds a strong reference, so none holds the mutex now and closing may
        // wait for runs that have not reached the mutex yet.
        alarm_.reset();
    }

    void on_callback(core::error_e code) override {
        std::shared_ptr<timer_alarm> closed_during_run;  // dropped after the mutex is released
        std::lock_guard lock(mutex_);
        // Closed while this run waited for the mutex: nothing runs after a close.
        if (!alarm_) {
            return;
        }
        in_callback_ = true;
        call_callbacks(code);
        in_callback_ = false;
        if (period_ms_ > 0 && alarm_) {
            arm(source_.now());
        }
        closed_during_run = std::move(alarm_closed_in_callback_);
    }

    void close() override {
        std::shared_ptr<timer_alarm> closing;  // dropped after the mutex is released
        std::lock_guard lock(mutex_);
        if (!alarm_) {
            return;
        }
        // Closing waits for runs in flight, which may be waiting for this mutex; inside a run the
        // mutex stays held until the run ends, so the run drops the alarm itself after that.
        if (in_callback_) {
            alarm_closed_in_callback_ = std::move(alarm_);
            return;
        }
        closing = std::move(alarm_);
    }

    void start_at(std::chrono::system_clock::time_point now, std::int64_t period_ms) override {
        std::lock_guard lock(mutex_);
        if (period_ms_ > 0) {
            return;
        }
        if (!alarm_ && !open_alarm()) {
            return;
        }
        period_ms_ = period_ms;
        arm(now);
    }

    void start(std::int64_t period_ms) override { start_at(source_.now(), period_ms); }

    void cancel() override {}

    bool is_set() override {
        std::lock_guard lock(mutex_);
        return alarm_ && alarm_->is_set();
    }

    std::int64_t period() override {
        std::lock_guard lock(mutex_);
        return period_ms_;
    }

private:
    // The alarm is never periodic: each arm is one expiry.
    void arm(std::chrono::system_clock::time_point from) {
        alarm_->arm(from + std::chrono::milliseconds(period_ms_));
    }

    // Registers this worker and creates its alarm; false when the registry is full or the source
    // refuses, and then nothing is left behind.
    bool open_alarm() {
        auto pooler = std::make_shared<tpp_pooler>(weak_from_this());
        const std::uint32_t id = tpp_registry::instance().add(pooler);
        if (id == 0) {
            return false;
        }
        id_ = id;
        std::unique_ptr<timer_alarm> created = source_.create_alarm(&id_);
        if (!created) {
            tpp_registry::instance().remove(id);
            return false;
        }
        alarm_ = std::shared_ptr<timer_alarm>(created.release(),
                                              alarm_closer{&source_, std::move(pooler), id});
        return true;
    }

    timer_source& source_;
    // Recursive: a callback runs under it and may start or close its own timer.
    std::recursive_mutex mutex_;
    std::shared_ptr<timer_alarm> alarm_;
    std::shared_ptr<timer_alarm> alarm_closed_in_callback_;
    bool in_callback_ = false;
    std::int64_t period_ms_ = 0;
    // Its address is the alarm's context.
    std::uint32_t id_ = 0;
};

}  // namespace

thread_pool& thread_pool::instance() {
    static thread_pool pool;
    return pool;
}

void thread_pool::end_threads() {
    os::end_threads();
}

std::shared_ptr<tpp_timer> thread_pool::create_timer(timer_source& source) {
    return std::shared_ptr<tpp_timer>(new tpp_timer_impl(source), release_worker);
}

void timer_source::expire(void* context, expiry_instance* instance) noexcept {
    // Nothing may unwind into the OS pool or the source.
    core::at_boundary(L"tpp_timer::on_timer_expired", [&] {
        const std::uint32_t id = *static_cast<const std::uint32_t*>(context);
        const std::shared_ptr<tpp_pooler> pooler = tpp_registry::instance().find(id);
        if (!pooler || pooler->worker.expired()) {
            return;
        }
        const expiry_scope scope(pooler.get(), instance);
        // A run that logs several lines wakes the log writer once, after the run.
        const core::log_wake_scope log_wake;
        // The strong reference keeps the worker through the run. If its owners let go meanwhile
        // it is destroyed right here, while the scope still tells the closer which run it is.
        if (const std::shared_ptr<tpp_worker> worker = pooler->worker.lock()) {
            worker->on_callback(core::error_e::success);
        }
    });
}

}  // namespace win32
