// A plug-in module: keeps the instances it created and finds them again by name.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "service_plugin/plugin_framework.h"

namespace kinetra {

class PluginModuleImpl : public service_plugin::PluginModule {
public:
    explicit PluginModuleImpl(std::string name) : mName(std::move(name)) {}

    const char* GetName() override { return mName.c_str(); }
    bool IsReady() override { return true; }
    void ReleaseInstances() override;
    // The instance of that name, created and initialised on first request; null when the
    // module makes no instance of that name.
    service_plugin::PluginInstance* GetInstance(const char* name) override;
    ~PluginModuleImpl() override = default;
    virtual std::shared_ptr<service_plugin::PluginInstance> CreateInstance(const char* name) = 0;

protected:
    std::vector<std::shared_ptr<service_plugin::PluginInstance>> Instances();

private:
    std::shared_ptr<service_plugin::PluginInstance> Find(const char* name);

    std::string mName;
    std::recursive_mutex mMutex;
    std::vector<std::shared_ptr<service_plugin::PluginInstance>> mInstances;
};

}  // namespace kinetra
