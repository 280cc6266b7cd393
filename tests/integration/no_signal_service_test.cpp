// Server-backed commands without the host's signal service do nothing.
#include <gtest/gtest.h>

#include "integration/server_calls.h"

namespace {

using kinetra::FromEngine;
using namespace testing_support;

TEST(ServerCommands, WithoutASignalServiceNothingIsSentOrAnswered) {
    RunningPlugin running(ServerIdentity(), {sim::ServiceKind::signal});
    for (const auto type : {FromEngine::kStartConfigRequest, FromEngine::kUpdateInfoRequest,
                            FromEngine::kUpdateResultReport, FromEngine::kPassThroughRequest,
                            FromEngine::kMetricReport}) {
        running.engine.Send(type, taf::Bytes{0x0C});
    }
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(running.engine.Received().size(), 0u);
    EXPECT_EQ(running.host.Calls().Count("IRoomService::GetRoomInfo"), 0u);
    EXPECT_FALSE(log.ContainsText("ReqUpdateInfoCmd"));
}

}  // namespace
