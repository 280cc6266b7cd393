#include "host/sim_registry.h"

namespace sim {

SimRegistry::~SimRegistry() {
    DropBuilders();
}

void SimRegistry::RegisterBuilder(const char* module,
                                  service_plugin::PluginModuleBuilder* builder) {
    mState.Calls().Record("IPluginRegistry::RegisterBuilder", module);
    std::lock_guard lock(mMutex);
    mBuilders[module].reset(builder);
}

void SimRegistry::QueryInstance(const char* module, const char* instance, void** out) {
    mState.Calls().Record("IPluginRegistry::QueryInstance", std::string(module) + " " + instance);
    std::lock_guard lock(mMutex);
    const auto found = mServices.find({module, instance});
    *out = found == mServices.end() ? nullptr : found->second;
}

void SimRegistry::Provide(const std::string& module, const std::string& instance, void* service) {
    std::lock_guard lock(mMutex);
    mServices[{module, instance}] = service;
}

service_plugin::PluginModuleBuilder* SimRegistry::Builder(const std::string& module) const {
    std::lock_guard lock(mMutex);
    const auto found = mBuilders.find(module);
    return found == mBuilders.end() ? nullptr : found->second.get();
}

void SimRegistry::DropBuilders() {
    std::lock_guard lock(mMutex);
    mBuilders.clear();
}

}  // namespace sim
