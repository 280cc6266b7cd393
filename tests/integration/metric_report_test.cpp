// Metric sets the engine reports (2037) through the real library: numbered requests with the
// host's identity, and nothing back.
#include <gtest/gtest.h>

#include "integration/server_calls.h"
#include "taf/records/metrics.h"

namespace {

using kinetra::FromEngine;
using namespace testing_support;

MERU::MetricDetailSet Metrics(std::string name) {
    MERU::MetricDetailSet metrics;
    metrics.tId = {5, "engine-guid", "engine-token", "engine/1", "cookie-1", 9, "device-1"};
    metrics.vMetric.push_back({std::move(name), 1700000000000, {{"k", "v"}}, {{"f", 0.5}}, {}});
    metrics.sExtra = "extra";
    return metrics;
}

TEST(MetricReport, RequestsAreNumberedFromOneAndCarryTheHostIdentity) {
    RunningPlugin running(ServerIdentity());
    DropStartRequests(running);
    for (const char* name : {"m1", "m2", "m3"}) {
        running.engine.Send(FromEngine::kMetricReport, Metrics(name));
    }
    for (std::int32_t id = 1; id <= 3; ++id) {
        auto task = NextRequest(running);
        ASSERT_TRUE(task);
        const auto& sent = task->Request();
        EXPECT_EQ(sent.packet.iRequestId, id);
        EXPECT_EQ(sent.servantName, taf::kReportMetric.servant);
        EXPECT_EQ(sent.packet.sFuncName, taf::kReportMetric.function);
        EXPECT_EQ(sent.requestType, "MERU.MetricDetailSet");
        MERU::MetricDetailSet metrics;
        ASSERT_TRUE(sent.RequestAs(metrics));
        EXPECT_EQ(metrics.tId, HostUserId(running.host.State().Answers(), "cookie-1", "device-1"));
        auto expected = Metrics("m" + std::to_string(id));
        expected.tId = metrics.tId;
        EXPECT_EQ(taf::toBytes(metrics), taf::toBytes(expected));
        task->Answer(id == 2 ? sim::Reply::TimeOut() : sim::Reply::Raw({0x00, 0x00, 0x00, 0x04}));
    }
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(running.engine.Received().size(), 0u);
    EXPECT_EQ(log.CountEndingWith("TafMetricTask::OnResponse errCode = -1"), 1u);
    EXPECT_EQ(log.CountEndingWith("TafMetricTask::OnResponse errCode = 0"), 0u);
    EXPECT_FALSE(log.ContainsText("secret-token") || log.ContainsText("cookie-1"));
}

}  // namespace
