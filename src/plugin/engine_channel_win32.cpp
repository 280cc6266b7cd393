// Loads plugin_msg.dll through the normal DLL search under the system's one-time
// initialisation, which, unlike a function-local static, needs no C++ runtime lock.
#include <windows.h>

#include <cstdlib>

#include "plugin/engine_channel.h"

namespace kinetra {
namespace {

INIT_ONCE gOnce = INIT_ONCE_STATIC_INIT;
plugin_msg::IPluginMsgServer* gServer = nullptr;

BOOL CALLBACK Load(PINIT_ONCE, PVOID, PVOID*) {
    if (HMODULE library = LoadLibraryW(L"plugin_msg.dll")) {
        gServer = detail::ServerFromExport(
            reinterpret_cast<void*>(GetProcAddress(library, plugin_msg::kGetPluginMsgServerName)));
    }
    return TRUE;
}

}  // namespace

plugin_msg::IPluginMsgServer* EngineChannelServer() {
    if (!InitOnceExecuteOnce(&gOnce, Load, nullptr, nullptr)) {
        std::abort();
    }
    return gServer;
}

}  // namespace kinetra
