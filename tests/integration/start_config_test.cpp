// The start configuration through the real library where the scenario traces do not reach:
// missing services and camera detail, time-outs, bad replies (a host without a signal service is
// the server commands' test). The request at start and per 2029 and a full reply turned into
// message 2000 are pinned by the traces.
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

// A configuration over the limit is not read: the engine gets the empty configuration and the
// log one error line. Just under the limit, a long banner array is read whole.
TEST(StartConfig, AConfigurationOverTheLimitIsNotRead) {
    constexpr std::size_t kLimit = 1024 * 1024;
    const auto banner = [](std::size_t size) {
        std::string json = R"({"tip":["t")";
        while (json.size() + 6 < size) {
            json += ",1";
        }
        return json + "]}";
    };
    for (const std::size_t size : {kLimit - 1024, kLimit + 1}) {
        RunningPlugin running(WithCamera(""));
        auto task = NextRequest(running, taf::kGetConfig);
        ASSERT_TRUE(task);
        MERU::GetConfigRsp config;
        config.mpConfig["Virtual3DBannerTip"] = banner(size);
        config.mpConfig["SimpleKinetraUrl"] = "url";
        task->Answer(sim::Reply::Of(0, config));
        const auto message = running.engine.WaitForRecord<StartConfigMsg>(ToEngine::kStartConfig);
        ASSERT_TRUE(message);
        const bool read = size < kLimit;
        EXPECT_EQ(message->vTip, read ? std::vector<std::string>{"t"} : std::vector<std::string>{});
        EXPECT_EQ(message->sSimpleUrl, read ? "url" : "");
        EXPECT_EQ(message->iGameId, 77);
        const auto log = UnloadAndReadLog(running);
        EXPECT_EQ(log.ContainsText("config over 1048576 bytes, not read"), !read);
    }
}

}  // namespace
