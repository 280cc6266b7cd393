// The crown ornament request, which no engine message of the games starts: the game logic
// driven directly, in an instance of the plug-in's code built into the test.
#include "games/kinetra_interactive_game_logic.h"

#include <gtest/gtest.h>

#include "engine/sim_engine.h"
#include "host/sim_host.h"
#include "integration/game_harness.h"
#include "plugin/host_registry.h"
#include "plugin/kinetra_service_plugin_impl.h"

namespace game_test {
namespace {

class CrownOrnament : public ::testing::Test {
protected:
    void SetUp() override {
        kinetra::SetHostRegistry(host.Registry());
        instance = kinetra::KinetraServicePluginImpl::Create();
        logic.Init(instance);
    }
    void TearDown() override {
        logic.Uninit();
        host.Signal().Shutdown();
        instance->StopListening();
        instance.reset();
        kinetra::SetHostRegistry(nullptr);
    }

    sim::SimHost host{Identity()};
    sim::SimEngine engine;
    std::shared_ptr<kinetra::KinetraServicePluginImpl> instance;
    kinetra::KinetraInteractiveGameLogic logic;
};

TEST_F(CrownOrnament, CarriesTheIdentityAtTag1AndAnswersWithTheOrnamentsInOrder) {
    logic.ReqGetVirtualCrownGameOrnament();
    auto task = host.Signal().TakeTask();
    ASSERT_TRUE(task);
    EXPECT_EQ(task->Request().functionName, kinetra::kCrownOrnamentCall.function);
    EXPECT_EQ(ToHex(task->Request().RequestFields()),
              Plain("1a 00 01 16 00 26 00 36 00 46 00 5c 66 00 0b"));
    const std::string ornaments = "09 00 03 0a 00 04 0b 0a 00 02 0b 0a 00 09 0b";
    task->Answer(sim::Reply::Fields(0, Hex(ornaments)));
    const auto answer =
        engine.WaitForRecord<MERU::GetVirtualCrownGameOrnamentRsp>(ToEngine::kCrownOrnaments);
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->vOrnamentInfo.size(), 3u);
    EXPECT_EQ(answer->vOrnamentInfo[0].iOrnamentType, 4);
    EXPECT_EQ(answer->vOrnamentInfo[1].iOrnamentType, 2);
    EXPECT_EQ(answer->vOrnamentInfo[2].iOrnamentType, 9);
}

TEST_F(CrownOrnament, TimeOutAnswersNothing) {
    logic.ReqGetVirtualCrownGameOrnament();
    auto task = host.Signal().TakeTask();
    ASSERT_TRUE(task);
    task->Answer(sim::Reply::TimeOut());
    ASSERT_TRUE(engine.WaitIdle());
    EXPECT_EQ(engine.CountReceived(ToEngine::kCrownOrnaments), 0u);
}

}  // namespace
}  // namespace game_test
