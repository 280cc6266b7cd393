#include "support/running_plugin.h"

#include <gtest/gtest.h>

#include "core/logger.h"
#include "plugin/plugin_names.h"
#include "support/app_data.h"

namespace testing_support {

PluginLog::PluginLog() {
    UseAppDataFolder(home.path());
    path = std::filesystem::path(core::default_log_path());
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::remove(path);
}

LogFile PluginLog::Read() const {
    return ParseLogFile(ReadFile(path));
}

std::string PluginLibraryPath() {
    return sim::ExecutableFolder() + "/" + sim::PluginLibraryName();
}

RunningPlugin::RunningPlugin(sim::HostAnswers answers, std::set<sim::ServiceKind> absent)
    : host(std::move(answers), std::move(absent)) {
    std::string error;
    if (!plugin.Load(PluginLibraryPath(), error)) {
        ADD_FAILURE() << "cannot load " << PluginLibraryPath() << ": " << error;
        return;
    }
    if (auto* module = plugin.BuildModule(kinetra::kModuleName)) {
        instance = module->GetInstance(kinetra::kInstanceName);
    }
    if (instance == nullptr) {
        ADD_FAILURE() << "no kinetra:network instance";
        return;
    }
    instance->Start();
}

RunningPlugin::~RunningPlugin() {
    engine.WaitIdle();
    if (instance != nullptr && plugin.Module() != nullptr) {
        instance->Stop();
        instance->Uninit();
    }
}

}  // namespace testing_support
