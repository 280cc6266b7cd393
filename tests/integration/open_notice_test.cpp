// The engine's open and close notices through the real library: live state, live tags, push
// handlers, camera, and the instance's stop and restart. One open while live (ornament request,
// init data, then live state) and one close are pinned by the on_air scenario's trace.
#include <gtest/gtest.h>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/live_messages.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using live_test::LiveHost;
using live_test::LiveTagValues;
using live_test::TakeTasks;
using MeruKinetra::OpenStateMsg;
using taf::Bytes;
using testing_support::RunningPlugin;

// The one-byte live state of an open while not live, and the live event's, are pinned by the
// odd_fields and on_air scenarios' traces.
TEST(OpenNotice, LiveStateFollowsLiveEventsAndOpens) {
    RunningPlugin running;
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{1, 3});
    ASSERT_TRUE(running.engine.WaitFor(ToEngine::kLiveState));
    running.host.Live().RaiseLiveStarted();
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{1, 3});
    for (int i = 0; i < 2; ++i) {
        const auto live =
            running.engine.WaitForRecord<MeruKinetra::LiveStateMsg>(ToEngine::kLiveState);
        ASSERT_TRUE(live);
        EXPECT_EQ(live->iLive, 1);
    }
}

TEST(OpenNotice, WithoutAUserServiceTheRestOfTheOpenStillRuns) {
    RunningPlugin running(LiveHost(), {sim::ServiceKind::user});
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{1, 3});
    EXPECT_TRUE(running.engine.WaitFor(ToEngine::kLiveState));
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kInitData), 0u);
}

TEST(CloseNotice, StopsTheInstanceClearsTheTagsAndRestoresTheCameraOnce) {
    RunningPlugin running(LiveHost());
    running.engine.Send(FromEngine::kPushSubscription, MeruKinetra::PushSubscribeMsg{777, 1});
    running.engine.Send(FromEngine::kCreateSource, Bytes{});
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{1, 3});
    ASSERT_TRUE(running.engine.WaitIdle());
    EXPECT_EQ(running.host.Signal().PushHandlers(), live_test::kStartPushHandlers + 1);
    TakeTasks(running.host.Signal());

    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{0, 0});
    ASSERT_TRUE(running.engine.WaitFor(ToEngine::kLiveState));
    ASSERT_TRUE(running.engine.WaitFor(ToEngine::kLiveState));
    EXPECT_EQ(LiveTagValues(TakeTasks(running.host.Signal())), std::vector<std::string>{"0"});
    EXPECT_EQ(running.host.Signal().PushHandlers(), 0u);
    EXPECT_EQ(running.host.Calls().Count("ILiveService::RemoveLiveEvent"), 1u);
    // The host stops the instance as well: safe, and the camera is not restored again.
    running.instance->Stop();
    // The camera restored is the one saved (the on_air scenario's trace pins which).
    EXPECT_EQ(running.host.Calls().Count("IPresenterService::RestoreCamera"), 1u);
    // The source is gone with the close: a fit finds nothing to move.
    running.engine.Send(FromEngine::kFitSource, MeruKinetra::SourceSizeMsg{1280, 720});
    ASSERT_TRUE(running.engine.WaitIdle());
    EXPECT_EQ(running.host.Calls().Count("IPresenterService::GetCanvasSize"), 0u);
}

TEST(CloseNotice, StartAfterStopRegistersEverythingAgain) {
    RunningPlugin running(LiveHost());
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{0, 0});
    ASSERT_TRUE(running.engine.WaitFor(ToEngine::kLiveState));
    ASSERT_EQ(running.host.Signal().PushHandlers(), 0u);
    running.instance->Start();
    EXPECT_EQ(running.host.Signal().PushHandlers(), live_test::kStartPushHandlers);
    EXPECT_EQ(running.host.Calls().Count("ILiveService::AddLiveEvent"), 2u);
    running.host.Live().RaiseLiveStopped();
    const auto live = running.engine.WaitForRecord<MeruKinetra::LiveStateMsg>(ToEngine::kLiveState);
    ASSERT_TRUE(live);
    EXPECT_EQ(live->iLive, 0);
}

}  // namespace
