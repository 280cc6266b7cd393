// The built plug-in, loaded into a simulated host and engine and started, as the host would
// leave it running; its log goes to a folder of the test's own where the platform allows.
#pragma once

#include <filesystem>
#include <set>

#include "engine/sim_engine.h"
#include "host/plugin_host.h"
#include "support/temp_dir.h"

namespace testing_support {

class RunningPlugin {
public:
    explicit RunningPlugin(sim::HostAnswers answers = {}, std::set<sim::ServiceKind> absent = {});
    // Stops the instance and unloads the library, as the host does.
    ~RunningPlugin();

    // Destroys the module, and with it the instance, while the library stays loaded.
    void DestroyModule() { plugin.DestroyModule(); }

    TempDir home;
    std::filesystem::path logPath;
    sim::SimHost host;
    sim::SimEngine engine;
    sim::PluginHost plugin{host};
    service_plugin::PluginInstance* instance = nullptr;
};

}  // namespace testing_support
