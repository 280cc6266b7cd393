// The framed request packet and its UniAttribute body: wire vectors, versions, type-name
// matching, and the packet reader that stops at its first failing field.
#include "taf/uni_packet.h"

#include <gtest/gtest.h>

#include "support/hex.h"
#include "taf/test_records.h"

namespace taf {
namespace {

using test::Ascii;
using test::Hex;
using test::Inner;
using test::ToHex;

TEST(UniPacket, RequestFrameHasTheDocumentedLayout) {
    UniPacket packet;
    packet.packet().sServantName = "mobileui";
    packet.packet().sFuncName = "getMobileUpdateInfo";
    ASSERT_EQ(packet.put("tReq", Inner{5, ""}), kOk);
    Bytes frame;
    ASSERT_EQ(packet.encode(frame), kOk);

    const std::string body = "08 00 01 06 04 " + Ascii("tReq") + " 18 00 01 06 0a " +
                             Ascii("MERU.Inner") + " 1d 00 00 06 0a 00 05 16 00 0b";
    const std::string expected = "00 00 00 53 10 02 2c 3c 4c 56 08 " + Ascii("mobileui") +
                                 " 66 13 " + Ascii("getMobileUpdateInfo") + " 7d 00 00 22 " + body +
                                 " 8c 98 0c a8 0c";
    EXPECT_EQ(ToHex(frame), ToHex(Hex(expected)));

    UniPacket decoded;
    ASSERT_EQ(decoded.decode(frame), kOk);
    EXPECT_EQ(decoded.packet(), packet.packet());
    Inner value;
    EXPECT_EQ(decoded.get("tReq", value), kOk);
    EXPECT_EQ(value, (Inner{5, ""}));
}

TEST(UniPacket, EncodeRefusesMissingNamesAndDecodeShortFrames) {
    UniPacket packet;
    Bytes frame = {1};
    packet.packet().sFuncName = "f";
    EXPECT_EQ(packet.encode(frame), kNoServantName);
    EXPECT_TRUE(frame.empty());
    packet.packet().sServantName = "s";
    packet.packet().sFuncName.clear();
    EXPECT_EQ(packet.encode(frame), kNoFunctionName);
    EXPECT_TRUE(frame.empty());

    UniPacket fresh;
    EXPECT_EQ(fresh.decode(Hex("00 00 03")), kFrameTooShort);
    EXPECT_TRUE(fresh.packet().sServantName.empty());
    EXPECT_TRUE(fresh.packet().sBuffer.empty());
    EXPECT_TRUE(fresh.attribute().values2().empty());
}

TEST(UniPacket, VersionThreeBodiesRoundTrip) {
    UniPacket packet;
    packet.setVersion(3);
    packet.packet().sServantName = "s";
    packet.packet().sFuncName = "f";
    packet.put("tRsp", Inner{9, "nine"});
    packet.put("", std::int32_t{-4});
    Bytes frame;
    ASSERT_EQ(packet.encode(frame), kOk);
    // Version 3 files values under their names only: "" and "tRsp", no type names.
    EXPECT_EQ(Bytes(frame.begin() + 19, frame.begin() + 29), Hex("08 00 02 06 00 1d 00 00 02 00"));

    UniPacket decoded;
    ASSERT_EQ(decoded.decode(frame), kOk);
    EXPECT_EQ(decoded.attribute().version(), 3);
    Inner value;
    std::int32_t ret = 0;
    EXPECT_EQ(decoded.get("tRsp", value), kOk);
    EXPECT_EQ(decoded.get("", ret), kOk);
    EXPECT_EQ(value, (Inner{9, "nine"}));
    EXPECT_EQ(ret, -4);
}

TEST(UniAttribute, GetMatchesTypeNamesWithTheFallback) {
    const Bytes stored = Hex("0a 00 05 16 01 61 0b");
    // Type names that each hold `stored`, and whether the value is read.
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"MERU.Inner"}, true},
        {{"?"}, true},
        {{"MERU.?Other"}, true},
        {{"MERU.Other"}, false},
        {{"MERU.Inner", "?"}, true},
        // Only the first (smallest) type name may carry the marker.
        {{"MERU.Other", "Z?"}, false},
        {{}, false},
    };
    for (const auto& [typeNames, read] : cases) {
        UniAttribute attribute;
        for (const auto& typeName : typeNames) {
            attribute.putEncoded("tRsp", typeName, stored);
        }
        Inner value{-1, "untouched"};
        EXPECT_EQ(attribute.get("tRsp", value), read ? kOk : kFieldAbsent);
        EXPECT_EQ(value, (read ? Inner{5, "a"} : Inner{-1, "untouched"}))
            << testing::PrintToString(typeNames);
    }
}

TEST(UniAttribute, PutReplacesTheSameTypeAndKeepsOthers) {
    UniAttribute attribute;
    attribute.putEncoded("tRsp", "?", Hex("0a 0b"));
    attribute.put("tRsp", Inner{1, ""});
    attribute.put("tRsp", Inner{2, ""});
    const auto& types = attribute.values2().at("tRsp");
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types.at("MERU.Inner"), Hex("0a 00 02 16 00 0b"));
    EXPECT_EQ(types.at("?"), Hex("0a 0b"));
}

TEST(RequestPacket, ReadingStopsAtTheFirstFailingField) {
    const struct {
        const char* what;
        const char* hex;
        Status status;
        std::int16_t version;
        const char* servant;
    } cases[] = {
        {"complete", "10 02 4c 56 01 73 66 01 66 7d 00 0c", kOk, 2, "s"},
        {"request id missing", "10 02 56 01 73 66 01 66 7d 00 0c", kRequiredMissing, 2, ""},
        {"packet type of the wrong type", "10 02 26 00 56 01 73", kTypeMismatch, 2, ""},
        {"version missing", "4c 56 01 73", kRequiredMissing, 0, ""},
        {"body cut short", "10 02 4c 56 01 73 66 01 66 7d 00 00 05 01", kTruncated, 2, "s"},
    };
    for (const auto& c : cases) {
        const Bytes bytes = Hex(c.hex);
        RequestPacket packet;
        packet.iTimeout = 9;
        TafInputStream in(bytes);
        EXPECT_EQ(readFrom(in, packet), c.status) << c.what;
        EXPECT_EQ(packet.iVersion, c.version) << c.what;
        EXPECT_EQ(packet.sServantName, c.servant) << c.what;
        EXPECT_EQ(packet.iTimeout, 0) << c.what;
    }
}

}  // namespace
}  // namespace taf
