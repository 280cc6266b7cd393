// Open and close notices, pushes, live events and dialogs arriving together from several
// threads; run under ThreadSanitizer and AddressSanitizer it must stay clean.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/live_messages.h"
#include "taf/records/live_pushes.h"
#include "taf/records/presenter_messages.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using testing_support::RunningPlugin;

constexpr auto kRunFor = std::chrono::milliseconds(1500);

TEST(LiveStress, EverythingAtOnceFromSeveralThreads) {
    RunningPlugin running(live_test::LiveHost());
    running.host.Signal().StartAutomatic(
        {std::chrono::milliseconds(0), std::chrono::milliseconds(1)});
    std::atomic<bool> go{true};
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (std::int32_t i = 0; go; ++i) {
            running.engine.Send(FromEngine::kOpenState,
                                MeruKinetra::OpenStateMsg{i % 3 == 2 ? 0 : 1, i});
            running.engine.Send(FromEngine::kCreateSource, taf::Bytes{});
            running.engine.Send(FromEngine::kFitSource, MeruKinetra::SourceSizeMsg{1280, 720});
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    threads.emplace_back([&] {
        for (std::int32_t i = 0; go; ++i) {
            running.engine.Send(FromEngine::kPushSubscription,
                                MeruKinetra::PushSubscribeMsg{900, i % 2});
            running.engine.Send(FromEngine::kPresenterDialog,
                                MeruKinetra::PresenterDialogReq{"c", "t", "ok", 1, "", 0, i});
            running.host.Signal().Push(900, taf::Bytes{1, 2, 3});
            running.host.Signal().Push(kinetra::kMessageNoticeUri,
                                       MERU::MessageNotice{{"a", "b"}, "c"});
            running.host.Signal().Push(kinetra::kSendItemUri, MERU::SendItemSubBroadcastPacket{
                                                                  1, 2, 4242, "", 0, "", "", 0});
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    threads.emplace_back([&] {
        for (std::int32_t i = 0; go; ++i) {
            if (i % 2 == 0) {
                running.host.Live().RaiseLiveStarted();
            } else {
                running.host.Live().RaiseLiveStopped();
            }
            running.host.Presenter().AnswerDialog(static_cast<std::uint32_t>(i));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    threads.emplace_back([&] {
        while (go) {
            running.instance->Start();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            running.instance->Stop();
        }
    });
    std::this_thread::sleep_for(kRunFor);
    go = false;
    for (auto& thread : threads) {
        thread.join();
    }
    ASSERT_TRUE(running.engine.WaitIdle(std::chrono::seconds(30)));
    EXPECT_GT(running.engine.CountReceived(ToEngine::kLiveState), 0u);
    EXPECT_GT(running.engine.CountReceived(ToEngine::kViewerMessage), 0u);
    EXPECT_GT(running.engine.CountReceived(ToEngine::kPresenterDialogResult), 0u);
    while (running.host.Presenter().AnswerDialog(0)) {
    }
}

}  // namespace
