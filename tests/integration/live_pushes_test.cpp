// Server pushes forwarded to the engine and the presenter dialog, through the real library. A
// viewer message, an item for the signed-in user, a subscribed push and a two-button dialog are
// pinned by the on_air scenario's trace; a subscribed push passed on raw until the engine
// unsubscribes, by the push_subscriptions scenario's trace.
#include <gtest/gtest.h>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/live_messages.h"
#include "taf/records/live_pushes.h"
#include "taf/records/presenter_messages.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using live_test::LiveHost;
using live_test::TakeTasks;
using testing_support::RunningPlugin;

TEST(LivePushes, ItemSendReachesTheEngineOnlyForTheSignedInUser) {
    RunningPlugin running(LiveHost());
    MERU::SendItemSubBroadcastPacket packet{1, 2, 0, "six", 9, "fourteen", "twenty", 0};
    packet.lReceiverUid3 = 1;  // someone else
    running.host.Signal().Push(kinetra::kSendItemUri, packet);
    packet.lReceiverUid25 = LiveHost().uid;
    running.host.Signal().Push(kinetra::kSendItemUri, packet);
    const auto item = running.engine.WaitForRecord<MeruKinetra::SendItemMsg>(ToEngine::kItemSend);
    ASSERT_TRUE(item);
    EXPECT_EQ(taf::toBytes(*item), taf::toBytes(MeruKinetra::SendItemMsg{
                                       1, "twenty", 2, "six", 9, "fourteen", LiveHost().uid}));
    ASSERT_TRUE(running.host.Signal().WaitIdle(std::chrono::seconds(5)));
    ASSERT_TRUE(running.engine.WaitIdle());
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kItemSend), 1u);
}

struct DialogCase {
    const char* name;
    MeruKinetra::PresenterDialogReq request;
    const char* json;
};

class PresenterDialog : public testing::TestWithParam<DialogCase> {};

TEST_P(PresenterDialog, ShowsTheJsonAndReturnsTheResultWithTheSeq) {
    RunningPlugin running(LiveHost());
    running.engine.Send(FromEngine::kPresenterDialog, GetParam().request);
    ASSERT_TRUE(running.engine.WaitIdle());
    for (const auto& call : running.host.Calls().Calls()) {
        if (call.name == "IPresenterService::ShowDialog") {
            EXPECT_EQ(call.details, GetParam().json);
        }
    }
    ASSERT_TRUE(running.host.Presenter().AnswerDialog(2));
    const auto result = running.engine.WaitForRecord<MeruKinetra::PresenterDialogResult>(
        ToEngine::kPresenterDialogResult);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->seq, GetParam().request.seq);
    EXPECT_EQ(result->result, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, PresenterDialog,
    testing::Values(DialogCase{"none",
                               {"Title", "Text", "", 1, "", 2, 17},
                               R"({"caption":"Title","content":"Text","buttons":[]})"},
                    DialogCase{
                        "second_only",
                        {"T", "C", "", 1, "No", 2, -4},
                        R"({"caption":"T","content":"C","buttons":[{"text":"No","id":2}]})"}),
    [](const auto& param) { return std::string(param.param.name); });

// An engine that opens dialogs without end keeps only the newest open per instance: the
// presenter's answers to the forgotten ones reach nobody.
TEST(PresenterDialogLifetime, OnlyTheNewestDialogsStayOpen) {
    constexpr std::int32_t kShown = 200;
    constexpr std::int32_t kKept = 64;
    RunningPlugin running(LiveHost());
    for (std::int32_t seq = 1; seq <= kShown; ++seq) {
        running.engine.Send(FromEngine::kPresenterDialog,
                            MeruKinetra::PresenterDialogReq{"T", "C", "", 1, "", 2, seq});
    }
    ASSERT_TRUE(running.engine.WaitIdle());
    while (running.host.Presenter().AnswerDialog(1)) {
    }
    const auto first = running.engine.WaitForRecord<MeruKinetra::PresenterDialogResult>(
        ToEngine::kPresenterDialogResult);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->seq, kShown - kKept + 1);
    ASSERT_TRUE(running.engine.WaitIdle());
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kPresenterDialogResult),
              static_cast<std::size_t>(kKept));
}

TEST(PresenterDialogLifetime, AnswerAfterTheInstanceIsGoneSendsNothing) {
    RunningPlugin running(LiveHost());
    running.engine.Send(FromEngine::kPresenterDialog, MeruKinetra::PresenterDialogReq{});
    ASSERT_TRUE(running.engine.WaitIdle());
    // The start configuration's request holds the instance until it is answered or released.
    TakeTasks(running.host.Signal());
    running.plugin.DestroyModule();
    ASSERT_TRUE(running.host.Presenter().AnswerDialog(1));
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kPresenterDialogResult), 0u);
}

}  // namespace
