#include "support/running_plugin.h"

#include <gtest/gtest.h>

#include "core/logger.h"
#include "support/app_data.h"

namespace testing_support {
namespace {

sim::HostAnswers PrepareLogFolder(TempDir& home, std::filesystem::path& logPath,
                                  sim::HostAnswers answers) {
    UseAppDataFolder(home.path());
    logPath = std::filesystem::path(core::default_log_path());
    std::filesystem::create_directories(logPath.parent_path());
    std::filesystem::remove(logPath);
    return answers;
}

}  // namespace

RunningPlugin::RunningPlugin(sim::HostAnswers answers, std::set<sim::ServiceKind> absent)
    : host(PrepareLogFolder(home, logPath, std::move(answers)), std::move(absent)) {
    std::string error;
    const std::string path = sim::ExecutableFolder() + "/" + sim::PluginLibraryName();
    if (!plugin.Load(path, error)) {
        ADD_FAILURE() << "cannot load " << path << ": " << error;
        return;
    }
    if (auto* module = plugin.BuildModule("kinetra_service_plugin")) {
        instance = module->GetInstance("kinetra:network");
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
