// The thread on which a simulated service does what the host does on its own threads: it runs
// jobs at their due time, in order of due time and, for equal times, in order of scheduling.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace sim {

class ServiceThread {
public:
    using Clock = std::chrono::steady_clock;

    ServiceThread() = default;
    ~ServiceThread() { Stop(); }
    ServiceThread(const ServiceThread&) = delete;
    ServiceThread& operator=(const ServiceThread&) = delete;

    // Starts the thread on first use. False, and the job dropped, once stopped.
    bool Schedule(Clock::duration delay, std::function<void()> job);
    // Waits until no job is queued or running; false when `limit` passed first.
    bool WaitIdle(Clock::duration limit);
    // While held, jobs queue up but none starts; once let go, those due run in their order.
    void Hold(bool held);
    // Lets the running job finish, drops the others and ends the thread for good. Must not be
    // called from a job.
    void Stop();

private:
    void Run();

    std::mutex mMutex;
    std::condition_variable mWake;
    std::condition_variable mIdle;
    std::multimap<Clock::time_point, std::function<void()>> mJobs;
    bool mBusy = false;
    bool mHeld = false;
    bool mStopped = false;
    std::thread mThread;
};

}  // namespace sim
