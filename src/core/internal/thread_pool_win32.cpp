// Timers on the process's default Windows thread pool (no callback environment).
#include <windows.h>

#include <cstdint>
#include <ratio>

#include "core/internal/thread_pool_os.h"

namespace win32::os {
namespace {

// 100-nanosecond intervals from 1601-01-01, the OS's epoch, to 1970-01-01, the clock's.
constexpr std::int64_t kEpochOffset = 116444736000000000;

PTP_TIMER native(timer* os_timer) {
    return reinterpret_cast<PTP_TIMER>(os_timer);
}

VOID CALLBACK expired(PTP_CALLBACK_INSTANCE instance, PVOID context, PTP_TIMER) {
    detail::on_timer_expired(context, reinterpret_cast<expiry_instance*>(instance));
}

}  // namespace

timer* create_timer(void* context) {
    return reinterpret_cast<timer*>(CreateThreadpoolTimer(expired, context, nullptr));
}

void arm_timer(timer* os_timer, std::chrono::system_clock::time_point due) {
    using ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;
    ULARGE_INTEGER absolute;
    absolute.QuadPart = static_cast<ULONGLONG>(
        std::chrono::duration_cast<ticks>(due.time_since_epoch()).count() + kEpochOffset);
    FILETIME due_time{absolute.LowPart, absolute.HighPart};
    SetThreadpoolTimer(native(os_timer), &due_time, 0, 0);
}

bool is_timer_set(timer* os_timer) {
    return IsThreadpoolTimerSet(native(os_timer)) != FALSE;
}

void disassociate_current_thread(expiry_instance* instance) {
    DisassociateCurrentThreadFromCallback(reinterpret_cast<PTP_CALLBACK_INSTANCE>(instance));
}

void close_timer(timer* os_timer) {
    // Disarmed first, so no new expiry can be queued after the wait has cancelled the pending ones.
    SetThreadpoolTimer(native(os_timer), nullptr, 0, 0);
    WaitForThreadpoolTimerCallbacks(native(os_timer), TRUE);
    CloseThreadpoolTimer(native(os_timer));
}

void end_threads() {}

}  // namespace win32::os
