#include "plugin/host_registry.h"

#include <atomic>

namespace kinetra {
namespace {

std::atomic<service_plugin::IPluginRegistry*> registry{nullptr};

}  // namespace

void SetHostRegistry(service_plugin::IPluginRegistry* value) {
    registry = value;
}

service_plugin::IPluginRegistry* HostRegistry() {
    return registry.load();
}

}  // namespace kinetra
