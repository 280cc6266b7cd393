#include "plugin/engine_channel.h"

namespace kinetra::detail {

plugin_msg::IPluginMsgServer* ServerFromExport(void* getServer) {
    if (getServer == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<plugin_msg::GetPluginMsgServerFunction>(getServer)();
}

}  // namespace kinetra::detail
