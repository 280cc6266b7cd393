// The host's registry, handed over at load and kept for the life of the library.
#pragma once

#include "service_plugin/plugin_framework.h"

namespace kinetra {

void SetHostRegistry(service_plugin::IPluginRegistry* registry);
service_plugin::IPluginRegistry* HostRegistry();

}  // namespace kinetra
