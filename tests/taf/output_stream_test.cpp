#include "taf/output_stream.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/hex.h"

namespace taf {
namespace {

using test::Hex;
using test::ToHex;

TEST(TafOutputStream, IntegersTakeTheSmallestFormThatHoldsThem) {
    const struct {
        std::int64_t value;
        const char* bytes;  // at tag 3
    } cases[] = {
        {0, "3c"},
        {1, "30 01"},
        {-1, "30 ff"},
        {127, "30 7f"},
        {-128, "30 80"},
        {128, "31 00 80"},
        {-129, "31 ff 7f"},
        {300, "31 01 2c"},
        {32767, "31 7f ff"},
        {-32768, "31 80 00"},
        {32768, "32 00 00 80 00"},
        {-32769, "32 ff ff 7f ff"},
        {2147483647, "32 7f ff ff ff"},
        {-2147483648LL, "32 80 00 00 00"},
        {2147483648LL, "33 00 00 00 00 80 00 00 00"},
        {-2147483649LL, "33 ff ff ff ff 7f ff ff ff"},
    };
    for (const auto& c : cases) {
        TafOutputStream out;
        out.writeInt(c.value, 3);
        EXPECT_EQ(ToHex(out.toBytes()), ToHex(Hex(c.bytes))) << c.value;
    }
}

TEST(TafOutputStream, WritesEachKindInItsWireForm) {
    const std::string s255(255, 'x');
    const std::string s256(256, 'x');
    const Bytes three = {1, 2, 3};
    const struct {
        const char* what;
        std::function<void(TafOutputStream&)> write;
        std::string bytes;
    } cases[] = {
        {"tag 14: one-byte head", [](auto& o) { o.writeInt(1, 14); }, "e0 01"},
        {"tag 15: two-byte head", [](auto& o) { o.writeInt(1, 15); }, "f0 0f 01"},
        {"tag 255", [](auto& o) { o.writeInt(0, 255); }, "fc ff"},
        {"zero at tag 20", [](auto& o) { o.writeInt(0, 20); }, "fc 14"},
        {"true", [](auto& o) { o.writeBool(true, 1); }, "10 01"},
        {"false", [](auto& o) { o.writeBool(false, 1); }, "1c"},
        {"double zero is never narrowed", [](auto& o) { o.writeDouble(0.0, 2); },
         "25 00 00 00 00 00 00 00 00"},
        {"double", [](auto& o) { o.writeDouble(-2.5, 2); }, "25 c0 04 00 00 00 00 00 00"},
        {"\"abc\" at tag 5", [](auto& o) { o.writeString("abc", 5); }, "56 03 61 62 63"},
        {"empty string", [](auto& o) { o.writeString("", 0); }, "06 00"},
        {"empty byte vector at tag 7", [](auto& o) { o.writeBytes({}, 7); }, "7d 00 0c"},
        {"byte vector", [&](auto& o) { o.writeBytes(three, 1); }, "1d 00 00 03 01 02 03"},
        {"empty list", [](auto& o) { o.writeListHead(0, 4); }, "49 0c"},
        {"map of 200", [](auto& o) { o.writeMapHead(200, 4); }, "48 01 00 c8"},
        {"struct markers",
         [](auto& o) {
             o.writeStructBegin(16);
             o.writeStructEnd();
         },
         "fa 10 0b"},
        {"raw float", [](auto& o) { o.appendFloat(1.0f); }, "3f 80 00 00"},
    };
    for (const auto& c : cases) {
        TafOutputStream out;
        c.write(out);
        EXPECT_EQ(ToHex(out.toBytes()), ToHex(Hex(c.bytes))) << c.what;
    }

    TafOutputStream out;
    out.writeString(s255, 0);
    out.writeString(s256, 1);
    ASSERT_EQ(out.size(), 2 + 255 + 5 + 256u);
    EXPECT_EQ(out.data()[0], 0x06);
    EXPECT_EQ(out.data()[1], 0xFF);
    EXPECT_EQ(ToHex(Bytes(out.data() + 257, out.data() + 262)), "17 00 00 01 00");
}

TEST(TafOutputStream, RefusesStringsOverTheLimitAndWritesNothingForThem) {
    TafOutputStream out;
    out.writeInt(1, 0);
    const std::string tooLong(kMaxStringLength + 1, 'a');
    EXPECT_EQ(out.writeString(tooLong, 1), kInvalidData);
    EXPECT_EQ(ToHex(out.toBytes()), "00 01");
}

TEST(TafOutputStream, GrowsToTwiceTheNeededSizeAndKeepsItsBufferOnReset) {
    TafOutputStream out;
    EXPECT_EQ(out.capacity(), 0u);
    out.writeHead(TafType::Int8, 0);
    EXPECT_EQ(out.capacity(), 2u);
    const Bytes payload = {1, 2, 3};
    out.append(payload);
    EXPECT_EQ(out.capacity(), 8u);
    EXPECT_EQ(ToHex(out.toBytes()), "00 01 02 03");

    const std::uint8_t* buffer = out.data();
    out.reset();
    EXPECT_EQ(out.size(), 0u);
    out.writeInt(5, 0);
    EXPECT_EQ(out.data(), buffer);
    EXPECT_EQ(ToHex(out.toBytes()), "00 05");
}

}  // namespace
}  // namespace taf
