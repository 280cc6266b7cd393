// The host releases and unloads the library while the engine floods it, pushes arrive, a dialog
// is open, the change-type timer is armed and requests are still held: nothing of the plug-in
// may run or stay registered afterwards. Sanitizer builds check the memory side.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "host/process_probe.h"
#include "live/live_protocol.h"
#include "plugin/plugin_names.h"
#include "support/running_plugin.h"

namespace {

using kinetra::FromEngine;
using testing_support::PluginLibraryPath;
using testing_support::PluginLog;

service_plugin::PluginInstance* StartedInstance(sim::PluginHost& plugin) {
    std::string error;
    if (!plugin.Load(PluginLibraryPath(), error)) {
        ADD_FAILURE() << error;
        return nullptr;
    }
    auto* instance = plugin.BuildModule(kinetra::kModuleName)->GetInstance(kinetra::kInstanceName);
    if (instance != nullptr) {
        instance->Start();
    }
    return instance;
}

// What a subscription asks for; the flood subscribes to it over and over.
constexpr std::int32_t kSubscribedUri = 880001;

TEST(UnloadUnderLoad, NothingRunsOrStaysRegisteredAfterTheUnload) {
    PluginLog pluginLog;
    {
        // The first load starts what the process keeps for good: the channel's own thread and,
        // on Windows, the system thread pool's threads behind the change-type timer.
        sim::SimHost host;
        sim::SimEngine engine;
        sim::PluginHost plugin(host);
        ASSERT_NE(StartedInstance(plugin), nullptr);
        engine.Send(FromEngine::kOpenState, MeruKinetra::OpenStateMsg{1, 3});
        ASSERT_TRUE(engine.WaitIdle());
    }
    const std::size_t threadsBefore = sim::ProcessThreadCount();
    {
        sim::SimHost host;
        sim::SimEngine engine;
        sim::PluginHost plugin(host);
        auto* instance = StartedInstance(plugin);
        ASSERT_NE(instance, nullptr);
        engine.Send(FromEngine::kOpenState, MeruKinetra::OpenStateMsg{1, 3});
        engine.Send(FromEngine::kPresenterDialog,
                    MeruKinetra::PresenterDialogReq{"c", "t", "ok", 1, "", 0, 5});
        engine.Send(FromEngine::kCrownGameStart, MeruKinetra::InteractiveGameMsg{1});
        ASSERT_TRUE(engine.WaitIdle());

        std::atomic<bool> stop{false};
        std::thread flood([&] {
            while (!stop) {
                engine.Send(FromEngine::kPushSubscription,
                            MeruKinetra::PushSubscribeMsg{kSubscribedUri, 1});
                engine.Send(FromEngine::kOpenState, MeruKinetra::OpenStateMsg{1, 3});
                engine.Send(FromEngine::kPresenterDialog, MeruKinetra::PresenterDialogReq{});
                engine.Send(FromEngine::kCrownGameHeartbeat, taf::Bytes{});
                host.Signal().Push(kSubscribedUri, taf::Bytes{1, 2, 3});
                host.Signal().Push(kinetra::kMessageNoticeUri, MERU::MessageNotice{});
            }
        });
        instance->Stop();
        instance->Uninit();
        plugin.DestroyModule();
        EXPECT_EQ(host.Signal().PushHandlers(), 0u) << "a subscription outlived the instance";

        // The host answers late what it still holds: the dialogs and every request. The
        // instance is gone by now and off the channel, and nothing it left behind may answer
        // the engine.
        const std::size_t sentBefore = engine.Received().size();
        std::size_t late = 0;
        while (host.Presenter().AnswerDialog(1)) {
            ++late;
        }
        while (auto task = host.Signal().TakeTask()) {
            task->Answer(sim::Reply::Fields(0, {}));
            ++late;
        }
        EXPECT_GE(late, 3u) << "the dialog, the game start and the start configuration";
        EXPECT_EQ(engine.Received().size(), sentBefore);

        plugin.Unload();
        stop = true;
        flood.join();
    }
    EXPECT_EQ(sim::ProcessThreadCount(), threadsBefore) << "a thread of the plug-in outlived it";
}

}  // namespace
