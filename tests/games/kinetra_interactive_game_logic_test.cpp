// The crown ornament request, which no engine message of the games starts: the game logic
// driven directly, on a context over the simulated host.
#include "games/kinetra_interactive_game_logic.h"

#include <gtest/gtest.h>

#include "host/sim_host.h"
#include "integration/game_harness.h"
#include "support/manual_timer_source.h"
#include "support/test_context.h"

namespace game_test {
namespace {

class CrownOrnament : public ::testing::Test {
protected:
    void SetUp() override { logic.Init(context); }
    void TearDown() override {
        logic.Uninit();
        host.Signal().Shutdown();
    }

    sim::SimHost host{testing_support::ServerIdentity()};
    testing_support::ManualTimerSource clock;
    std::shared_ptr<testing_support::TestContext> context =
        std::make_shared<testing_support::TestContext>(host, clock);
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
    const auto sent = context->Sent();
    ASSERT_EQ(sent.size(), 1u) << "a time-out answers nothing";
    EXPECT_EQ(sent[0].first, ToEngine::kCrownOrnaments);
    EXPECT_EQ(ToHex(sent[0].second), Plain("09 00 03 0a 00 04 0b 0a 00 02 0b 0a 00 09 0b"));
}

}  // namespace
}  // namespace game_test
