// The library's two exports: the host calls service_module_load after loading the library and
// service_module_unload before unloading it.
#include "core/boundary.h"
#include "core/logger.h"
#include "core/thread_pool.h"
#include "live/presenter_dialog.h"
#include "plugin/host_registry.h"
#include "plugin/kinetra_plugin_module_builder.h"

extern "C" KINETRA_EXPORT bool service_module_load(service_plugin::IPluginRegistry* registry) {
    core::at_boundary(L"service_module_load", [registry] {
        core::init_logger(core::default_log_path(), core::level_inf);
        core::logger_stream(core::level_inf) << "service_module_load";
        kinetra::SetHostRegistry(registry);
        if (registry != nullptr) {
            registry->RegisterBuilder(kinetra::kModuleName,
                                      new kinetra::KinetraPluginModuleBuilder());
        }
    });
    return true;
}

extern "C" KINETRA_EXPORT void service_module_unload() {
    core::at_boundary(L"service_module_unload", [] {
        core::logger_stream(core::level_inf) << "service_module_unload";
        win32::thread_pool::end_threads();
        kinetra::ReleaseOpenDialogs();
        core::uninit_logger();
    });
}
