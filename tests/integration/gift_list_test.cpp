// The gift list through the real library: cached across starts, handed to the engine in the init
// data with exactly its declared tags, lists as long as servers make them, and late replies. The
// request every start makes is pinned by the scenario traces, an item with a field in a form the
// reader does not take by the odd_fields scenario's trace.
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

// Answers the start's gift-list request with `fields`; the list the engine then receives in its
// init data.
Bytes GiftListReachingTheEngine(const Bytes& fields) {
    RunningPlugin running(LiveHost());
    auto task = TakeGiftListRequest(running);
    EXPECT_TRUE(task);
    if (!task) {
        return {};
    }
    task->Answer(sim::Reply::Fields(0, fields, "MERU.GetPropsListRsp"));
    running.engine.Send(FromEngine::kOpenState, MeruKinetra::OpenStateMsg{1, 2});
    const auto init = running.engine.WaitForRecord<MeruKinetra::InitDataMsg>(ToEngine::kInitData);
    EXPECT_TRUE(init);
    return init ? init->vGiftList : Bytes{};
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
    EXPECT_EQ(GiftListReachingTheEngine(fields), taf::toBytes(list));
}

// Items as a server that knows only their first two fields writes them: the decoding budget
// holds lists of this length whole.
TEST(GiftList, ListsOfManyTwoFieldItemsArriveWhole) {
    for (const std::int32_t count : {3'000, 20'000}) {
        taf::TafOutputStream out;
        out.writeListHead(static_cast<std::size_t>(count), 1);
        MERU::GetPropsListRsp expected;
        for (std::int32_t i = 0; i < count; ++i) {
            MERU::PropsItem item;
            item.iField1 = i;
            item.sField2 = "gift " + std::to_string(i);
            out.writeStructBegin(0);
            out.writeInt(item.iField1, 1);
            out.writeString(item.sField2, 2);
            out.writeStructEnd();
            expected.vPropsItemList.push_back(std::move(item));
        }
        EXPECT_TRUE(GiftListReachingTheEngine(out.toBytes()) == taf::toBytes(expected)) << count;
    }
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
