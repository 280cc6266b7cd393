// The engine's end of the stand-in channel library: what the simulated engine uses to post
// messages to the plug-in and to receive what the plug-in sends.
#pragma once

#include <cstdint>

namespace sim {

using EngineReceiver = void (*)(void* context, const char* channel, const char* data,
                                std::uint32_t size);

class IEngineEndpoint {
public:
    // Queues a message; the channel thread delivers it to every listener in posting order.
    virtual void Post(const char* channel, const char* data, std::uint32_t size) = 0;
    // Every message the plug-in sends reaches `receiver` on the sender's thread; null stops it.
    virtual void SetReceiver(EngineReceiver receiver, void* context) = 0;
    // Waits until every posted message has been delivered; false on time-out.
    virtual bool WaitIdle(std::uint32_t timeoutMs) = 0;
    virtual std::uint32_t ListenerCount() = 0;
    // While the engine does not read, every send from the plug-in waits in SendMsg until it
    // reads again, as a channel whose buffer is full makes its sender wait.
    virtual void SetReading(bool reading) = 0;

protected:
    ~IEngineEndpoint() = default;
};

}  // namespace sim

// Exported by the stand-in channel library beside GetPluginMsgServer.
extern "C" sim::IEngineEndpoint* GetPluginMsgEngineEndpoint();
