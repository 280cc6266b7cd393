// The built plug-in, loaded into a simulated host and engine and started, as the host would
// leave it running; its log goes to a folder of the test's own where the platform allows.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "engine/sim_engine.h"
#include "host/plugin_host.h"
#include "support/log_lines.h"
#include "support/temp_dir.h"

namespace testing_support {

// The plug-in's log file, absent at first.
struct PluginLog {
    PluginLog();
    LogFile Read() const;

    TempDir home;
    std::filesystem::path path;
};

// The built library beside the test binary.
std::string PluginLibraryPath();

class RunningPlugin {
public:
    explicit RunningPlugin(sim::HostAnswers answers = {}, std::set<sim::ServiceKind> absent = {});
    // Stops the instance and unloads the library, as the host does.
    ~RunningPlugin();

    PluginLog log;
    sim::SimHost host;
    sim::SimEngine engine;
    sim::PluginHost plugin{host};
    service_plugin::PluginInstance* instance = nullptr;
};

}  // namespace testing_support
