// Server-backed commands without the host's signal service do nothing.
#include <gtest/gtest.h>

#include "integration/server_calls.h"

namespace {

using kinetra::FromEngine;
using namespace testing_support;

TEST(ServerCommands, WithoutASignalServiceNothingIsAskedSentOrAnswered) {
    auto answers = ServerIdentity();
    answers.camera = {"Camera 1", "cam:x", {1.5f, -2.0f}, {0.25f, 3.0f}};
    RunningPlugin running(answers, {sim::ServiceKind::signal});
    for (const auto type : {FromEngine::kStartConfigRequest, FromEngine::kUpdateInfoRequest,
                            FromEngine::kUpdateResultReport, FromEngine::kPassThroughRequest,
                            FromEngine::kMetricReport}) {
        running.engine.Send(type, taf::Bytes{0x0C});
    }
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(running.engine.Received().size(), 0u);
    EXPECT_EQ(running.host.Calls().Count("IRoomService::GetRoomInfo"), 0u);
    EXPECT_EQ(running.host.Calls().Count("IPresenterService::GetCamera"), 0u);
    EXPECT_FALSE(log.ContainsText("ReqUpdateInfoCmd"));
    EXPECT_EQ(log.CountEndingWith("req start config"), 2u) << "logged before the service is asked";
}

}  // namespace
