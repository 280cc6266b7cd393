// The simulated host's registry: keeps the module builders a library registers and answers
// service look-ups by (module, instance) name.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "host/host_state.h"
#include "service_plugin/plugin_framework.h"

namespace sim {

class SimRegistry : public service_plugin::IPluginRegistry {
public:
    explicit SimRegistry(HostState& state) : mState(state) {}
    ~SimRegistry();

    void RegisterBuilder(const char* module, service_plugin::PluginModuleBuilder* builder) override;
    void QueryInstance(const char* module, const char* instance, void** out) override;

    // Makes `service` the answer to queries for (module, instance).
    void Provide(const std::string& module, const std::string& instance, void* service);
    service_plugin::PluginModuleBuilder* Builder(const std::string& module) const;
    // Destroys the builders, as the host does before unloading the library that made them.
    void DropBuilders();

private:
    HostState& mState;
    mutable std::mutex mMutex;
    std::map<std::string, std::unique_ptr<service_plugin::PluginModuleBuilder>> mBuilders;
    std::map<std::pair<std::string, std::string>, void*> mServices;
};

}  // namespace sim
