// The timer worker (start, re-arm after each run, close), the process's pool, and the one
// function through which every OS expiry reaches its timer.
#include <exception>

#include "core/boundary.h"
#include "core/thread_pool.h"
#include "core/thread_pool_os.h"
#include "core/thread_pool_registry.h"

namespace win32 {
namespace {

// The expiry this thread is running, if any.
struct running_expiry {
    const tpp_pooler* pooler = nullptr;
    os::callback_instance* instance = nullptr;
};
thread_local running_expiry current_expiry;

// Marks, for as long as it lives, the expiry this thread runs.
class expiry_scope {
public:
    expiry_scope(const tpp_pooler* pooler, os::callback_instance* instance)
        : outer_(current_expiry) {
        current_expiry = {pooler, instance};
    }
    ~expiry_scope() { current_expiry = outer_; }
    expiry_scope(const expiry_scope&) = delete;
    expiry_scope& operator=(const expiry_scope&) = delete;

private:
    const running_expiry outer_;
};

// Runs when the last reference to an OS timer goes: closes it, then frees the worker's id.
struct os_timer_closer {
    std::shared_ptr<tpp_pooler> pooler;
    std::uint32_t id = 0;

    void operator()(os::timer* os_timer) const {
        // Closing inside the timer's own callback (its last owner let go during the run): the
        // wait below must not wait for the very callback that is closing.
        if (current_expiry.pooler == pooler.get()) {
            os::disassociate_current_thread(current_expiry.instance);
        }
        os::close_timer(os_timer);
        tpp_registry::instance().remove(id);
    }
};

class tpp_timer_impl final : public tpp_timer {
public:
    ~tpp_timer_impl() override {
        // A callback run holds a strong reference, so none holds the mutex now and closing may
        // wait for runs that have not reached the mutex yet.
        os_timer_.reset();
    }

    void on_callback(core::error_e code) override {
        std::shared_ptr<os::timer> closed_during_run;  // dropped after the mutex is released
        std::lock_guard lock(mutex_);
        // Closed while this run waited for the mutex: nothing runs after a close.
        if (!os_timer_) {
            return;
        }
        in_callback_ = true;
        call_callbacks(code);
        in_callback_ = false;
        if (period_ms_ > 0 && os_timer_) {
            arm(std::chrono::system_clock::now());
        }
        closed_during_run = std::move(closed_in_callback_);
    }

    void close() override {
        std::shared_ptr<os::timer> closing;  // dropped after the mutex is released
        std::lock_guard lock(mutex_);
        if (!os_timer_) {
            return;
        }
        // Closing waits for runs in flight, which may be waiting for this mutex; inside a run the
        // mutex stays held until the run ends, so the run drops the OS timer itself after that.
        if (in_callback_) {
            closed_in_callback_ = std::move(os_timer_);
            return;
        }
        closing = std::move(os_timer_);
    }

    void start_at(std::chrono::system_clock::time_point now, std::int64_t period_ms) override {
        std::lock_guard lock(mutex_);
        if (period_ms_ > 0) {
            return;
        }
        if (!os_timer_ && !open_os_timer()) {
            return;
        }
        period_ms_ = period_ms;
        arm(now);
    }

    void start(std::int64_t period_ms) override {
        start_at(std::chrono::system_clock::now(), period_ms);
    }

    void cancel() override {}

    bool is_set() override {
        std::lock_guard lock(mutex_);
        return os_timer_ && os::is_timer_set(os_timer_.get());
    }

    std::int64_t period() override {
        std::lock_guard lock(mutex_);
        return period_ms_;
    }

private:
    // The OS timer is never periodic: each arm is one expiry.
    void arm(std::chrono::system_clock::time_point from) {
        os::arm_timer(os_timer_.get(), from + std::chrono::milliseconds(period_ms_));
    }

    // Registers this worker and creates its OS timer; false when the registry is full or the OS
    // refuses, and then nothing is left behind.
    bool open_os_timer() {
        auto pooler = std::make_shared<tpp_pooler>(weak_from_this());
        const std::uint32_t id = tpp_registry::instance().add(pooler);
        if (id == 0) {
            return false;
        }
        id_ = id;
        os::timer* const created = os::create_timer(&id_);
        if (created == nullptr) {
            tpp_registry::instance().remove(id);
            return false;
        }
        os_timer_ = std::shared_ptr<os::timer>(created, os_timer_closer{std::move(pooler), id});
        return true;
    }

    // Recursive: a callback runs under it and may start or close its own timer.
    std::recursive_mutex mutex_;
    std::shared_ptr<os::timer> os_timer_;
    std::shared_ptr<os::timer> closed_in_callback_;
    bool in_callback_ = false;
    std::int64_t period_ms_ = 0;
    // Its address is the OS timer's context.
    std::uint32_t id_ = 0;
};

}  // namespace

thread_pool& thread_pool::instance() {
    static thread_pool pool;
    return pool;
}

std::shared_ptr<tpp_timer> thread_pool::create_timer() {
    return std::shared_ptr<tpp_timer>(new tpp_timer_impl, release_worker);
}

void detail::on_timer_expired(void* context, os::callback_instance* instance) noexcept {
    // Nothing may unwind into the OS pool.
    core::at_boundary(L"tpp_timer::on_timer_expired", [&] {
        const std::uint32_t id = *static_cast<const std::uint32_t*>(context);
        const std::shared_ptr<tpp_pooler> pooler = tpp_registry::instance().find(id);
        if (!pooler || pooler->worker.expired()) {
            return;
        }
        const expiry_scope scope(pooler.get(), instance);
        // The strong reference keeps the worker through the run. If its owners let go meanwhile
        // it is destroyed right here, while the scope still tells the closer which run it is.
        if (const std::shared_ptr<tpp_worker> worker = pooler->worker.lock()) {
            worker->on_callback(core::error_e::success);
        }
    });
}

}  // namespace win32
