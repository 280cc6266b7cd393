#include "taf/output_stream.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/hex.h"

namespace taf {
namespace {

using test::Hex;
using test::ToHex;

TEST(TafOutputStream, IntegersTakeTheSmallestFormThatHoldsThem) {
    // Each value at tag 3.
    const std::pair<std::int64_t, const char*> cases[] = {
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
    for (const auto& [value, bytes] : cases) {
        TafOutputStream out;
        out.writeInt(value, 3);
        EXPECT_EQ(ToHex(out.toBytes()), ToHex(Hex(bytes))) << value;
    }
}

TEST(TafOutputStream, WritesEachKindInItsWireForm) {
    const std::string x255 = ToHex(Bytes(255, 'x'));
    const struct {
        const char* what;
        std::function<void(TafOutputStream&)> write;
        std::string bytes;
    } cases[] = {
        {"tag 14: one-byte head", [](auto& o) { o.writeInt(1, 14); }, "e0 01"},
        {"tag 15: two-byte head", [](auto& o) { o.writeInt(1, 15); }, "f0 0f 01"},
        {"tag 255", [](auto& o) { o.writeInt(0, 255); }, "fc ff"},
        {"zero at tag 20", [](auto& o) { o.writeInt(0, 20); }, "fc 14"},
        {"false", [](auto& o) { o.writeBool(false, 1); }, "1c"},
        {"double zero is never narrowed", [](auto& o) { o.writeDouble(0.0, 2); },
         "25 00 00 00 00 00 00 00 00"},
        {"raw float", [](auto& o) { o.appendFloat(1.0f); }, "3f 80 00 00"},
        {"float zero is never narrowed", [](auto& o) { o.writeFloat(0.0f, 1); }, "14 00 00 00 00"},
        {"\"abc\" at tag 5", [](auto& o) { o.writeString("abc", 5); }, "56 03 61 62 63"},
        {"255 bytes: String1", [](auto& o) { o.writeString(std::string(255, 'x'), 0); },
         "06 ff " + x255},
        {"256 bytes: String4", [](auto& o) { o.writeString(std::string(256, 'x'), 1); },
         "17 00 00 01 00 78 " + x255},
    };
    for (const auto& c : cases) {
        TafOutputStream out;
        c.write(out);
        EXPECT_EQ(ToHex(out.toBytes()), ToHex(Hex(c.bytes))) << c.what;
    }
}

TEST(TafOutputStream, RefusesStringsOverTheLimitAndWritesNothingForThem) {
    TafOutputStream out;
    out.writeInt(1, 0);
    EXPECT_EQ(out.writeString(std::string(kMaxStringLength + 1, 'a'), 1), kInvalidData);
    EXPECT_EQ(out.toBytes(), Hex("00 01"));
}

}  // namespace
}  // namespace taf
