#include "plugin_msg/message_channel.h"

#include <algorithm>
#include <chrono>

namespace sim {

MessageChannel& MessageChannel::Instance() {
    static auto* channel = new MessageChannel();
    return *channel;
}

bool MessageChannel::Init() {
    std::lock_guard lock(mMutex);
    StartThread();
    return true;
}

bool MessageChannel::Uninit() {
    return true;
}

void MessageChannel::StartThread() {
    if (mStarted) {
        return;
    }
    mStarted = true;
    std::thread thread([this] { Run(); });
    mChannelThread = thread.get_id();
    thread.detach();
}

bool MessageChannel::AddEvent(plugin_msg::IPluginMsgEvent* listener) {
    std::lock_guard lock(mMutex);
    mListeners.push_back(listener);
    return true;
}

bool MessageChannel::RemoveEvent(plugin_msg::IPluginMsgEvent* listener) {
    std::unique_lock lock(mMutex);
    mListeners.erase(std::remove(mListeners.begin(), mListeners.end(), listener), mListeners.end());
    if (std::this_thread::get_id() != mChannelThread) {
        mChanged.wait(lock, [&] { return mDelivering != listener; });
    }
    return true;
}

bool MessageChannel::SendMsg(const char* channel, const char* data, std::uint32_t size) {
    std::unique_lock lock(mReceiverMutex);
    mReadingChanged.wait(lock, [this] { return mReading; });
    if (mReceiver != nullptr) {
        mReceiver(mReceiverContext, channel, data, size);
    }
    return true;
}

void MessageChannel::Post(const char* channel, const char* data, std::uint32_t size) {
    {
        std::lock_guard lock(mMutex);
        StartThread();
        mInbox.push_back({channel, std::string(data, size)});
    }
    mChanged.notify_all();
}

void MessageChannel::SetReceiver(EngineReceiver receiver, void* context) {
    std::lock_guard lock(mReceiverMutex);
    mReceiver = receiver;
    mReceiverContext = context;
}

void MessageChannel::SetReading(bool reading) {
    {
        std::lock_guard lock(mReceiverMutex);
        mReading = reading;
    }
    mReadingChanged.notify_all();
}

bool MessageChannel::WaitIdle(std::uint32_t timeoutMs) {
    std::unique_lock lock(mMutex);
    return mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this] { return mInbox.empty() && !mBusy; });
}

std::uint32_t MessageChannel::ListenerCount() {
    std::lock_guard lock(mMutex);
    return static_cast<std::uint32_t>(mListeners.size());
}

void MessageChannel::Run() {
    std::unique_lock lock(mMutex);
    for (;;) {
        mChanged.wait(lock, [this] { return !mInbox.empty(); });
        const Message message = std::move(mInbox.front());
        mInbox.pop_front();
        mBusy = true;
        Deliver(message, lock);
        mBusy = false;
        mChanged.notify_all();
    }
}

// Called with the lock held; releases it around each OnMsg so listeners can come and go.
void MessageChannel::Deliver(const Message& message, std::unique_lock<std::mutex>& lock) {
    const auto listeners = mListeners;
    for (auto* listener : listeners) {
        if (std::find(mListeners.begin(), mListeners.end(), listener) == mListeners.end()) {
            continue;  // removed while an earlier listener ran
        }
        mDelivering = listener;
        lock.unlock();
        listener->OnMsg(message.channel.c_str(), message.data.data(),
                        static_cast<std::uint32_t>(message.data.size()));
        lock.lock();
        mDelivering = nullptr;
        mChanged.notify_all();
    }
}

}  // namespace sim
