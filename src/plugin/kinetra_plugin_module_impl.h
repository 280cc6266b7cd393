// The plug-in's module: it makes the one instance the host asks for, "kinetra:network".
#pragma once

#include "plugin/plugin_module_impl.h"

namespace kinetra {

class KinetraPluginModuleImpl : public PluginModuleImpl {
public:
    KinetraPluginModuleImpl();
    // Takes its instances off the engine channel before letting them go.
    ~KinetraPluginModuleImpl() override;
    std::shared_ptr<service_plugin::PluginInstance> CreateInstance(const char* name) override;
};

}  // namespace kinetra
