#include "idle_floor.h"

namespace bench {

IdleFloor::IdleFloor(std::chrono::milliseconds period, Shape shape)
    : mPeriod(period),
      mWakesWriter(shape == Shape::kTimerWakingWriter),
      mTicker([this] { Tick(); }),
      mWriter(mWakesWriter ? std::thread([this] { Write(); }) : std::thread()) {}

IdleFloor::~IdleFloor() {
    Finish();
}

sim::ThreadUse IdleFloor::Finish() {
    {
        std::lock_guard lock(mMutex);
        mStop = true;
    }
    mTickerWake.notify_one();
    mWriterWake.notify_one();
    if (mTicker.joinable()) {
        mTicker.join();
    }
    if (mWriter.joinable()) {
        mWriter.join();
    }
    return mUsed;
}

void IdleFloor::Tick() {
    const auto start = sim::ThisThread();
    auto next = std::chrono::steady_clock::now() + mPeriod;
    std::unique_lock lock(mMutex);
    while (!mTickerWake.wait_until(lock, next, [this] { return mStop; })) {
        next += mPeriod;
        if (!mWakesWriter) {
            continue;
        }
        ++mTicks;
        // Woken outside the lock, so the writer does not wake only to wait for it.
        lock.unlock();
        mWriterWake.notify_one();
        lock.lock();
    }
    Add(start);
}

void IdleFloor::Write() {
    const auto start = sim::ThisThread();
    std::uint64_t seen = 0;
    std::unique_lock lock(mMutex);
    while (true) {
        mWriterWake.wait(lock, [&] { return mStop || mTicks != seen; });
        if (mStop) {
            break;
        }
        seen = mTicks;
    }
    Add(start);
}

// Called with the mutex held, as each thread ends.
void IdleFloor::Add(const std::optional<sim::ThreadUse>& start) {
    const auto end = sim::ThisThread();
    if (start && end) {
        mUsed.waits += end->waits - start->waits;
        mUsed.cpuNs += end->cpuNs - start->cpuNs;
    }
}

}  // namespace bench
