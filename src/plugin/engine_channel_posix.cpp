// Loads the channel library from beside the plug-in's own file first, so that a folder
// holding both works wherever it is, then by name through the normal search.
#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <string>

#include "plugin/engine_channel.h"

namespace kinetra {
namespace {

constexpr char kLibraryName[] = "libplugin_msg.so";

std::string OwnFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&EngineChannelServer), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    const std::string path = info.dli_fname;
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

plugin_msg::IPluginMsgServer* Load() {
    void* library = ::dlopen((OwnFolder() + kLibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        library = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    }
    if (library == nullptr) {
        return nullptr;
    }
    return detail::ServerFromExport(::dlsym(library, plugin_msg::kGetPluginMsgServerName));
}

}  // namespace

plugin_msg::IPluginMsgServer* EngineChannelServer() {
    static std::once_flag once;
    static std::atomic<plugin_msg::IPluginMsgServer*> server{nullptr};
    std::call_once(once, [] { server = Load(); });
    return server.load();
}

}  // namespace kinetra
