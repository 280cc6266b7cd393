// A timer source for unit tests: its clock moves only when the test moves it, and alarms that
// come due go off on the test's own thread, so timed behaviour is tested without sleeping.
// Header-only, so that any test target can use it.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "core/timer_source.h"

namespace testing_support {

class ManualTimerSource final : public win32::timer_source {
public:
    using time_point = std::chrono::system_clock::time_point;

    // The clock starts at a fixed time, not at the system's.
    ManualTimerSource();
    ~ManualTimerSource() override;
    ManualTimerSource(const ManualTimerSource&) = delete;
    ManualTimerSource& operator=(const ManualTimerSource&) = delete;

    time_point now() override;
    std::unique_ptr<win32::timer_alarm> create_alarm(void* context) override;
    void release_current(win32::expiry_instance*) override {}

    // Moves the clock forward by `by`. Each alarm that comes due on the way goes off, in due
    // order, with the clock standing at its due time while its expiry runs. Returns how many
    // went off. Not to be called from inside an expiry.
    int Advance(std::chrono::milliseconds by);
    // Moves the clock without setting anything off: an expiry that calls it takes that long.
    void Spend(std::chrono::milliseconds by);
    // How many alarms are armed now.
    std::size_t Armed();

private:
    struct Alarm;

    std::mutex mutex_;
    time_point now_;
    std::vector<Alarm*> alarms_;
};

struct ManualTimerSource::Alarm final : win32::timer_alarm {
    Alarm(ManualTimerSource& owner, void* expiry_context)
        : source(owner), context(expiry_context) {}

    ~Alarm() override {
        std::lock_guard lock(source.mutex_);
        std::erase(source.alarms_, this);
    }

    void arm(time_point at) override {
        std::lock_guard lock(source.mutex_);
        due = at;
        armed = true;
    }

    bool is_set() override {
        std::lock_guard lock(source.mutex_);
        return armed;
    }

    ManualTimerSource& source;
    void* const context;
    time_point due;
    bool armed = false;
};

inline ManualTimerSource::ManualTimerSource()
    : now_(std::chrono::sys_days{std::chrono::January / 1 / 2030}) {}

// Timers still open here would reach a destroyed source; a test closes them first.
inline ManualTimerSource::~ManualTimerSource() = default;

inline ManualTimerSource::time_point ManualTimerSource::now() {
    std::lock_guard lock(mutex_);
    return now_;
}

inline std::unique_ptr<win32::timer_alarm> ManualTimerSource::create_alarm(void* context) {
    auto alarm = std::make_unique<Alarm>(*this, context);
    std::lock_guard lock(mutex_);
    alarms_.push_back(alarm.get());
    return alarm;
}

inline int ManualTimerSource::Advance(std::chrono::milliseconds by) {
    std::unique_lock lock(mutex_);
    const time_point until = now_ + by;
    int fired = 0;
    for (;;) {
        Alarm* next = nullptr;
        for (Alarm* alarm : alarms_) {
            if (alarm->armed && alarm->due <= until && (!next || alarm->due < next->due)) {
                next = alarm;
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = std::max(now_, next->due);
        next->armed = false;
        void* const context = next->context;
        // The expiry may re-arm, close or destroy its alarm, so nothing of it is used after.
        lock.unlock();
        expire(context, nullptr);
        ++fired;
        lock.lock();
    }
    now_ = std::max(now_, until);
    return fired;
}

inline void ManualTimerSource::Spend(std::chrono::milliseconds by) {
    std::lock_guard lock(mutex_);
    now_ += by;
}

inline std::size_t ManualTimerSource::Armed() {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(alarms_.begin(), alarms_.end(), [](const Alarm* a) { return a->armed; }));
}

}  // namespace testing_support
