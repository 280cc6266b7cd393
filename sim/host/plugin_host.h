// Drives a plug-in library through the host's lifecycle: load, build the module, get an
// instance, start, stop, release, unload. Each step is separate so tests can act in between.
#pragma once

#include <memory>
#include <string>

#include "host/shared_library.h"
#include "host/sim_host.h"

namespace sim {

class PluginHost {
public:
    explicit PluginHost(SimHost& host) : mHost(host) {}
    // Finishes whatever lifecycle steps remain, in the host's order.
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the library and calls service_module_load; false with `error` set when it cannot.
    bool Load(const std::string& path, std::string& error);
    // Loads with a null registry, as a host without services would.
    bool LoadWithoutRegistry(const std::string& path, std::string& error);
    // Builds the module through the builder registered under `module`; null without one.
    service_plugin::PluginModule* BuildModule(const std::string& module);
    service_plugin::PluginModule* Module() const { return mModule; }
    // Releases the module's instances and destroys the module.
    void DestroyModule();
    // Destroys the module, and with it its instances, without stopping or releasing them
    // first, as a host may.
    void ReleaseModule();
    // Destroys the builders, calls service_module_unload and unloads the library; then the
    // services report what the plug-in left registered with them.
    void Unload();

private:
    void Destroy(bool releaseInstances);
    bool Open(const std::string& path, std::string& error,
              service_plugin::IPluginRegistry* registry);

    SimHost& mHost;
    std::unique_ptr<SharedLibrary> mLibrary;
    service_plugin::PluginModule* mModule = nullptr;
};

}  // namespace sim
