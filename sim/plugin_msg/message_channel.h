// The stand-in channel: one process-wide server that delivers posted messages to its
// listeners on its own thread and hands the plug-in's messages to the engine.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plugin_msg/engine_endpoint.h"
#include "plugin_msg/plugin_msg.h"

namespace sim {

class MessageChannel : public plugin_msg::IPluginMsgServer, public IEngineEndpoint {
public:
    // Lives for the whole process: its thread is never joined from a static destructor.
    static MessageChannel& Instance();

    bool Init() override;
    bool Uninit() override;
    bool AddEvent(plugin_msg::IPluginMsgEvent* listener) override;
    // Returns once no OnMsg of `listener` runs, unless called from inside one.
    bool RemoveEvent(plugin_msg::IPluginMsgEvent* listener) override;
    bool SendMsg(const char* channel, const char* data, std::uint32_t size) override;

    void Post(const char* channel, const char* data, std::uint32_t size) override;
    void SetReceiver(EngineReceiver receiver, void* context) override;
    bool WaitIdle(std::uint32_t timeoutMs) override;
    std::uint32_t ListenerCount() override;
    void SetReading(bool reading) override;

private:
    struct Message {
        std::string channel;
        std::string data;
    };

    MessageChannel() = default;
    void StartThread();
    void Run();
    void Deliver(const Message& message, std::unique_lock<std::mutex>& lock);

    std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<Message> mInbox;
    std::vector<plugin_msg::IPluginMsgEvent*> mListeners;
    plugin_msg::IPluginMsgEvent* mDelivering = nullptr;
    bool mBusy = false;
    std::thread::id mChannelThread;
    bool mStarted = false;

    std::mutex mReceiverMutex;
    std::condition_variable mReadingChanged;
    EngineReceiver mReceiver = nullptr;
    void* mReceiverContext = nullptr;
    bool mReading = true;
};

}  // namespace sim
