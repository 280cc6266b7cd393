// The default timer source: the platform's timer service behind internal/thread_pool_os.h and
// the system clock.
#include "core/internal/thread_pool_os.h"
#include "core/timer_source.h"

namespace win32 {
namespace {

class os_alarm final : public timer_alarm {
public:
    explicit os_alarm(os::timer* os_timer) : timer_(os_timer) {}
    ~os_alarm() override { os::close_timer(timer_); }
    os_alarm(const os_alarm&) = delete;
    os_alarm& operator=(const os_alarm&) = delete;

    void arm(std::chrono::system_clock::time_point due) override { os::arm_timer(timer_, due); }
    bool is_set() override { return os::is_timer_set(timer_); }

private:
    os::timer* const timer_;
};

class system_source final : public timer_source {
public:
    std::chrono::system_clock::time_point now() override {
        return std::chrono::system_clock::now();
    }

    std::unique_ptr<timer_alarm> create_alarm(void* context) override {
        os::timer* const created = os::create_timer(context);
        if (created == nullptr) {
            return nullptr;
        }
        return std::make_unique<os_alarm>(created);
    }

    void release_current(expiry_instance* instance) override {
        os::disassociate_current_thread(instance);
    }

    static void fire(void* context, expiry_instance* instance) noexcept {
        expire(context, instance);
    }
};

}  // namespace

timer_source& timer_source::system() {
    // Never destroyed: timers may still close during static destruction.
    static system_source* const source = new system_source;
    return *source;
}

void detail::on_timer_expired(void* context, expiry_instance* instance) noexcept {
    system_source::fire(context, instance);
}

}  // namespace win32
