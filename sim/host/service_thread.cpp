// The simulated services' job thread.
#include "host/service_thread.h"

namespace sim {

bool ServiceThread::Schedule(Clock::duration delay, std::function<void()> job) {
    std::lock_guard lock(mMutex);
    if (mStopped) {
        return false;
    }
    mJobs.emplace(Clock::now() + delay, std::move(job));
    if (!mThread.joinable()) {
        mThread = std::thread([this] { Run(); });
    }
    mWake.notify_one();
    return true;
}

bool ServiceThread::WaitIdle(Clock::duration limit) {
    std::unique_lock lock(mMutex);
    return mIdle.wait_for(lock, limit, [this] { return mStopped || (mJobs.empty() && !mBusy); });
}

void ServiceThread::Hold(bool held) {
    {
        std::lock_guard lock(mMutex);
        mHeld = held;
    }
    mWake.notify_one();
}

void ServiceThread::Stop() {
    std::thread thread;
    {
        std::lock_guard lock(mMutex);
        mStopped = true;
        mJobs.clear();
        thread = std::move(mThread);
    }
    mWake.notify_one();
    mIdle.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
}

void ServiceThread::Run() {
    std::unique_lock lock(mMutex);
    while (!mStopped) {
        if (mJobs.empty() || mHeld) {
            if (mJobs.empty()) {
                mIdle.notify_all();
            }
            mWake.wait(lock);
            continue;
        }
        const auto due = mJobs.begin()->first;
        if (Clock::now() < due) {
            mWake.wait_until(lock, due);
            continue;
        }
        auto job = std::move(mJobs.begin()->second);
        mJobs.erase(mJobs.begin());
        mBusy = true;
        lock.unlock();
        job();
        job = nullptr;
        lock.lock();
        mBusy = false;
    }
    mIdle.notify_all();
}

}  // namespace sim
