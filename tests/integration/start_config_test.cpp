// The start configuration through the real library: one request at start and per 2029, the
// reply turned into message 2000 with the host's room, user and camera.
#include <gtest/gtest.h>

#include "integration/server_calls.h"
#include "taf/records/start_config.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using MeruKinetra::StartConfigMsg;
using namespace testing_support;

constexpr char kTimeOutLine[] =
    "ReqStartConfigCommand::EexecuteCommand::<lambda_1>::operator () time out";

sim::HostAnswers WithCamera(std::string detail) {
    auto answers = ServerIdentity();
    answers.camera = {"Camera 1", std::move(detail), {1.5f, -2.0f}, {0.25f, 3.0f}};
    return answers;
}

MERU::GetConfigRsp FullConfig() {
    MERU::GetConfigRsp config;
    config.mpConfig = {
        {"Virtual3DBannerTip",
         R"({"imgurl":[{"image":"i1"},{"image":"i2","jump":"j2"}],"tip":["t1","t2"]})"},
        {"SimpleKinetraUrl", "https://simple"},
        {"KinetraFileConfigUrl", "https://files"},
        {"new_updater_config", R"([{"url":"u1","md5":"m1","version":"v1"}])"},
        {"unrelated", "x"},
    };
    config.mpExperiment = {{"exp", "1"}};
    return config;
}

TEST(StartConfig, StartAndEach2029AskOnceWithTheTwoParametersAndTheHostIdentity) {
    RunningPlugin running(WithCamera("cam:a#3Ab#22c"));
    running.engine.Send(FromEngine::kStartConfigRequest, taf::Bytes{});
    for (int request = 0; request < 2; ++request) {
        auto task = NextRequest(running, taf::kGetConfig);
        ASSERT_TRUE(task);
        EXPECT_EQ(task->Request().packet.sServantName, taf::kGetConfig.servant);
        EXPECT_EQ(task->Request().packet.sFuncName, taf::kGetConfig.function);
        MERU::GetConfigReq sent;
        ASSERT_TRUE(task->Request().RequestAs(sent));
        EXPECT_EQ(sent.tId, HostUserId(running.host.State().Answers()));
        const std::map<std::string, std::string> expected = {{"isEnable3DKinetra", "1"},
                                                             {"virtual_new_downloader", "1"}};
        EXPECT_EQ(sent.mpParam, expected);
    }
    EXPECT_EQ(running.host.Signal().PendingTasks(), 0u);
}

TEST(StartConfig, TheReplyBecomesOne2000WithRoomUserAndCamera) {
    RunningPlugin running(WithCamera("cam:a#3Ab#22c"));
    auto task = NextRequest(running, taf::kGetConfig);
    ASSERT_TRUE(task);
    task->Answer(sim::Reply::Of(0, FullConfig()));
    const auto message = running.engine.WaitForRecord<StartConfigMsg>(ToEngine::kStartConfig);
    ASSERT_TRUE(message);
    // The camera's detail loses its "#..." parts; the unrelated key and the experiment are left.
    EXPECT_EQ(taf::toBytes(*message),
              taf::toBytes(StartConfigMsg{{"i1", "i2"},
                                          {"j2"},
                                          {"t1", "t2"},
                                          "https://simple",
                                          "https://files",
                                          "",
                                          {"u1", "m1", "v1"},
                                          77,
                                          5'000'000'000,
                                          {"a:b#c", "cam", {1.5f, -2.0f}, {0.25f, 3.0f}}}));
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kStartConfig), 1u);
    EXPECT_EQ(LevelOfLine(log, "ReqStartConfigCommand::EexecuteCommand req start config"), "inf");
    EXPECT_TRUE(log.ContainsText("ReqStartConfigCommand::OpenKinetra config length="));
}

// How a detail splits is the parser's test; here, no detail and no services to ask.
TEST(StartConfig, NoCameraDetailOrNoServicesLeaveEmptyFields) {
    const struct {
        const char* what;
        const char* detail;
        std::set<sim::ServiceKind> absent;
        MeruKinetra::CameraInfo camera;
        std::int32_t gameId;
        std::int64_t userValue;
    } cases[] = {
        {"no detail", "", {}, {}, 77, 5'000'000'000},
        {"no presenter, room or user service",
         "cam:x",
         {sim::ServiceKind::presenter, sim::ServiceKind::room, sim::ServiceKind::user},
         {},
         0,
         0},
    };
    for (const auto& c : cases) {
        RunningPlugin running(WithCamera(c.detail), c.absent);
        auto task = NextRequest(running, taf::kGetConfig);
        ASSERT_TRUE(task) << c.what;
        task->Answer(sim::Reply::Of(0, MERU::GetConfigRsp{}));
        const auto message = running.engine.WaitForRecord<StartConfigMsg>(ToEngine::kStartConfig);
        ASSERT_TRUE(message) << c.what;
        EXPECT_EQ(message->tCamera, c.camera) << c.what;
        EXPECT_EQ(message->iGameId, c.gameId) << c.what;
        EXPECT_EQ(message->lUserValue, c.userValue) << c.what;
    }
}

TEST(StartConfig, TimeOutSendsNothingAndAnUndecodableReplySendsDefaults) {
    RunningPlugin running(WithCamera(""));
    running.engine.Send(FromEngine::kStartConfigRequest, taf::Bytes{});
    auto atStart = NextRequest(running, taf::kGetConfig);
    auto onRequest = NextRequest(running, taf::kGetConfig);
    ASSERT_TRUE(atStart && onRequest);
    atStart->Answer(sim::Reply::TimeOut());
    onRequest->Answer(sim::Reply::Raw({0x00, 0x00, 0x00, 0x09, 0xFF}));
    const auto message = running.engine.WaitForRecord<StartConfigMsg>(ToEngine::kStartConfig);
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->vImage.empty() && message->vTip.empty() && message->sSimpleUrl.empty());
    EXPECT_EQ(message->tUpdater, MeruKinetra::UpdaterConfig{});
    EXPECT_EQ(message->iGameId, 77);
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kStartConfig), 1u);
    EXPECT_EQ(LevelOfLine(log, kTimeOutLine), "inf");
}

TEST(StartConfig, AnUpdaterElementWithoutMd5LogsOneErrorAndKeepsWhatWasRead) {
    RunningPlugin running(WithCamera(""));
    auto task = NextRequest(running, taf::kGetConfig);
    ASSERT_TRUE(task);
    MERU::GetConfigRsp config;
    config.mpConfig["new_updater_config"] =
        R"([{"url":"u1","version":"v1"},{"url":"u2","md5":"m2","version":"v2"}])";
    task->Answer(sim::Reply::Of(0, config));
    const auto message = running.engine.WaitForRecord<StartConfigMsg>(ToEngine::kStartConfig);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->tUpdater, (MeruKinetra::UpdaterConfig{"u1", "", "v1"}));
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(LevelOfLine(log, "ReqStartConfigCommand::OpenKinetra Json parse failed."), "err");
}

TEST(StartConfig, WithoutASignalServiceNothingIsAskedOrSent) {
    RunningPlugin running(WithCamera("cam:x"), {sim::ServiceKind::signal});
    running.engine.Send(FromEngine::kStartConfigRequest, taf::Bytes{});
    const auto log = UnloadAndReadLog(running);
    EXPECT_EQ(running.engine.Received().size(), 0u);
    EXPECT_EQ(running.host.Calls().Count("IPresenterService::GetCamera"), 0u);
    EXPECT_EQ(log.CountEndingWith("req start config"), 2u) << "logged before the service is asked";
}

}  // namespace
