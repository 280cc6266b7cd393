#include "plugin/kinetra_plugin_module_impl.h"

#include <cstring>

#include "core/boundary.h"
#include "plugin/kinetra_plugin_module_builder.h"
#include "plugin/kinetra_service_plugin_impl.h"

namespace kinetra {

KinetraPluginModuleImpl::KinetraPluginModuleImpl() : PluginModuleImpl(kModuleName) {}

KinetraPluginModuleImpl::~KinetraPluginModuleImpl() {
    core::at_boundary(L"KinetraPluginModuleImpl::~KinetraPluginModuleImpl", [this] {
        for (const auto& instance : Instances()) {
            // Every instance of this module is one it created.
            static_cast<KinetraServicePluginImpl&>(*instance).StopListening();
        }
    });
}

std::shared_ptr<service_plugin::PluginInstance> KinetraPluginModuleImpl::CreateInstance(
    const char* name) {
    core::logger_stream(core::level_inf) << "KinetraPluginModuleImpl::CreateInstance" << name;
    if (std::strcmp(name, kInstanceName) != 0) {
        return nullptr;
    }
    return KinetraServicePluginImpl::Create();
}

}  // namespace kinetra
