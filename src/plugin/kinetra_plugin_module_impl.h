// The plug-in's module: it makes the one instance the host asks for, "kinetra:network".
#pragma once

#include "plugin/plugin_module_impl.h"

namespace kinetra {

class KinetraPluginModuleImpl : public PluginModuleImpl {
public:
    KinetraPluginModuleImpl();
    std::shared_ptr<service_plugin::PluginInstance> CreateInstance(const char* name) override;
};

}  // namespace kinetra
