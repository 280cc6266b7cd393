// The small interface each platform's timer service gives the default timer source: one-shot
// timers whose expiry calls win32::detail::on_timer_expired on a pool thread.
#pragma once

#include <chrono>

#include "core/timer_source.h"

namespace win32::os {

// A one-shot OS timer; opaque outside the platform file.
struct timer;
// One running expiry callback (win32::expiry_instance) is opaque outside the platform file too.

// A new, unarmed timer whose expiries hand `context` to on_timer_expired; null on failure.
timer* create_timer(void* context);
// Arms (or re-arms) the timer to expire once at `due`; a time in the past expires at once.
void arm_timer(timer* os_timer, std::chrono::system_clock::time_point due);
// True while the timer is armed. Whether a one-shot timer still counts as armed once it has
// expired is up to the OS (under Wine it stays armed until it is disarmed).
bool is_timer_set(timer* os_timer);
// Called from inside a callback only: close_timer then no longer waits for that callback.
void disassociate_current_thread(expiry_instance* instance);
// Disarms the timer, cancels expiries not yet started, waits for running callbacks (except a
// disassociated one) and frees the timer.
void close_timer(timer* os_timer);
// Ends the threads the service itself started, once running callbacks return; the OS pool's
// threads are not ours and stay.
void end_threads();

}  // namespace win32::os

namespace win32::detail {

// Defined by the default timer source: the one function every OS expiry calls. Never throws.
void on_timer_expired(void* context, expiry_instance* instance) noexcept;

}  // namespace win32::detail
