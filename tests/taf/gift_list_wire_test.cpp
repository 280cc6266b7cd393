// The gift list is the largest reply the plug-in decodes and re-encodes for the engine: its
// bytes are pinned, so a change to the codec's machinery that alters the wire fails here, and
// decoding into records that already hold other data must leave nothing of that data behind.
#include <gtest/gtest.h>

#include <cstdint>

#include "support/props_sample.h"
#include "taf/codec.h"

namespace taf {
namespace {

std::uint64_t Fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 0x100000001b3;
    }
    return hash;
}

TEST(GiftListWire, TheTwoHundredItemReplyKeepsItsBytes) {
    const Bytes bytes = toBytes(test::SampleGiftList(200));
    EXPECT_EQ(bytes.size(), 84545u);
    EXPECT_EQ(Fnv1a(bytes), 0x4d1e56bdeb90e924u);
}

// Each step decodes into the record the previous step filled: more items, fewer items, none.
TEST(GiftListWire, DecodingIntoAFilledRecordGivesTheSameRecordAsDecodingIntoAFreshOne) {
    MERU::GetPropsListRsp reused = test::SampleGiftList(3);
    for (const int count : {200, 7, 0, 12}) {
        MERU::GetPropsListRsp source = test::SampleGiftList(count);
        if (count == 7) {
            // Absent and emptied fields must not keep what the previous decode left.
            source.vPropsItemList[2].vField34.clear();
            source.vPropsItemList[3].vField16[0].sField3.clear();
            source.vPropsItemList[4].vField34[0].mpField2.clear();
        }
        const Bytes bytes = toBytes(source);
        ASSERT_EQ(fromBytes(bytes, reused), kOk) << count;
        MERU::GetPropsListRsp fresh;
        ASSERT_EQ(fromBytes(bytes, fresh), kOk) << count;
        EXPECT_EQ(toBytes(reused), bytes) << count;
        EXPECT_EQ(toBytes(fresh), bytes) << count;
    }
}

}  // namespace
}  // namespace taf
