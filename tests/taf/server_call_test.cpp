// Request frames and reply decoding, including replies that no server should send.
#include "taf/server_call.h"

#include <gtest/gtest.h>

#include <random>

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

// Bodies spelled out entry by entry, duplicates, type-name markers and bytes written one head
// per byte included: a reply reader that builds no maps must read what the packet's maps give.
struct Typed {
    std::string_view type;
    Bytes value;
    bool spelled = false;
};
struct Named {
    std::string_view name;
    std::vector<Typed> types;  // version 3 takes the first's value alone
};

void WriteBytes(TafOutputStream& out, const Typed& typed, Tag tag) {
    if (!typed.spelled) {
        out.writeBytes(typed.value, tag);
        return;
    }
    out.writeListHead(typed.value.size(), tag);
    for (const std::uint8_t byte : typed.value) {
        out.writeInt(static_cast<std::int8_t>(byte), 0);
    }
}

Bytes Framed(std::int16_t version, const std::vector<Named>& entries) {
    TafOutputStream body;
    body.writeMapHead(entries.size(), 0);
    for (const auto& entry : entries) {
        body.writeString(entry.name, 0);
        if (version == 3) {
            WriteBytes(body, entry.types.front(), 1);
            continue;
        }
        body.writeMapHead(entry.types.size(), 1);
        for (const auto& typed : entry.types) {
            body.writeString(typed.type, 0);
            WriteBytes(body, typed, 1);
        }
    }
    Bytes frame = FrameAround(body.toBytes());
    frame[kFrameLengthSize + 1] = static_cast<std::uint8_t>(version);  // iVersion's Int8 payload
    return frame;
}

template <class T>
Bytes Encoded(const T& value) {
    TafOutputStream out;
    writeValue(out, value, 0);
    return out.toBytes();
}

struct ReadBack {
    std::int32_t returned = 0;
    std::int32_t requestId = 0;
    PingRsp response;
    bool operator==(const ReadBack&) const = default;
};

ReadBack ThroughThePacket(const Bytes& frame) {
    UniPacket packet;
    static_cast<void>(packet.decode(frame));
    ReadBack read;
    read.requestId = packet.packet().iRequestId;
    static_cast<void>(packet.get(kReturnAttribute, read.returned));
    static_cast<void>(packet.get(kResponseAttribute, read.response));
    return read;
}

TEST(ServerCall, TheReplyReaderReadsWhatThePacketsMapsGiveOfAnyFrame) {
    const std::string_view own = wireTypeName<PingRsp>();
    const Bytes ret = Encoded(std::int32_t{42});
    const Bytes other = Encoded(PingRsp{9, "other", {}});
    const Bytes filled = Encoded(kFilled);
    const Bytes bases[] = {
        Framed(2, {{"", {{"int32", ret}}},
                   {"tRsp", {{"MERU.Other", other}, {own, filled}, {own, other}}}}),
        Framed(2, {{"tRsp", {{"?", filled, true}}}, {"", {{"int32", ret, true}}}}),
        Framed(2, {{"tRsp", {{"?b", other}}},
                   {"tRsp", {{own, filled}}},
                   {"", {{"int32", Encoded(std::int32_t{1})}}},
                   {"", {{"int32", ret}}}}),
        Framed(2, {{"tRsp", {{"B?", other}, {"A", filled}, {"?", filled, true}, {own, other}}}}),
        Framed(2, {{"tRsp", {{"Z", other}, {"A?", filled}, {"A?", other}}}, {"", {}}}),
        Framed(2, {{"tRsp", {{"?", filled, true}, {"Z", other, true}}},
                   {"", {{"int32", ret, true}, {"?", other, true}}}}),
        Framed(3, {{"", {{"", ret}}}, {"tRsp", {{"", filled, true}}}, {"tRsp", {{"", other}}}}),
    };
    std::vector<Bytes> frames;
    std::mt19937 random(26);
    for (const Bytes& base : bases) {
        for (std::size_t at = 0; at < base.size(); ++at) {
            frames.emplace_back(base.begin(), base.begin() + at);
            for (const std::uint8_t to : {0x00, 0x01, 0x06, 0x08, 0x0C, 0x0D, 0x7F, 0xFF}) {
                frames.push_back(base);
                frames.back()[at] = to;
            }
            frames.push_back(base);
            frames.back()[at] ^= 0x10;  // the same type at the next tag
        }
        for (int i = 0; i < 3000; ++i) {
            frames.push_back(base);
            for (int changes = 1 + i % 4; changes > 0; --changes) {
                frames.back()[random() % base.size()] = static_cast<std::uint8_t>(random());
            }
        }
    }
    std::size_t responses = 0;
    for (const Bytes& frame : frames) {
        const ReadBack expected = ThroughThePacket(frame);
        ReadBack read;
        read.returned = decodeReply(frame, read.response, &read.requestId);
        ASSERT_EQ(read, expected) << test::ToHex(frame);
        ASSERT_EQ(decodeReturnValue(frame), expected.returned) << test::ToHex(frame);
        responses += expected.response != PingRsp{} ? 1 : 0;
    }
    // The mutations leave most frames readable, so the comparison is mostly of found values.
    EXPECT_GT(responses, frames.size() / 4);
}

}  // namespace
}  // namespace taf
