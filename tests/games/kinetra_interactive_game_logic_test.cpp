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

    sim::SimHost host{testing_support::ServerIdentity()};
    sim::SimEngine engine;
    std::shared_ptr<kinetra::KinetraServicePluginImpl> instance;
    kinetra::KinetraInteractiveGameLogic logic;
};

TEST_F(CrownOrnament, CarriesTheIdentityAtTag1AndAnswersWithTheOrnamentsInOrder) {
    logic.ReqGetVirtualCrownGameOrnament();
    logic.ReqGetVirtualCrownGameOrnament();
    auto answered = host.Signal().TakeTask();
    auto timedOut = host.Signal().TakeTask();
    ASSERT_TRUE(answered && timedOut);
    EXPECT_EQ(answered->Request().functionName, kinetra::kCrownOrnamentCall.function);
    EXPECT_EQ(ToHex(answered->Request().RequestFields()), IdentityHex(1));
    timedOut->Answer(sim::Reply::TimeOut());
    answered->Answer(sim::Reply::Fields(0, Hex("09 00 03 0a 00 04 0b 0a 00 02 0b 0a 00 09 0b")));
    ASSERT_TRUE(engine.WaitIdle());
    ASSERT_EQ(engine.CountReceived(ToEngine::kCrownOrnaments), 1u) << "a time-out answers nothing";
    const auto answer = engine.WaitFor(ToEngine::kCrownOrnaments);
    EXPECT_EQ(ToHex(answer->payload), Plain("09 00 03 0a 00 04 0b 0a 00 02 0b 0a 00 09 0b"));
}

}  // namespace
}  // namespace game_test
