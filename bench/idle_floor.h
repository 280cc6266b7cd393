// The least an idle plug-in shaped like ours can cost on the machine at hand: two threads that
// do nothing else, one waking on a timer and then waking the other, as the tag refresh wakes the
// log writer. A wake-up's price depends on the machine (on a virtual one, a processor that slept
// for seconds takes hundreds of microseconds to run again), so it is measured in the same run as
// the plug-in, as a peer is, and the plug-in's own work is what it costs above this floor.
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
    explicit IdleFloor(std::chrono::milliseconds period);
    ~IdleFloor();
    IdleFloor(const IdleFloor&) = delete;
    IdleFloor& operator=(const IdleFloor&) = delete;

    // Stops both threads (at most once) and gives what they used together since they started:
    // their wake-ups and processor time. Zeros where the system does not tell.
    sim::ThreadUse Finish();

private:
    void Tick();
    void Write();
    void Add(const std::optional<sim::ThreadUse>& start);

    const std::chrono::milliseconds mPeriod;
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
