#include "taf/codec.h"

#include <gtest/gtest.h>

#include "support/allocation_probe.h"
#include "support/hex.h"
#include "taf/records/user_id.h"
#include "taf/test_records.h"

namespace taf {
namespace {

using test::AllKinds;
using test::Hex;
using test::Holder;
using test::Inner;
using test::ToHex;

template <class T>
std::string EncodeAt(const T& value, Tag tag) {
    TafOutputStream out;
    writeValue(out, value, tag);
    return ToHex(out.toBytes());
}

template <class T>
T DecodeAt(const std::string& hex, Tag tag) {
    const Bytes bytes = Hex(hex);
    TafInputStream in(bytes);
    T value{};
    EXPECT_EQ(readValue(in, value, tag, true), kOk) << hex;
    EXPECT_EQ(in.remaining(), 0u) << hex;
    return value;
}

template <class T>
void ExpectWireForm(const T& value, Tag tag, const char* hex) {
    EXPECT_EQ(EncodeAt(value, tag), ToHex(Hex(hex)));
    EXPECT_TRUE(DecodeAt<T>(hex, tag) == value) << hex;
}

TEST(TafCodec, EachKindHasItsWireForm) {
    MERU::UserId id;
    id.lUid = 1;
    ExpectWireForm(id, 0, "0a 00 01 16 00 26 00 36 00 46 00 5c 66 00 0b");
    ExpectWireForm(std::vector<Inner>{{5, "a"}}, 2, "29 00 01 0a 00 05 16 01 61 0b");
    ExpectWireForm(std::vector<std::int32_t>{}, 4, "49 0c");
    ExpectWireForm(std::vector<bool>{true, false}, 0, "09 00 02 00 01 0c");
    ExpectWireForm(Bytes{}, 7, "7d 00 0c");
    ExpectWireForm(std::map<std::string, std::int32_t>{{"b", 1}, {"a", 2}}, 1,
                   "18 00 02 06 01 61 10 02 06 01 62 10 01");
    // String keys are ordered byte-wise: 0xC3 after 'a'.
    ExpectWireForm(std::map<std::string, bool>{{"\xC3", true}, {"a", false}}, 0,
                   "08 00 02 06 01 61 1c 06 01 c3 10 01");
    ExpectWireForm(std::map<std::int64_t, std::string>{{-1, ""}, {300, "x"}}, 20,
                   "f8 14 00 02 00 ff 16 00 01 01 2c 16 01 78");
}

struct Old {
    std::int32_t iA = 0;
    static constexpr auto tafTable() { return table("Old", required(0, &Old::iA, "iA")); }
};

struct New {
    std::int32_t iA = 0;
    Inner tExtra;
    std::map<std::string, Inner> mpExtra;
    std::vector<Holder<Inner>> vExtra;
    static constexpr auto tafTable() {
        return table("New", required(0, &New::iA, "iA"), optional(1, &New::tExtra, "tExtra"),
                     optional(2, &New::mpExtra, "mpExtra"), optional(3, &New::vExtra, "vExtra"));
    }
};

TEST(TafCodec, UnknownTrailingFieldsAreSkipped) {
    New newer;
    newer.iA = 5;
    newer.tExtra = {1, "x"};
    newer.mpExtra = {{"k", {2, "y"}}};
    newer.vExtra = {{{3, "z"}, 4}};
    Old older;
    EXPECT_EQ(fromBytes(toBytes(newer), older), kOk);
    EXPECT_EQ(older.iA, 5);

    Holder<Old> holder;
    EXPECT_EQ(fromBytes(toBytes(Holder<New>{newer, 77}), holder), kOk);
    EXPECT_EQ(holder.tRecord.iA, 5);
    EXPECT_EQ(holder.iAfter, 77);
}

TEST(TafCodec, ReadingResetsDefaultsAndGoesOnPastFailingFields) {
    AllKinds value;  // holding something in every field the bytes do not set
    value.bFlag = false;
    value.iValue = 300;
    value.sText = "old";
    value.vNumbers = {1};
    value.mpCounts = {{"k", 1}};
    // Tag 3 (required) is absent, tag 8 holds a zero where a list belongs, tag 200 comes after.
    EXPECT_EQ(fromBytes(Hex("40 07 8c fa c8 00 05 0b"), value), kRequiredMissing);
    AllKinds expected;
    expected.lBig = 7;
    expected.tInner.iValue = 5;
    EXPECT_EQ(value, expected);  // bFlag and iValue back at their non-zero defaults

    EXPECT_EQ(fromBytes(Hex("30 05 8c"), value), kTypeMismatch);
    EXPECT_EQ(value.iValue, 5);
}

// Decodes `hex` into a fresh holder and into one filled with other data: both must come out
// as `expected`, with `status`.
template <class T>
void ExpectFreshAndReusedReads(const std::string& hex, const Holder<T>& filled,
                               const Holder<T>& expected, Status status) {
    Holder<T> fresh;
    Holder<T> reused = filled;
    EXPECT_EQ(fromBytes(Hex(hex), fresh), status) << hex;
    EXPECT_EQ(fromBytes(Hex(hex), reused), status) << hex;
    EXPECT_EQ(ToHex(toBytes(fresh)), ToHex(toBytes(expected))) << hex;
    EXPECT_EQ(ToHex(toBytes(reused)), ToHex(toBytes(expected))) << hex;
}

MERU::UserId Id(std::int64_t uid, std::string guid, std::string ua) {
    MERU::UserId id;
    id.lUid = uid;
    id.sGuid = std::move(guid);
    id.sUA = std::move(ua);
    return id;
}

// A field that fails keeps what its reader read, and the record's next field is searched
// from where the cursor stands; zeros (ZeroTag) stand where other kinds belong.
TEST(TafCodec, AFailingFieldKeepsWhatItsReaderRead) {
    MERU::UserId full = Id(9, "guid", "ua");
    full.sToken = "token";
    full.iTokenType = 4;
    using Ids = std::vector<MERU::UserId>;
    // A list reads up to its failing element, which keeps the fields on both sides of its
    // odd one; the elements after it are at their defaults, the list at its declared length.
    ExpectFreshAndReusedReads<Ids>(
        "09 00 03  0a 00 01 16 01 61 0b  0a 00 02 1c 36 01 75 0b  0a 00 03 0b  10 4d",
        {{full, full, full, full}, 5}, {{Id(1, "a", ""), Id(2, "", "u"), {}}, 77}, kTypeMismatch);
    // A nested record keeps the fields it read, and its end is found as usual.
    ExpectFreshAndReusedReads<MERU::UserId>("0a 00 05 1c 36 01 75 f6 30 01 78 0b 10 4d", {full, 5},
                                            {Id(5, "", "u"), 77}, kTypeMismatch);
    // A map keeps the entries before the failing one.
    using Texts = std::map<std::string, std::string>;
    ExpectFreshAndReusedReads<Texts>("08 00 03 06 01 61 16 01 78 06 01 62 1c 06 01 63 16 01 79",
                                     {{{"k", "v"}}, 5}, {{{"a", "x"}}, 0}, kTypeMismatch);
    // A list of values keeps those before the failing one; a value is read whole or not.
    ExpectFreshAndReusedReads<std::vector<std::string>>("09 00 03 06 01 61 0c 06 01 62 10 4d",
                                                        {{"p", "q", "r", "s"}, 5},
                                                        {{"a", "", ""}, 77}, kTypeMismatch);
    ExpectFreshAndReusedReads<std::string>("0c 10 4d", {"old", 5}, {"", 77}, kTypeMismatch);
}

TEST(TafCodec, WideFieldsReadIntoNarrowTargetsWhenTheirValueFits) {
    Holder<std::int32_t> narrow;
    EXPECT_EQ(fromBytes(toBytes(Holder<std::int64_t>{1, 2}), narrow), kOk);
    EXPECT_EQ(narrow.tRecord, 1);
    EXPECT_EQ(fromBytes(toBytes(Holder<std::int64_t>{1LL << 40, 2}), narrow), kTypeMismatch);
    EXPECT_EQ(narrow.tRecord, 0);
}

TEST(TafCodec, AMapKeepsTheFirstOfEqualKeys) {
    const auto map = DecodeAt<std::map<std::string, std::int32_t>>(
        "08 00 03 06 01 61 10 01 06 01 62 10 02 06 01 61 10 03", 0);
    EXPECT_EQ(map, (std::map<std::string, std::int32_t>{{"a", 1}, {"b", 2}}));
}

struct Reused {
    MERU::UserId tId;
    std::vector<std::int32_t> vNumbers;
    std::vector<Inner> vInner;
    bool operator==(const Reused&) const = default;
    static constexpr auto tafTable() {
        return table("Reused", optional(0, &Reused::tId, "tId"),
                     optional(1, &Reused::vNumbers, "vNumbers"),
                     optional(2, &Reused::vInner, "vInner"));
    }
};

TEST(TafCodec, FieldsCostNoAllocationBeyondTheirValues) {
    Reused value;
    value.tId.lUid = 1LL << 40;
    value.tId.sToken = std::string(200, 't');
    value.vNumbers = {1, 300, 70000};
    value.vInner = {{1, "a"}, {2, "b"}};
    TafOutputStream out;
    writeTo(out, value);  // grows the buffer
    Reused decoded;
    EXPECT_EQ(fromBytes(out.view(), decoded), kOk);  // gives strings and vectors their capacity
    std::size_t allocated = 0;
    {
        test::AllocationProbe probe;
        out.reset();
        writeTo(out, value);
        TafInputStream in(out.view());
        EXPECT_EQ(readFrom(in, decoded), kOk);
        allocated = probe.totalBytes();
    }
    EXPECT_EQ(decoded, value);
    EXPECT_EQ(allocated, 0u);
}

}  // namespace
}  // namespace taf
