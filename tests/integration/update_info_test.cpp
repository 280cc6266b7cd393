// The engine's update query (2027 → 317) and update report (2028) through the real library:
// several answers, a report before any answer, time-outs and empty replies. One query, its
// answer and a report are pinned by the server_commands scenario's trace.
#include <gtest/gtest.h>

#include "integration/server_calls.h"
#include "taf/records/update_info.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using namespace testing_support;

MeruKinetra::UpdateInfoReqMsg Query(std::map<std::string, std::string, std::less<>> params) {
    MeruKinetra::UpdateInfoReqMsg query;
    query.tId.sUA = "ignored/1";
    query.mpParam = std::move(params);
    return query;
}

MERU::GetMobileUpdateInfoRsp Answer(std::int32_t updateValue) {
    return {1, 2, "s2", "s3", "s4", 5, "s6", updateValue, 8, "s9", 0, {"l11"}, {}, "", 0};
}

MeruKinetra::UpdateResultMsg Report(std::int32_t result) {
    MeruKinetra::UpdateResultMsg report;
    report.iExtra = 99;
    report.iResult = result;
    return report;
}

class UpdateInfo : public ::testing::Test {
protected:
    void SetUp() override { DropStartRequests(running); }

    // The next request as a record of type Req; fails the test when it is another function's.
    template <class Req>
    std::optional<sim::PendingTask> Take(const taf::ServerFunction& function, Req& sent) {
        auto task = NextRequest(running);
        if (task) {
            EXPECT_EQ(task->Request().packet.sFuncName, function.function);
            EXPECT_EQ(task->Request().packet.sServantName, function.servant);
            EXPECT_TRUE(task->Request().RequestAs(sent));
        }
        return task;
    }

    RunningPlugin running{ServerIdentity()};
};

TEST_F(UpdateInfo, EachAnswerBecomesA317AndItsValueIsReportedBack) {
    // A report before any answer carries 0.
    running.engine.Send(FromEngine::kUpdateResultReport, Report(-3));
    MERU::ReportMobileUpdateResultReq report;
    ASSERT_TRUE(Take(taf::kReportMobileUpdateResult, report));
    EXPECT_EQ(report.iUpdateValue, 0);
    EXPECT_EQ(report.iResult, -3);
    EXPECT_EQ(report.tId, HostUserId(running.host.State().Answers()));

    running.engine.Send(FromEngine::kUpdateInfoRequest, Query({{"iType", "1"}}));
    running.engine.Send(FromEngine::kUpdateInfoRequest, Query({{"iType", "2"}}));
    MERU::GetMobileUpdateInfoReq query;
    auto first = Take(taf::kGetMobileUpdateInfo, query);
    auto second = Take(taf::kGetMobileUpdateInfo, query);
    ASSERT_TRUE(first && second);
    first->Answer(sim::Reply::Of(0, Answer(41)));
    second->Answer(sim::Reply::Of(0, Answer(42)));
    for (const std::int32_t value : {41, 42}) {
        const auto answer =
            running.engine.WaitForRecord<MeruKinetra::UpdateInfoMsg>(ToEngine::kUpdateInfo);
        ASSERT_TRUE(answer);
        EXPECT_EQ(taf::toBytes(*answer),
                  taf::toBytes(MeruKinetra::UpdateInfoMsg{1, "s3", "s4", value, 8, "s9"}));
    }

    running.engine.Send(FromEngine::kUpdateResultReport, Report(7));
    ASSERT_TRUE(Take(taf::kReportMobileUpdateResult, report));
    EXPECT_EQ(report.iUpdateValue, 42);
    EXPECT_EQ(report.iResult, 7);
}

TEST_F(UpdateInfo, ATimeOutIsLoggedAndAReplyWithoutResponseSendsZeros) {
    running.engine.Send(FromEngine::kUpdateInfoRequest, Query({}));
    running.engine.Send(FromEngine::kUpdateInfoRequest, Query({}));
    MERU::GetMobileUpdateInfoReq query;
    auto timedOut = Take(taf::kGetMobileUpdateInfo, query);
    auto empty = Take(taf::kGetMobileUpdateInfo, query);
    ASSERT_TRUE(timedOut && empty);
    EXPECT_EQ(query.tId.sUA, "") << "a query without \"sUA\" sends an empty agent";
    timedOut->Answer(sim::Reply::TimeOut());
    empty->Answer(sim::Reply::Raw({0x00, 0x00, 0x00, 0x04}));
    const auto answer =
        running.engine.WaitForRecord<MeruKinetra::UpdateInfoMsg>(ToEngine::kUpdateInfo);
    ASSERT_TRUE(answer);
    EXPECT_EQ(taf::toBytes(*answer), taf::toBytes(MeruKinetra::UpdateInfoMsg{}));
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kUpdateInfo), 1u);
    EXPECT_EQ(
        LevelOfLine(log,
                    "ReqUpdateInfoCmd::ExecuteReqUpdateCommand::<lambda_1>::operator () time out"),
        "inf");
}

}  // namespace
