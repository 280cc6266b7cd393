#include "taf/input_stream.h"

#include <gtest/gtest.h>

#include "support/hex.h"
#include "taf/output_stream.h"

namespace taf {
namespace {

using test::Hex;
using test::ToHex;

enum class Target { Bool, Int8, Int16, Int32, Int64, Double, String, Bytes };

struct ReadResult {
    Status status;
    std::string value;  // what the target holds afterwards
};

// Reads tag 0 (or `tag`) of `bytes` into a fresh target of the given kind; every target
// starts at a sentinel so "left unchanged" is visible.
ReadResult ReadAs(Target target, const taf::Bytes& bytes, Tag tag = 0, bool required = true) {
    TafInputStream in(bytes);
    switch (target) {
        case Target::Bool: {
            bool v = true;
            const Status s = in.readBool(v, tag, required);
            return {s, v ? "true" : "false"};
        }
        case Target::Int8: {
            std::int8_t v = 77;
            const Status s = in.readInt(v, tag, required);
            return {s, std::to_string(v)};
        }
        case Target::Int16: {
            std::int16_t v = 77;
            const Status s = in.readInt(v, tag, required);
            return {s, std::to_string(v)};
        }
        case Target::Int32: {
            std::int32_t v = 77;
            const Status s = in.readInt(v, tag, required);
            return {s, std::to_string(v)};
        }
        case Target::Int64: {
            std::int64_t v = 77;
            const Status s = in.readInt(v, tag, required);
            return {s, std::to_string(v)};
        }
        case Target::Double: {
            double v = 77;
            const Status s = in.readDouble(v, tag, required);
            return {s, std::to_string(v)};
        }
        case Target::String: {
            std::string v = "77";
            const Status s = in.readString(v, tag, required);
            return {s, v};
        }
        case Target::Bytes: {
            taf::Bytes v = {0x77};
            const Status s = in.readBytes(v, tag, required);
            return {s, ToHex(v)};
        }
    }
    return {};
}

struct ReadCase {
    Target target;
    const char* bytes;
    Status status;
    std::string value;
};

void CheckReads(const std::vector<ReadCase>& cases) {
    for (const auto& c : cases) {
        const ReadResult result = ReadAs(c.target, Hex(c.bytes));
        EXPECT_EQ(result.status, c.status) << c.bytes << " as target " << int(c.target);
        EXPECT_EQ(result.value, c.value) << c.bytes << " as target " << int(c.target);
    }
}

TEST(TafInputStream, EachTargetAcceptsOnlyItsWireTypes) {
    CheckReads({
        {Target::Int32, "00 05", kOk, "5"},
        {Target::Int32, "01 01 2c", kOk, "300"},
        {Target::Int32, "02 80 00 00 00", kOk, "-2147483648"},
        {Target::Int32, "0c", kOk, "0"},
        {Target::Int32, "03 00 00 00 00 00 00 00 01", kTypeMismatch, "77"},
        {Target::Int32, "06 03 61 62 63", kTypeMismatch, "77"},
        {Target::Int64, "00 ff", kOk, "-1"},
        {Target::Int64, "01 ff 7f", kOk, "-129"},
        {Target::Int64, "03 80 00 00 00 00 00 00 00", kOk, "-9223372036854775808"},
        {Target::Int16, "02 00 00 00 01", kTypeMismatch, "77"},
        {Target::Int8, "00 80", kOk, "-128"},
        {Target::Int8, "01 00 01", kTypeMismatch, "77"},
        {Target::Bool, "00 01", kOk, "true"},
        {Target::Bool, "0c", kOk, "false"},
        {Target::Double, "04 3f 80 00 00", kOk, "1.000000"},
        {Target::Double, "05 c0 04 00 00 00 00 00 00", kOk, "-2.500000"},
        {Target::Double, "0c", kOk, "0.000000"},
        {Target::Double, "00 01", kTypeMismatch, "77.000000"},
        {Target::String, "06 03 61 62 63", kOk, "abc"},
        {Target::String, "07 00 00 00 03 61 62 63", kOk, "abc"},
        {Target::String, "0d 00 00 01 61", kTypeMismatch, "77"},
        {Target::Bytes, "0d 00 00 03 01 02 03", kOk, "01 02 03"},
        {Target::Bytes, "0d 00 0c", kOk, ""},
        {Target::Bytes, "09 00 02 00 01 00 ff", kOk, "01 ff"},   // a List of Int8
        {Target::Bytes, "0d 01 00 01 01", kTypeMismatch, "77"},  // inner head not Int8
        {Target::Bytes, "09 00 01 06 00", kTypeMismatch, "00"},  // a List of strings
        {Target::Bytes, "06 00", kTypeMismatch, "77"},
        {Target::Int32, "0e", kTypeMismatch, "77"},
        {Target::Int32, "0f", kTypeMismatch, "77"},
    });
}

TEST(TafInputStream, PayloadsCutShortFailExceptShortIntegersInWideTargets) {
    CheckReads({
        {Target::Int16, "00", kOk, "0"},
        {Target::Int16, "01 7f", kOk, "0"},
        {Target::Int32, "01", kOk, "0"},
        {Target::Int64, "00", kOk, "0"},
        {Target::Int32, "02 00 00 01", kTruncated, "77"},
        {Target::Int64, "03 00 00 00 00 00 00 01", kTruncated, "77"},
        {Target::Int8, "00", kTruncated, "77"},
        {Target::Bool, "00", kTruncated, "true"},
        {Target::Double, "05 00 00", kTruncated, "77.000000"},
        {Target::Double, "04 00", kTruncated, "77.000000"},
        {Target::String, "06 05 61", kTruncated, "77"},
        {Target::String, "07 00 00", kTruncated, "77"},
        {Target::String, "07 06 40 00 01", kInvalidData, "77"},  // 104,857,601 bytes
        {Target::String, "07 ff ff ff ff", kInvalidData, "77"},  // negative length
        {Target::Bytes, "0d", kTruncated, "77"},
        {Target::Bytes, "0d 00 00 05 01", kTruncated, "77"},
        {Target::Bytes, "0d 00 00 ff", kInvalidData, "77"},  // negative count
        {Target::Int32, "f0", kRequiredMissing, "77"},       // a two-byte head cut short
    });
}

TEST(TafInputStream, MissingFieldsAreReportedOnlyWhenRequired) {
    const taf::Bytes bytes = Hex("00 01 56 03 61 62 63");  // tag 0, then "abc" at tag 5
    EXPECT_EQ(ReadAs(Target::Int32, bytes, 3, false).status, kOk);
    EXPECT_EQ(ReadAs(Target::Int32, bytes, 3, false).value, "77");
    EXPECT_EQ(ReadAs(Target::Int32, bytes, 3, true).status, kRequiredMissing);
    EXPECT_EQ(ReadAs(Target::String, bytes, 6, true).status, kRequiredMissing);

    // Asking for tag 3 leaves the cursor on tag 5, which a later read still finds.
    TafInputStream in(bytes);
    std::int32_t number = 0;
    std::string text;
    EXPECT_EQ(in.readInt(number, 3, true), kRequiredMissing);
    EXPECT_EQ(in.position(), 2u);
    EXPECT_EQ(in.readString(text, 5, true), kOk);
    EXPECT_EQ(text, "abc");
}

TEST(TafInputStream, TwoByteHeadsCarryTagsFrom15To255) {
    const taf::Bytes bytes = Hex("e0 01 f0 0f 02 f0 ff 03");
    TafInputStream in(bytes);
    std::int8_t at14 = 0, at15 = 0, at255 = 0;
    EXPECT_EQ(in.readInt(at14, 14, true), kOk);
    EXPECT_EQ(in.readInt(at15, 15, true), kOk);
    EXPECT_EQ(in.readInt(at255, 255, true), kOk);
    EXPECT_EQ(at14 * 100 + at15 * 10 + at255, 123);
}

TEST(TafInputStream, SkipsEveryKindOfValueOnTheWayToALaterTag) {
    TafOutputStream out;
    out.writeInt(-5, 0);
    out.writeInt(1000, 1);
    out.writeInt(100000, 2);
    out.writeInt(1LL << 40, 3);
    out.writeHead(TafType::Float, 4);
    out.appendFloat(1.5f);
    out.writeDouble(2.5, 5);
    out.writeString("short", 6);
    out.writeString(std::string(300, 's'), 7);
    out.writeMapHead(1, 8);
    out.writeString("key", 0);
    out.writeStructBegin(1);
    out.writeListHead(2, 0);
    out.writeInt(1, 0);
    out.writeInt(2, 0);
    out.writeStructEnd();
    out.writeListHead(1, 9);
    out.writeBytes(Hex("01 02"), 0);
    out.writeStructBegin(10);
    out.writeStructBegin(0);
    out.writeStructEnd();
    out.writeStructEnd();
    out.writeInt(0, 11);
    out.writeBytes(Hex("aa bb cc"), 12);
    out.writeInt(42, 200);

    TafInputStream in(out.view());
    std::int32_t value = 0;
    EXPECT_EQ(in.readInt(value, 200, true), kOk);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(TafInputStream, ASearchInsideANestedRecordStopsAtItsEnd) {
    // Tag 1 is a record holding only tag 0; tag 2 belongs to the enclosing record.
    const taf::Bytes bytes = Hex("1a 00 01 0b 20 07");
    TafInputStream in(bytes);
    Head head;
    ASSERT_EQ(in.readHead(head), kOk);
    std::int8_t inner = 0;
    EXPECT_EQ(in.readInt(inner, 2, true), kRequiredMissing);
    EXPECT_EQ(in.position(), 3u);  // passed the inner tag 0, stopped on the StructEnd
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(in.skipToStructEnd(), kOk);
    EXPECT_EQ(in.readInt(inner, 2, true), kOk);
    EXPECT_EQ(inner, 7);
}

TEST(TafInputStream, SkippingRefusesCodes14And15AndBrokenRecords) {
    TafInputStream in;
    for (const auto type : {TafType{14}, TafType{15}}) {
        in.reset(std::span<const std::uint8_t>());
        EXPECT_EQ(in.skipValue(type), kInvalidData);
    }
    const taf::Bytes unterminated = Hex("00 01 10 02");
    in.reset(unterminated);
    EXPECT_EQ(in.skipToStructEnd(), kSkipStructFailed);
    const taf::Bytes badInner = Hex("00 01 1e 0b");
    in.reset(badInner);
    EXPECT_EQ(in.skipToStructEnd(), kSkipStructFailed);
    // A field behind an unskippable one is not found.
    EXPECT_EQ(ReadAs(Target::Int8, Hex("0e 20 01"), 2).status, kRequiredMissing);
}

}  // namespace
}  // namespace taf
