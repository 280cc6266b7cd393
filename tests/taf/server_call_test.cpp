// Request frames and reply decoding, including replies that no server should send.
#include "taf/server_call.h"

#include <gtest/gtest.h>

#include "support/allocation_probe.h"
#include "support/hex.h"
#include "taf/request_records.h"

namespace taf {
namespace {

using test::Hex;
using test::PingRsp;

const PingRsp kFilled{3, "pong", {{1, "a"}, {2, "b"}}};

Bytes Reply(bool withReturn, bool withResponse, std::string_view responseType) {
    UniPacket packet;
    packet.packet().sServantName = "s";
    packet.packet().sFuncName = "f";
    packet.packet().iRequestId = 17;
    if (withReturn) {
        packet.put(kReturnAttribute, std::int32_t{42});
    }
    if (withResponse) {
        TafOutputStream value;
        writeValue(value, kFilled, 0);
        packet.attribute().putEncoded(kResponseAttribute, responseType, value.toBytes());
    }
    Bytes frame;
    packet.encode(frame);
    return frame;
}

TEST(ServerCall, RepliesYieldTheirReturnValueAndResponse) {
    const struct {
        const char* what;
        Bytes frame;
        std::int32_t ret;
        bool response;
    } cases[] = {
        {"full reply", Reply(true, true, wireTypeName<PingRsp>()), 42, true},
        {"response under an unknown type name", Reply(true, true, "?"), 42, true},
        {"response under another type name", Reply(true, true, "MERU.Other"), 42, false},
        {"no return value", Reply(false, true, wireTypeName<PingRsp>()), 0, true},
        {"no response", Reply(true, false, ""), 42, false},
    };
    for (const auto& c : cases) {
        PingRsp response;
        std::int32_t requestId = 0;
        EXPECT_EQ(decodeReply(c.frame, response, &requestId), c.ret) << c.what;
        EXPECT_EQ(response, c.response ? kFilled : PingRsp{}) << c.what;
        EXPECT_EQ(requestId, 17) << c.what;
        EXPECT_EQ(decodeReturnValue(c.frame), c.ret) << c.what;
    }
}

// The request frame is the one a packet holding the request as its only attribute encodes.
TEST(ServerCall, RequestFramesAreThoseOfAPacketWithTheOneAttribute) {
    test::PingReq withIdentity;
    withIdentity.tId.lUid = 77;
    withIdentity.tId.sGuid = "guid";
    withIdentity.sText = std::string(300, 'x');
    const struct {
        std::string_view servant, function;
        std::int32_t requestId;
        test::PingReq request;
    } cases[] = {
        {"mobileui", "getMobileUpdateInfo", 0, {}},
        {"s", "f", 9, withIdentity},
        {"", "f", 0, {}},
        {"s", "", 0, {}},
    };
    Bytes frame = {1, 2, 3};
    for (const auto& c : cases) {
        UniPacket packet;
        packet.packet().sServantName = c.servant;
        packet.packet().sFuncName = c.function;
        packet.packet().iRequestId = c.requestId;
        static_cast<void>(packet.put(kRequestAttribute, c.request));
        Bytes expected;
        static_cast<void>(packet.encode(expected));
        encodeRequest(c.servant, c.function, c.requestId, c.request, frame);
        EXPECT_EQ(frame, expected) << c.servant << "/" << c.function;
    }
}

// Replies are read into the thread's packet; nothing of one reply shows in the next.
TEST(ServerCall, AReplyKeepsNothingOfTheOneBefore) {
    const Bytes full = Reply(true, true, wireTypeName<PingRsp>());
    const Bytes others[] = {Hex("00 00 03"), Reply(false, false, ""), Bytes(12, 0)};
    for (const auto& other : others) {
        PingRsp response;
        EXPECT_EQ(decodeReply(full, response), 42);
        PingRsp untouched;
        EXPECT_EQ(decodeReply(other, untouched), 0) << test::ToHex(other);
        EXPECT_EQ(untouched, PingRsp{}) << test::ToHex(other);
    }
}

// A frame around `body`, however malformed the body is.
Bytes FrameAround(Bytes body) {
    RequestPacket packet;
    packet.iVersion = 2;
    packet.sServantName = "s";
    packet.sFuncName = "f";
    packet.sBuffer = std::move(body);
    Bytes frame(kFrameLengthSize, 0);
    const Bytes rest = toBytes(packet);
    frame.insert(frame.end(), rest.begin(), rest.end());
    return frame;
}

// A body holding `value` as "tRsp" under the response's type name.
Bytes BodyWithResponse(const Bytes& value) {
    UniAttribute attribute;
    attribute.putEncoded(kResponseAttribute, wireTypeName<PingRsp>(), value);
    TafOutputStream out;
    attribute.writeBody(out, false);
    return out.toBytes();
}

Bytes NestedStructs(std::size_t levels) {
    Bytes value(levels, 0x0A);
    value.insert(value.end(), levels, 0x0B);
    return value;
}

TEST(ServerCall, HostileRepliesDecodeToDefaultsWithinBoundedMemory) {
    const Bytes whole = Reply(true, true, wireTypeName<PingRsp>());
    const std::pair<const char*, Bytes> cases[] = {
        {"frame cut in half", Bytes(whole.begin(), whole.begin() + whole.size() / 2)},
        {"frame cut before the body", Bytes(whole.begin(), whole.begin() + 12)},
        {"body map claiming 2^31 entries", FrameAround(Hex("08 02 7f ff ff ff 06 00"))},
        {"inner map claiming 2^31 entries",
         FrameAround(Hex("08 00 01 06 04 74 52 73 70 18 02 7f ff ff ff"))},
        {"response nested 10,000 levels deep", FrameAround(BodyWithResponse(NestedStructs(10000)))},
        {"body nested 10,000 levels deep", FrameAround(NestedStructs(10000))},
        {"a megabyte of StructBegin", Bytes(1 << 20, 0x0A)},
    };
    for (const auto& [what, frame] : cases) {
        PingRsp response;
        test::AllocationProbe probe;
        EXPECT_EQ(decodeReply(frame, response), 0) << what;
        EXPECT_LE(probe.totalBytes(), 8 * frame.size() + 64 * 1024) << what;
        EXPECT_EQ(response, PingRsp{}) << what;
    }
}

}  // namespace
}  // namespace taf
