// The engine message channel's interfaces. The channel library exports GetPluginMsgServer; a
// listener receives every message sent on the channel, each tagged with a channel name.
#pragma once

#include <cstdint>

namespace plugin_msg {

class IPluginMsgEvent {
public:
    virtual ~IPluginMsgEvent() = default;  // 0
    // Called on the channel's own thread.
    virtual void OnMsg(const char* channel, const char* data, std::uint32_t size) = 0;  // 1
};

class IPluginMsgServer {
public:
    virtual void Reserved0() {}                               // 0
    virtual bool Init() = 0;                                  // 1
    virtual bool Uninit() = 0;                                // 2
    virtual bool AddEvent(IPluginMsgEvent* listener) = 0;     // 3
    virtual bool RemoveEvent(IPluginMsgEvent* listener) = 0;  // 4
    // May be called from any thread, also concurrently.
    virtual bool SendMsg(const char* channel, const char* data, std::uint32_t size) = 0;  // 5

protected:
    ~IPluginMsgServer() = default;
};

// The channel library's one export, looked up by this name.
using GetPluginMsgServerFunction = IPluginMsgServer* (*)();
inline constexpr char kGetPluginMsgServerName[] = "GetPluginMsgServer";

}  // namespace plugin_msg
