// Loads the built plug-in library the way the host does and follows it through its lifecycle.
#include <gtest/gtest.h>

#include "host/plugin_host.h"
#include "plugin/plugin_names.h"
#include "support/running_plugin.h"

namespace {

using testing_support::PluginLibraryPath;
using testing_support::PluginLog;

const std::set<sim::ServiceKind> kNoServices = {
    sim::ServiceKind::signal, sim::ServiceKind::user, sim::ServiceKind::room,
    sim::ServiceKind::audio,  sim::ServiceKind::live, sim::ServiceKind::presenter};

TEST(PluginLifecycle, HostWithoutServicesRunsTheWholeLifecycle) {
    PluginLog pluginLog;
    sim::SimHost host({}, kNoServices);
    {
        sim::PluginHost plugin(host);
        std::string error;
        ASSERT_TRUE(plugin.Load(PluginLibraryPath(), error)) << error;
        ASSERT_EQ(host.Calls().Count("IPluginRegistry::RegisterBuilder"), 1u);
        auto* module = plugin.BuildModule(kinetra::kModuleName);
        ASSERT_NE(module, nullptr);
        EXPECT_STREQ(module->GetName(), kinetra::kModuleName);

        EXPECT_EQ(module->GetInstance("kinetra:other"), nullptr);
        auto* instance = module->GetInstance(kinetra::kInstanceName);
        ASSERT_NE(instance, nullptr);
        EXPECT_EQ(module->GetInstance(kinetra::kInstanceName), instance);
        EXPECT_STREQ(instance->GetName(), kinetra::kInstanceName);
        EXPECT_EQ(host.Calls().Count("IPluginRegistry::QueryInstance"), 6u)
            << "services are looked up once, by the one instance created";

        EXPECT_TRUE(instance->Start());
        instance->Stop();
        instance->Uninit();
        plugin.DestroyModule();
        plugin.Unload();
    }
    const auto log = pluginLog.Read();
    EXPECT_TRUE(log.malformed.empty());
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.front().text, "service_module_load");
    EXPECT_EQ(log.lines.back().text, "service_module_unload");
    for (const char* service : {"signal", "user", "room", "audio", "live", "presenter"}) {
        EXPECT_EQ(log.CountEndingWith(std::string(" ") + service + " service is empty"), 1u)
            << service;
    }
    EXPECT_TRUE(log.ContainsText("KinetraServicePluginImpl::Start"));
    EXPECT_FALSE(log.ContainsText("is test evn")) << "no presenter, no test-environment line";
    EXPECT_EQ(log.CountEndingWith("KinetraServicePluginImpl::Stop"), 3u)
        << "Stop runs by itself, from Uninit, and from Uninit in the module's release pass";
    EXPECT_EQ(log.CountEndingWith("KinetraPluginModuleImpl::CreateInstancekinetra:network"), 1u);
}

TEST(PluginLifecycle, FullHostIsQueriedInOrderAndReportsTheTestEnvironment) {
    PluginLog pluginLog;
    sim::HostAnswers answers;
    answers.testEnv = true;
    answers.liveId = 7;
    sim::SimHost host(answers);
    {
        sim::PluginHost plugin(host);
        std::string error;
        ASSERT_TRUE(plugin.Load(PluginLibraryPath(), error)) << error;
        auto* instance =
            plugin.BuildModule(kinetra::kModuleName)->GetInstance(kinetra::kInstanceName);
        ASSERT_NE(instance, nullptr);
        EXPECT_TRUE(instance->Start());
        // Read once, at construction; clearing the live tags at the stop reads it again.
        EXPECT_EQ(host.Calls().Count("ILiveService::GetLiveId"), 1u);
    }
    std::vector<std::string> queries;
    for (const auto& call : host.Calls().Calls()) {
        if (call.name == "IPluginRegistry::QueryInstance") {
            queries.push_back(call.details);
        }
    }
    const std::vector<std::string> expected = {
        "service_signal plugin:signal", "service_user plugin:user",
        "service_room plugin:room",     "audio_service plugin:audio_service",
        "service_live plugin:live",     "service_presenter plugin:presenter"};
    EXPECT_EQ(queries, expected);
    const auto log = pluginLog.Read();
    EXPECT_EQ(log.CountEndingWith("service is empty"), 0u);
    EXPECT_TRUE(log.ContainsText("KinetraServicePluginImpl::Start is test evn 1"));
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.back().text, "service_module_unload");
}

TEST(PluginLifecycle, NullRegistryRegistersNothingAndStillSucceeds) {
    PluginLog pluginLog;
    sim::SimHost host;
    {
        sim::PluginHost plugin(host);
        std::string error;
        ASSERT_TRUE(plugin.LoadWithoutRegistry(PluginLibraryPath(), error)) << error;
        EXPECT_EQ(plugin.BuildModule(kinetra::kModuleName), nullptr);
    }
    EXPECT_EQ(host.Calls().Count("IPluginRegistry::RegisterBuilder"), 0u);
    EXPECT_TRUE(pluginLog.Read().ContainsText("service_module_load"));
}

}  // namespace
