// Builds the plug-in's module when the host asks for it.
#pragma once

#include "plugin/plugin_names.h"
#include "service_plugin/plugin_framework.h"

namespace kinetra {

class KinetraPluginModuleBuilder : public service_plugin::PluginModuleBuilder {
public:
    // A new KinetraPluginModuleImpl, or null when it cannot be allocated; `name` is only logged.
    service_plugin::PluginModule* Build(const char* name) override;
};

}  // namespace kinetra
