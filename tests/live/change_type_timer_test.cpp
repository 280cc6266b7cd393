// The change-type timer on the test's clock: the live logic is given a context whose timer
// source is the manual one, so five seconds pass in a call.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "integration/live_support.h"
#include "live/kinetra_logic.h"
#include "support/manual_timer_source.h"
#include "support/test_context.h"
#include "taf/records/live_messages.h"

namespace {

using MeruKinetra::OpenStateMsg;
using std::chrono::milliseconds;

class ChangeTypeTimer : public testing::Test {
protected:
    void SetUp() override {
        context->SetLive(true);
        context->onStop = [this] { logic.Uninit(); };
        logic.Init(context);
    }
    void TearDown() override {
        logic.Uninit();
        host.Signal().Shutdown();
    }

    // The live-tag values ("1", "0") and viewer messages ("viewer") sent since the last call.
    std::vector<std::string> Requests() {
        std::vector<std::string> seen;
        for (const auto& task : live_test::TakeTasks(host.Signal())) {
            MERU::SetLiveAttributeReq tags;
            if (live_test::Calls(task, taf::kSetLiveTag) && task.Request().RequestAs(tags)) {
                const auto& value = tags.mpTags.at("sorvane3d").vValue;
                seen.emplace_back(value.begin(), value.end());
            } else if (live_test::Calls(task, taf::kTransMsgToViewer)) {
                seen.emplace_back("viewer");
            }
        }
        return seen;
    }
    void Open(std::int32_t open) { logic.OnOpenState(taf::toBytes(OpenStateMsg{open, 3})); }

    sim::SimHost host{live_test::LiveHost()};
    testing_support::ManualTimerSource clock;
    std::shared_ptr<testing_support::TestContext> context =
        std::make_shared<testing_support::TestContext>(host, clock);
    kinetra::KinetraLogic logic;
};

using Strings = std::vector<std::string>;

TEST_F(ChangeTypeTimer, RunsFiveSecondsAfterTheLatestOpenAndAfterEachRunUntilTheClose) {
    Open(1);
    clock.Advance(milliseconds(3000));
    Open(1);
    clock.Advance(milliseconds(4999));
    EXPECT_EQ(Requests(), Strings{});
    clock.Advance(milliseconds(1));
    EXPECT_EQ(Requests(), (Strings{"1", "viewer"}));
    clock.Advance(milliseconds(5000));
    EXPECT_EQ(Requests(), (Strings{"1", "viewer"}));
    Open(0);
    EXPECT_EQ(Requests(), Strings{"0"});
    EXPECT_EQ(clock.Advance(milliseconds(20000)), 0);
    EXPECT_EQ(Requests(), Strings{});
}

TEST_F(ChangeTypeTimer, ARunWhileNotLiveSendsNothingAndTheNextOneChecksAgain) {
    context->SetLive(false);
    Open(1);
    clock.Advance(milliseconds(5000));
    EXPECT_EQ(Requests(), Strings{});
    context->SetLive(true);
    clock.Advance(milliseconds(5000));
    EXPECT_EQ(Requests(), (Strings{"1", "viewer"}));
}

}  // namespace
