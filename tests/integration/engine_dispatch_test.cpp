// Engine messages through the real library, the stand-in channel and the simulated host: what the
// identity scenario's trace does not pin (the user information, the game id and another
// channel's message are there).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "integration/server_calls.h"

namespace {

using taf::Bytes;
using testing_support::RunningPlugin;

using kinetra::FromEngine;
using kinetra::ToEngine;

using testing_support::ServerIdentity;

TEST(EngineDispatch, GameIdNeedsARoomService) {
    RunningPlugin without(ServerIdentity(), {sim::ServiceKind::room});
    without.engine.Send(FromEngine::kGameIdRequest, Bytes{});
    ASSERT_TRUE(without.engine.WaitIdle());
    EXPECT_EQ(without.engine.CountReceived(ToEngine::kGameId), 0u);
    EXPECT_EQ(without.host.Calls().Count("IRoomService::GetRoomInfo"), 0u);
}

TEST(EngineDispatch, EnvelopeVariantsReachOrMissTheDispatch) {
    RunningPlugin running(ServerIdentity());
    // How each envelope decodes is the envelope's own test; here it is what the dispatch does.
    const Bytes userInfoForms[] = {
        {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x18, 0x1D, 0x00, 0x0C},
        // A payload that claims far more bytes than arrived still dispatches the type read.
        {0x00, 0x18, 0x1D, 0x00, 0x02, 0x7F, 0xFF, 0xFF, 0xFF, 0x01},
    };
    for (const Bytes& envelope : {userInfoForms[0], userInfoForms[1], Bytes{}, Bytes{0xFF}}) {
        running.engine.SendEnvelope(envelope);
    }
    running.engine.Send(FromEngine::kUserInfoRequest, Bytes{}, "another_plugin");
    ASSERT_TRUE(running.engine.WaitIdle());
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kUserInfo), std::size(userInfoForms));
    EXPECT_EQ(running.engine.Received().size(), std::size(userInfoForms));
}

TEST(EngineDispatch, DestroyingAndUnloadingWhileTheEngineFloodsIsSafe) {
    RunningPlugin running(ServerIdentity());
    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        while (flooding) {
            running.engine.Send(FromEngine::kUserInfoRequest, Bytes{});
            running.engine.Send(FromEngine::kGameIdRequest, Bytes{});
        }
    });
    ASSERT_TRUE(running.engine.WaitFor(ToEngine::kUserInfo));
    // The module takes its instance off the channel before letting it go, waiting for a
    // message in hand; the instance then never dies on the channel's thread, and no library
    // code is left running when the library is unloaded.
    running.plugin.DestroyModule();
    running.plugin.Unload();
    EXPECT_EQ(running.engine.Listeners(), 0u);
    const std::size_t answered = running.engine.Received().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    flooding = false;
    flood.join();
    ASSERT_TRUE(running.engine.WaitIdle(std::chrono::seconds(30)));
    EXPECT_EQ(running.engine.Received().size(), answered)
        << "nothing answers once the instance is gone";
}

}  // namespace
