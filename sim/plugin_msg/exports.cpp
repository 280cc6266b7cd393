// The stand-in channel library's exports: the plug-in's entry and the engine's.
#include "plugin_msg/message_channel.h"

extern "C" PLUGIN_MSG_EXPORT plugin_msg::IPluginMsgServer* GetPluginMsgServer() {
    return &sim::MessageChannel::Instance();
}

extern "C" PLUGIN_MSG_EXPORT sim::IEngineEndpoint* GetPluginMsgEngineEndpoint() {
    return &sim::MessageChannel::Instance();
}
