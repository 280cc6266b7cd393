#include "plugin/kinetra_plugin_module_impl.h"

#include <cstring>

#include "core/logger_stream.h"
#include "plugin/kinetra_plugin_module_builder.h"
#include "plugin/kinetra_service_plugin_impl.h"

namespace kinetra {

KinetraPluginModuleImpl::KinetraPluginModuleImpl() : PluginModuleImpl(kModuleName) {}

std::shared_ptr<service_plugin::PluginInstance> KinetraPluginModuleImpl::CreateInstance(
    const char* name) {
    core::logger_stream(core::level_inf) << L"KinetraPluginModuleImpl::CreateInstance" << name;
    if (std::strcmp(name, kInstanceName) != 0) {
        return nullptr;
    }
    return std::make_shared<KinetraServicePluginImpl>();
}

}  // namespace kinetra
