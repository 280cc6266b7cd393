// The gift list through the real library: cached across starts, handed to the engine in the init
// data with exactly its declared tags, and late replies. The request every start makes is pinned
// by the scenario traces.
#include <gtest/gtest.h>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/live_messages.h"
#include "taf/records/props_list.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using live_test::Calls;
using live_test::LiveHost;
using live_test::TakeTasks;
using taf::Bytes;
using testing_support::RunningPlugin;

std::optional<sim::PendingTask> TakeGiftListRequest(RunningPlugin& running) {
    for (auto& task : TakeTasks(running.host.Signal())) {
        if (Calls(task, taf::kGetPropsList)) {
            return std::move(task);
        }
    }
    return std::nullopt;
}

MERU::PropsItem SampleItem() {
    MERU::PropsItem item;
    item.iField1 = 20;
    item.sField2 = "rose";
    item.vField11 = {1, 2};
    item.vField16 = {MERU::PropsItemInfoA{}};
    item.vField16[0].iField22 = 300;
    item.tField19.iField11 = 5;
    item.tField20.sField9 = "c9";
    item.vField33 = {1LL << 40};
    item.vField34 = {MERU::PropsItemInfoD{}};
    item.vField34[0].mpField2 = {{7, -2}};
    item.iField35 = 1;
    item.iField38 = 38;
    return item;
}

TEST(GiftList, ASecondStartAsksAgainOnlyAfterAFailure) {
    RunningPlugin running(LiveHost());
    auto first = TakeGiftListRequest(running);
    ASSERT_TRUE(first);
    first->Answer(sim::Reply::TimeOut());
    running.instance->Start();
    auto second = TakeGiftListRequest(running);
    ASSERT_TRUE(second);
    MERU::GetPropsListRsp list;
    list.vPropsItemList = {SampleItem()};
    second->Answer(sim::Reply::Of(0, list));
    running.instance->Start();
    EXPECT_FALSE(TakeGiftListRequest(running));
}

TEST(GiftList, ItemsWithUnknownTagsReachTheEngineWithExactlyTheDeclaredOnes) {
    RunningPlugin running(LiveHost());
    auto task = TakeGiftListRequest(running);
    ASSERT_TRUE(task);
    MERU::GetPropsListRsp list;
    list.vPropsItemList = {SampleItem(), MERU::PropsItem{}};
    list.sText = "gifts";
    list.iValue3 = 3;
    list.iValue5 = -300;
    // The first item carries a tag no table declares (39, a string) before its end.
    Bytes fields = taf::toBytes(list);
    const Bytes declared = taf::toBytes(list.vPropsItemList[0]);
    const Bytes unknown = {0xF6, 39, 0x02, 'x', 'y'};
    const auto at = std::search(fields.begin(), fields.end(), declared.begin(), declared.end());
    ASSERT_NE(at, fields.end());
    fields.insert(at + static_cast<std::ptrdiff_t>(declared.size()), unknown.begin(),
                  unknown.end());
    task->Answer(sim::Reply::Fields(0, fields, "MERU.GetPropsListRsp"));

    running.engine.Send(FromEngine::kOpenState, MeruKinetra::OpenStateMsg{1, 2});
    const auto init = running.engine.WaitForRecord<MeruKinetra::InitDataMsg>(ToEngine::kInitData);
    ASSERT_TRUE(init);
    EXPECT_EQ(init->vGiftList, taf::toBytes(list));
}

TEST(GiftList, AReplyAfterTheInstanceIsGoneIsHarmless) {
    RunningPlugin running(LiveHost());
    auto task = TakeGiftListRequest(running);
    ASSERT_TRUE(task);
    running.plugin.DestroyModule();
    MERU::GetPropsListRsp list;
    list.vPropsItemList = {SampleItem()};
    EXPECT_TRUE(task->Answer(sim::Reply::Of(0, list)));
}

}  // namespace
