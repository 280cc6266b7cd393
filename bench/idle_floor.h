// The least an idle plug-in can cost on the machine at hand: a thread that does nothing but wake
// on a timer, alone (what any plug-in with a periodic refresh costs) or waking a second one, as
// the tag refresh wakes the log writer (what one shaped like ours costs). A wake-up's price depends
// on the machine (on a virtual one, a processor that slept for seconds takes hundreds of
// microseconds to run again), so it is measured in the same run as the plug-in, as a peer is, and
// the plug-in's own work is what it costs above this floor.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "host/process_probe.h"

namespace bench {

class IdleFloor {
public:
    enum class Shape { kTimerAlone, kTimerWakingWriter };

    IdleFloor(std::chrono::milliseconds period, Shape shape);
    ~IdleFloor();
    IdleFloor(const IdleFloor&) = delete;
    IdleFloor& operator=(const IdleFloor&) = delete;

    // Stops the threads (at most once) and gives what they used together since they started:
    // their wake-ups and processor time. Zeros where the system does not tell.
    sim::ThreadUse Finish();

private:
    void Tick();
    void Write();
    void Add(const std::optional<sim::ThreadUse>& start);

    const std::chrono::milliseconds mPeriod;
    const bool mWakesWriter;
    std::mutex mMutex;
    std::condition_variable mTickerWake;
    std::condition_variable mWriterWake;
    std::uint64_t mTicks = 0;
    bool mStop = false;
    sim::ThreadUse mUsed;
    std::thread mTicker;
    std::thread mWriter;
};

}  // namespace bench
