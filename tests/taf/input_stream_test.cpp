#include "taf/input_stream.h"

#include <gtest/gtest.h>

#include <variant>

#include "support/hex.h"
#include "taf/codec.h"
#include "taf/render.h"

namespace taf {
namespace {

using test::Hex;
using test::ToHex;

// A target of each kind, holding the value it starts from: "left unchanged" stays visible.
using Target = std::variant<bool, std::int8_t, std::int16_t, std::int32_t, std::int64_t, float,
                            double, std::string, Bytes>;

struct ReadResult {
    Status status;
    std::string value;  // the target afterwards, rendered
};

ReadResult ReadAs(Target target, const Bytes& bytes, Tag tag = 0, bool required = true) {
    return std::visit(
        [&](auto value) {
            TafInputStream in(bytes);
            const Status status = readValue(in, value, tag, required);
            return ReadResult{status, render(value)};
        },
        target);
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
        EXPECT_EQ(result.status, c.status) << c.bytes;
        EXPECT_EQ(result.value, c.value) << c.bytes;
    }
}

constexpr std::int8_t k8 = 77;
constexpr std::int16_t k16 = 77;
constexpr std::int32_t k32 = 77;
constexpr std::int64_t k64 = 77;
const std::string kText = "77";
const Bytes kBytes = {0x77};

TEST(TafInputStream, EachTargetAcceptsOnlyItsWireTypes) {
    CheckReads({
        {k32, "00 05", kOk, "5"},
        {k32, "01 01 2c", kOk, "300"},
        {k32, "03 00 00 00 00 00 00 00 01", kTypeMismatch, "77"},
        {k32, "06 03 61 62 63", kTypeMismatch, "77"},
        {k64, "00 ff", kOk, "-1"},
        {k16, "02 00 00 00 01", kTypeMismatch, "77"},
        {k8, "00 80", kOk, "-128"},
        {k8, "01 00 01", kTypeMismatch, "77"},
        {77.0, "04 3f 80 00 00", kOk, "1"},
        {77.0, "05 c0 04 00 00 00 00 00 00", kOk, "-2.5"},
        {77.0, "0c", kOk, "0"},
        {77.0, "00 01", kTypeMismatch, "77"},
        {77.0f, "04 c0 20 00 00", kOk, "-2.5"},
        {77.0f, "05 3f f8 00 00 00 00 00 00", kOk, "1.5"},
        {77.0f, "0c", kOk, "0"},
        {77.0f, "06 00", kTypeMismatch, "77"},
        {kText, "07 00 00 00 03 61 62 63", kOk, "\"abc\""},
        {kText, "0d 00 00 01 61", kTypeMismatch, "\"77\""},
        {kBytes, "0d 00 00 03 01 02 03", kOk, "<3 bytes: 010203>"},
        {kBytes, "09 00 02 00 01 00 ff", kOk, "<2 bytes: 01ff>"},    // a List of Int8
        {kBytes, "0d 01 00 01 01", kTypeMismatch, "<1 bytes: 77>"},  // inner head not Int8
        {kBytes, "09 00 01 06 00", kTypeMismatch, "<1 bytes: 00>"},  // a List of strings
        {kBytes, "06 00", kTypeMismatch, "<1 bytes: 77>"},
        {k32, "0e", kTypeMismatch, "77"},
        {k32, "0f", kTypeMismatch, "77"},
    });
}

TEST(TafInputStream, PayloadsCutShortFailExceptShortIntegersInWideTargets) {
    CheckReads({
        {k16, "00", kOk, "0"},
        {k16, "01 7f", kOk, "0"},
        {k32, "01", kOk, "0"},
        {k32, "02 00 00 01", kTruncated, "77"},
        {k64, "03 00 00 00 00 00 00 01", kTruncated, "77"},
        {k8, "00", kTruncated, "77"},
        {true, "00", kTruncated, "true"},
        {77.0, "05 00 00", kTruncated, "77"},
        {77.0, "04 00", kTruncated, "77"},
        {77.0f, "04 00 00 00", kTruncated, "77"},
        {kText, "06 05 61", kTruncated, "\"77\""},
        {kText, "07 00 00", kTruncated, "\"77\""},
        {kText, "07 06 40 00 01", kInvalidData, "\"77\""},  // 104,857,601 bytes
        {kText, "07 ff ff ff ff", kInvalidData, "\"77\""},  // negative length
        {kBytes, "0d", kTruncated, "<1 bytes: 77>"},
        {kBytes, "0d 00 00 05 01", kTruncated, "<1 bytes: 77>"},
        {kBytes, "0d 00 00 ff", kInvalidData, "<1 bytes: 77>"},  // negative count
        {k32, "f0", kRequiredMissing, "77"},                     // a two-byte head cut short
    });
}

TEST(TafInputStream, MissingFieldsAreReportedOnlyWhenRequired) {
    const Bytes bytes = Hex("00 01 56 03 61 62 63");  // tag 0, then "abc" at tag 5
    EXPECT_EQ(ReadAs(k32, bytes, 3, false).status, kOk);
    EXPECT_EQ(ReadAs(k32, bytes, 3, false).value, "77");
    EXPECT_EQ(ReadAs(k32, bytes, 3, true).status, kRequiredMissing);
    EXPECT_EQ(ReadAs(kText, bytes, 6, true).status, kRequiredMissing);

    // Asking for tag 3 leaves the cursor on tag 5, which a later read still finds.
    TafInputStream in(bytes);
    std::int32_t number = 0;
    std::string text;
    EXPECT_EQ(in.readInt(number, 3, true), kRequiredMissing);
    EXPECT_EQ(in.position(), 2u);
    EXPECT_EQ(in.readString(text, 5, true), kOk);
    EXPECT_EQ(text, "abc");
}

TEST(TafInputStream, SkipsEveryKindOfValueOnTheWayToALaterTag) {
    const Bytes bytes = Hex(
        "00 fb  11 03 e8  22 00 01 86 a0  33 00 00 01 00 00 00 00 00 "  // integers of each width
        "44 3f c0 00 00  55 40 04 00 00 00 00 00 00 "                   // float, double
        "66 01 73  77 00 00 00 02 73 73 "                               // String1, String4
        "88 00 01 06 01 6b 1a 09 00 02 00 01 00 02 0b "  // a map to a record holding a list
        "99 00 01 0d 00 00 02 01 02 "                    // a list of a byte vector
        "aa 0a 0b 0b  bc  cd 00 00 03 aa bb cc "         // nested records, zero, a byte vector
        "f0 c8 2a");                                     // 42 at tag 200
    TafInputStream in(bytes);
    std::int32_t value = 0;
    EXPECT_EQ(in.readInt(value, 200, true), kOk);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(TafInputStream, ASearchInsideANestedRecordStopsAtItsEnd) {
    // Tag 1 is a record holding only tag 0; tag 2 belongs to the enclosing record.
    const Bytes bytes = Hex("1a 00 01 0b 20 07");
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
    const Bytes unterminated = Hex("00 01 10 02");
    in.reset(unterminated);
    EXPECT_EQ(in.skipToStructEnd(), kSkipStructFailed);
    const Bytes badInner = Hex("00 01 1e 0b");
    in.reset(badInner);
    EXPECT_EQ(in.skipToStructEnd(), kSkipStructFailed);
    // A field behind an unskippable one is not found.
    EXPECT_EQ(ReadAs(k8, Hex("0e 20 01"), 2).status, kRequiredMissing);
}

}  // namespace
}  // namespace taf
