// Finding the engine channel: its library is loaded once per process and never unloaded.
#pragma once

#include "plugin_msg/plugin_msg.h"

namespace kinetra {

// The channel's server, or null when the library or its export is missing (not retried).
plugin_msg::IPluginMsgServer* EngineChannelServer();

namespace detail {
// Calls the library's export when it was found.
plugin_msg::IPluginMsgServer* ServerFromExport(void* getServer);
}  // namespace detail

}  // namespace kinetra
