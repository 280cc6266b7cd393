// The avatar's source in the presenter's scene and the camera it displaces, through the real
// library.
#include <gtest/gtest.h>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/presenter_messages.h"

namespace {

using kinetra::FromEngine;
using live_test::LiveHost;
using taf::Bytes;
using testing_support::RunningPlugin;

std::vector<std::string> PresenterCalls(sim::CallLog& calls) {
    std::vector<std::string> seen;
    for (const auto& call : calls.Calls()) {
        if (call.name.starts_with("IPresenterService::") &&
            call.name != "IPresenterService::IsTestEnv") {
            seen.push_back(call.name.substr(19) + (call.details.empty() ? "" : " " + call.details));
        }
    }
    return seen;
}

TEST(SourceAndCamera, CreateSavesAndClearsTheCamera) {
    RunningPlugin running(LiveHost());
    running.engine.Send(FromEngine::kCreateSource, Bytes{});
    ASSERT_TRUE(running.engine.WaitIdle());
    const std::vector<std::string> expected = {
        "CreateSource va_source \xE8\x99\x9A\xE6\x8B\x9F\xE5\xBD\xA2\xE8\xB1\xA1",
        "SetSourceTransform 0 0 1.5 1.5", "GetCamera", "ClearCamera"};
    EXPECT_EQ(PresenterCalls(running.host.Calls()), expected);
}

struct FitCase {
    std::int32_t width;
    std::int32_t height;
    const char* transform;  // empty: no fit
};

class FitSource : public testing::TestWithParam<FitCase> {};

TEST_P(FitSource, ScalesToTheCanvasHeightAndCentres) {
    RunningPlugin running(LiveHost());
    running.engine.Send(FromEngine::kCreateSource, Bytes{});
    running.engine.Send(FromEngine::kFitSource,
                        MeruKinetra::SourceSizeMsg{GetParam().width, GetParam().height});
    ASSERT_TRUE(running.engine.WaitIdle());
    const auto calls = PresenterCalls(running.host.Calls());
    const std::string expected = GetParam().transform;
    if (expected.empty()) {
        EXPECT_EQ(running.host.Calls().Count("IPresenterService::GetCanvasSize"), 0u);
    } else {
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "SetSourceTransform " + expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FitSource,
                         testing::Values(FitCase{1280, 720, "0 0 1.5 1.5"},
                                         FitCase{720, 1280, "656.25 0 0.84375 0.84375"},
                                         FitCase{1280, 0, ""}, FitCase{0, 720, ""}));

TEST(SourceAndCamera, FitBeforeAnySourceDoesNothing) {
    RunningPlugin running(LiveHost());
    running.engine.Send(FromEngine::kFitSource, MeruKinetra::SourceSizeMsg{1280, 720});
    ASSERT_TRUE(running.engine.WaitIdle());
    EXPECT_EQ(PresenterCalls(running.host.Calls()), std::vector<std::string>{});
}

}  // namespace
