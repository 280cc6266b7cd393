// Where timers get their time and their alarms: the operating system's timer service and the
// system clock by default, or a clock that a unit test moves by hand, so that code built on
// timers can be tested without waiting in real time.
#pragma once

#include <chrono>
#include <memory>

namespace win32 {

// One running expiry; what it holds is up to the source that runs it.
struct expiry_instance;

// A one-shot alarm. Destroying it disarms it, cancels expiries not yet started and waits for
// running ones (except one released with timer_source::release_current); after that none runs.
class timer_alarm {
public:
    virtual ~timer_alarm() = default;
    // Arms (or re-arms) the alarm to go off once at `due`; a time in the past goes off at once.
    virtual void arm(std::chrono::system_clock::time_point due) = 0;
    // True while armed. Whether an alarm that went off still counts as armed is up to the source
    // (the Windows pool under Wine keeps it armed until it is disarmed).
    virtual bool is_set() = 0;
};

class timer_source {
public:
    virtual ~timer_source() = default;

    virtual std::chrono::system_clock::time_point now() = 0;
    // A new, unarmed alarm, or null when the source cannot make one. Each time it goes off, the
    // source calls expire(context, instance) on a thread of its choice.
    virtual std::unique_ptr<timer_alarm> create_alarm(void* context) = 0;
    // Called from inside an expiry only: destroying its alarm then no longer waits for it.
    virtual void release_current(expiry_instance* instance) = 0;

    // The operating system's timers and the system clock; lives as long as the process.
    static timer_source& system();

protected:
    // What every expiry calls. Never throws.
    static void expire(void* context, expiry_instance* instance) noexcept;
};

}  // namespace win32
