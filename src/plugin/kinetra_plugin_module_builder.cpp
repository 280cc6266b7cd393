#include "plugin/kinetra_plugin_module_builder.h"

#include <new>

#include "core/boundary.h"
#include "core/text.h"
#include "plugin/kinetra_plugin_module_impl.h"

namespace kinetra {

service_plugin::PluginModule* KinetraPluginModuleBuilder::Build(const char* name) {
    return core::at_boundary(
        L"KinetraPluginModuleBuilder::Build",
        [name]() -> service_plugin::PluginModule* {
            core::logger_stream(core::level_inf)
                << "KinetraPluginModuleBuilder::Build"
                << core::Utf8ToWide(name != nullptr ? name : "", -1);
            return new (std::nothrow) KinetraPluginModuleImpl();
        },
        nullptr);
}

}  // namespace kinetra
