// What servers send off the happy path, through the real library: records with a field in a
// form the reader does not take keep everything else, lists as long as servers make them
// decode whole, and audio samples whose product rounds differently in single precision.
#include <gtest/gtest.h>

#include <cmath>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/engine_audio.h"
#include "taf/records/live_messages.h"
#include "taf/records/live_pushes.h"
#include "taf/records/props_list.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using live_test::LiveHost;
using live_test::TakeTasks;
using taf::Bytes;
using taf::TafOutputStream;
using testing_support::RunningPlugin;

// Answers the start's gift-list request with `fields` and returns the list the engine then
// receives in its init data, decoded.
MERU::GetPropsListRsp GiftListReachingTheEngine(const Bytes& fields) {
    RunningPlugin running(LiveHost());
    for (auto& task : TakeTasks(running.host.Signal())) {
        if (live_test::Calls(task, taf::kGetPropsList)) {
            task.Answer(sim::Reply::Fields(0, fields, "MERU.GetPropsListRsp"));
        }
    }
    running.engine.Send(FromEngine::kOpenState, MeruKinetra::OpenStateMsg{1, 2});
    const auto init = running.engine.WaitForRecord<MeruKinetra::InitDataMsg>(ToEngine::kInitData);
    MERU::GetPropsListRsp list;
    EXPECT_TRUE(init && taf::fromBytes(init->vGiftList, list) == taf::kOk);
    return list;
}

// An item as a server that knows only the first two fields writes it.
void WriteTwoFieldItem(TafOutputStream& out, std::int32_t id, const std::string& name) {
    out.writeStructBegin(0);
    out.writeInt(id, 1);
    out.writeString(name, 2);
    out.writeStructEnd();
}

MERU::PropsItem TwoFieldItem(std::int32_t id, const std::string& name) {
    MERU::PropsItem item;
    item.iField1 = id;
    item.sField2 = name;
    return item;
}

TEST(PartialRecords, AGiftItemWithAnOddFieldKeepsTheFieldsAroundIt) {
    MERU::PropsItem first;
    first.iField1 = 4;
    first.sField2 = "rose";
    first.vField34 = {MERU::PropsItemInfoD{}};
    first.vField34[0].mpField2 = {{7, -2}};
    first.iField38 = 38;
    TafOutputStream out;
    out.writeListHead(3, 1);
    taf::writeValue(out, first, 0);
    // The second item has a zero where its name belongs, between its id and its price.
    out.writeStructBegin(0);
    out.writeInt(12, 1);
    out.writeInt(0, 2);
    out.writeInt(500, 3);
    out.writeString("rocket", 15);
    out.writeStructEnd();
    taf::writeValue(out, first, 0);
    out.writeString("gifts", 2);
    out.writeInt(std::int16_t{3}, 3);

    MERU::GetPropsListRsp expected;
    MERU::PropsItem second;
    second.iField1 = 12;
    second.iField3 = 500;
    second.sField15 = "rocket";
    // Reading the list stops at the failing item; the list keeps its declared length.
    expected.vPropsItemList = {first, second, MERU::PropsItem{}};
    expected.sText = "gifts";
    expected.iValue3 = 3;
    EXPECT_EQ(taf::toBytes(GiftListReachingTheEngine(out.toBytes())), taf::toBytes(expected));
}

TEST(PartialRecords, GiftListsOfManyTwoFieldItemsArriveWhole) {
    for (const std::int32_t count : {3'000, 20'000}) {
        TafOutputStream out;
        out.writeListHead(static_cast<std::size_t>(count), 1);
        MERU::GetPropsListRsp expected;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::string name = "gift " + std::to_string(i);
            WriteTwoFieldItem(out, i, name);
            expected.vPropsItemList.push_back(TwoFieldItem(i, name));
        }
        const MERU::GetPropsListRsp received = GiftListReachingTheEngine(out.toBytes());
        EXPECT_EQ(received.vPropsItemList.size(), static_cast<std::size_t>(count));
        EXPECT_TRUE(taf::toBytes(received) == taf::toBytes(expected)) << count;
    }
}

TEST(PartialRecords, AViewerMessageSenderWithAnOddFieldKeepsItsOtherText) {
    RunningPlugin running(LiveHost());
    TafOutputStream out;
    out.writeStructBegin(0);
    out.writeInt(0, 2);  // a zero where a text belongs
    out.writeString("ada-avatar", 4);
    out.writeStructEnd();
    out.writeString("hello", 3);
    running.host.Signal().Push(kinetra::kMessageNoticeUri, out.toBytes());
    const auto message =
        running.engine.WaitForRecord<MeruKinetra::MessageNoticeMsg>(ToEngine::kViewerMessage);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->sSenderText1, "");
    EXPECT_EQ(message->sSenderText2, "ada-avatar");
    EXPECT_EQ(message->sNoticeText, "hello");
}

// Samples whose product with 32767 lies just beside a whole number that single precision
// rounds it onto: truncating the rounded product would be one step off.
std::vector<float> SamplesWhereFloatRoundingChangesTheResult(std::size_t count) {
    std::vector<float> samples;
    for (int k = 1; samples.size() < count && k <= 32767; ++k) {
        for (const float sign : {1.0f, -1.0f}) {
            float x = sign * static_cast<float>(k) / 32767.0f;
            for (int step = 0; step < 3; ++step, x = std::nextafter(x, 0.0f)) {
                if (std::trunc(x * 32767.0f) != std::trunc(static_cast<double>(x) * 32767.0)) {
                    samples.push_back(x);
                    break;
                }
            }
        }
    }
    return samples;
}

TEST(PartialRecords, AudioSamplesAreScaledInDoublePrecision) {
    constexpr std::size_t kFrames = 1024;
    const std::vector<float> samples = SamplesWhereFloatRoundingChangesTheResult(2 * kFrames);
    ASSERT_EQ(samples.size(), 2 * kFrames);
    sim::AudioDelivery delivery;
    delivery.frames = kFrames;
    delivery.planes[0].assign(samples.begin(), samples.begin() + kFrames);
    delivery.planes[1].assign(samples.begin() + kFrames, samples.end());
    std::string expected;
    for (std::size_t i = 0; i < kFrames; ++i) {
        for (const auto& plane : delivery.planes) {
            const auto value = static_cast<std::uint16_t>(
                static_cast<std::int16_t>(std::trunc(static_cast<double>(plane[i]) * 32767.0)));
            expected.push_back(static_cast<char>(value & 0xFF));
            expected.push_back(static_cast<char>(value >> 8));
        }
    }

    RunningPlugin running;
    running.host.Audio().Deliver(delivery);
    const auto block =
        running.engine.WaitForRecord<MeruKinetra::AudioFrameMsg>(ToEngine::kAudioData);
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->sPcm == expected);
}

}  // namespace
