#include "common/taf_tree.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/hex_text.h"
#include "common/taf_tree_json.h"
#include "support/allocation_probe.h"
#include "support/hex.h"
#include "taf/codec.h"
#include "taf/test_records.h"

namespace tafjson {
namespace {

using test::Hex;
using test::ToHex;

taf::Bytes Encode(const std::vector<TafField>& fields) {
    taf::TafOutputStream out;
    encodeTree(out, fields);
    return out.toBytes();
}

// bytes -> tree -> JSON text -> tree -> bytes; returns the JSON text.
std::string RoundTrip(const taf::Bytes& bytes) {
    std::vector<TafField> fields;
    const TreeDecodeResult decoded = decodeTree(bytes, fields);
    EXPECT_EQ(decoded.status, taf::kOk);
    EXPECT_EQ(ToHex(Encode(fields)), ToHex(bytes));

    const std::string text = printJson(treeToJson(fields));
    Json json;
    JsonError jsonError;
    std::string error;
    std::vector<TafField> again;
    EXPECT_TRUE(parseJson(text, json, jsonError)) << jsonError.message;
    EXPECT_TRUE(treeFromJson(json, again, error)) << error;
    EXPECT_EQ(ToHex(Encode(again)), ToHex(bytes));
    EXPECT_EQ(printJson(treeToJson(again)), text);
    return text;
}

TEST(TafTree, EveryRecordKindRoundTripsThroughJson) {
    // The command-line test round-trips a captured user id through its JSON file.
    test::AllKinds all;
    all.sText = std::string(300, 'x');
    all.vData = {0xFF, 0};
    all.dRatio = 0.1;
    all.vInner = {{1, "\xE8\x99\x9A"}, {}};
    all.vFlags = {true, false};
    all.vGrid = {{1}, {}};
    all.mpCounts = {{"a", 1LL << 40}};
    all.mpInner = {{-1, {2, "b"}}};
    all.mpLists = {{"c", {"d"}}};
    RoundTrip(taf::toBytes(all));
}

TEST(TafTree, KeepsEveryWireTypeExactlyAndOnlyHeadsAndCountsInTheirShortestForm) {
    std::vector<TafField> fields;
    ASSERT_EQ(decodeTree(Hex("f2 05 00 00 00 09  19 02 00 00 00 00"), fields).status, taf::kOk);
    EXPECT_EQ(Encode(fields), Hex("52 00 00 00 09 19 0c"));

    // Forms a writer of ours never produces but a capture may hold: a wide type for a small
    // value, a short string as String4, a NaN with a payload, a negative zero, Int8 elements
    // of a byte List.
    const std::string text =
        RoundTrip(Hex("03 00 00 00 00 00 00 00 01  17 00 00 00 02 68 69  24 7f c0 00 01"
                      "35 80 00 00 00 00 00 00 00  49 00 02 00 01 00 02  66 02 c3 28"));
    EXPECT_NE(text.find(R"({"tag": 0, "type": "int64", "value": 1})"), std::string::npos);
    EXPECT_NE(text.find(R"({"tag": 2, "type": "float", "hex": "7fc00001"})"), std::string::npos);
    EXPECT_NE(text.find(R"({"tag": 3, "type": "double", "value": -0.0})"), std::string::npos);
    EXPECT_NE(text.find(R"("hex": "c328", "text": ")"
                        "\xEF\xBF\xBD("),
              std::string::npos)
        << text;
}

std::string EncodeJson(const std::string& json, std::string& error) {
    Json value;
    JsonError jsonError;
    if (!parseJson(json, value, jsonError)) {
        return "invalid JSON";
    }
    std::vector<TafField> fields;
    return treeFromJson(value, fields, error) ? ToHex(Encode(fields)) : "";
}

TEST(TafTree, JsonConveniencesPickTheShortestForm) {
    const std::string hex256(512, 'a');  // 256 bytes of 0xAA
    const std::pair<std::string, std::string> cases[] = {
        {R"({"tag": 3, "type": "int", "value": 0})", "3c"},
        {R"({"tag": 3, "type": "int", "value": 300})", "31 01 2c"},
        {R"({"tag": 3, "type": "int", "value": -2147483649})", "33 ff ff ff ff 7f ff ff ff"},
        {R"({"tag": 20, "type": "zero"})", "fc 14"},
        {R"({"tag": 5, "type": "string", "text": "abc"})", "56 03 61 62 63"},
        {R"({"tag": 0, "type": "string", "hex": ")" + hex256 + "\"}", "07 00 00 01 00 " + hex256},
        {R"({"tag": 5, "type": "string4", "hex": "61", "text": "ignored"})", "57 00 00 00 01 61"},
        {R"({"tag": 7, "type": "bytes", "hex": ""})", "7d 00 0c"},
        {R"({"tag": 1, "type": "map", "entries": [[{"tag": 0, "type": "string", "text": "k"},
             {"tag": 1, "type": "list", "items": []}]]})",
         "18 00 01 06 01 6b 19 0c"},
    };
    for (const auto& [json, bytes] : cases) {
        std::string error;
        EXPECT_EQ(EncodeJson("[" + json + "]", error), ToHex(Hex(bytes))) << error;
    }
}

TEST(TafTree, JsonErrorsNameTheField) {
    const std::pair<std::string, const char*> cases[] = {
        {R"([{"tag": 0, "type": "int9", "value": 1}])", "[0]: unknown type \"int9\""},
        {R"([{"tag": 256, "type": "int8", "value": 1}])", "[0]: \"tag\" must be"},
        {R"([{"tag": 0, "type": "int8", "value": 128}])", "[0]: value out of range for int8"},
        {R"([{"tag": 0, "type": "int8", "value": 1.5}])", "[0]: \"value\" must be an integer"},
        {R"([{"tag": 0, "type": "float", "value": 1e39}])", "[0]: \"value\" must be a number"},
        {R"([{"tag": 0, "type": "bytes", "text": "a"}])", "[0]: unexpected member \"text\""},
        {R"([{"tag": 0, "type": "bytes", "hex": "abc"}])", "[0]: \"hex\" must be"},
        {R"([{"tag": 0, "type": "list", "items": [{"tag": 0, "type": "struct", "fields": [1]}]}])",
         "[0].items[0].fields[0]: expected a field object"},
        {R"([{"tag": 0, "type": "map", "entries": [[{"tag": 0, "type": "zero"}]]}])",
         "[0].entries[0]: expected a [key, value] pair"},
        {R"({"tag": 0})", "top level: expected an array"},
        {R"([{"tag": 0, "type": "string1", "hex": ")" + std::string(512, 'a') + "\"}]",
         "[0]: a string1 holds at most 255 bytes"},
    };
    for (const auto& [json, expected] : cases) {
        std::string error;
        EXPECT_EQ(EncodeJson(json, error), "") << json;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
    }
}

TEST(TafTree, BadInputStopsAtTheFailingFieldWithinItsBounds) {
    const struct {
        taf::Bytes bytes;
        taf::Status status;
        std::size_t offset;
    } cases[] = {
        {Hex("00 01 0b"), taf::kTypeMismatch, 2},     // StructEnd outside a struct
        {Hex("00 01 1a 10 01"), taf::kTruncated, 5},  // a struct without its end
        {Hex("00 01 1e"), taf::kInvalidData, 2},
        {Hex("09 00 ff"), taf::kInvalidData, 0},
        {Hex("09 02 7f ff ff ff"), taf::kTruncated, 0},
        {Hex("19 10 02"), taf::kRequiredMissing, 0},  // a count at tag 1
        {taf::Bytes(1 << 20, 0x0A), taf::kNestingTooDeep, taf::kMaxDepth},
        // 4 MB of one-byte ZeroTag fields: refused once the fields' budget is spent.
        {taf::Bytes(4 << 20, 0x0C), taf::kTruncated,
         (kTreeBudgetFloor + kTreeBudgetPerInputByte * (4 << 20)) / kTreeFieldCost},
    };
    for (const auto& c : cases) {
        std::vector<TafField> fields;
        test::AllocationProbe probe;
        const TreeDecodeResult result = decodeTree(c.bytes, fields);
        EXPECT_EQ(result.status, c.status)
            << ToHex(taf::Bytes(c.bytes.begin(), c.bytes.begin() + 8));
        EXPECT_EQ(result.errorOffset, c.offset);
        EXPECT_EQ(result.overBudget, c.bytes.size() == (4 << 20));
        EXPECT_LE(probe.totalBytes(), 256 * std::size_t{taf::kMaxDepth} +
                                          kTreeBudgetPerInputByte * c.bytes.size() +
                                          kTreeBudgetFloor);
    }
}

// Maps nested `levels` deep, each one entry: a zero key and the next map as its value.
taf::Bytes NestedMaps(int levels) {
    taf::Bytes bytes = Hex("08 00 01 0c");
    for (int level = 1; level < levels; ++level) {
        const taf::Bytes next = Hex("18 00 01 0c");
        bytes.insert(bytes.end(), next.begin(), next.end());
    }
    bytes.push_back(0x1C);
    return bytes;
}

TEST(TafTree, TheDeepestTreeTheDecoderFollowsRoundTripsThroughJson) {
    // Three JSON levels per map: the deepest JSON the tools meet from a real dump.
    RoundTrip(NestedMaps(taf::kMaxDepth));
    std::vector<TafField> fields;
    EXPECT_EQ(decodeTree(NestedMaps(taf::kMaxDepth + 1), fields).status, taf::kNestingTooDeep);
}

TEST(TafTree, EveryPrefixDecodesCleanlyOnlyAtAFieldBoundary) {
    test::AllKinds all;
    all.vInner = {{1, "a"}};
    all.mpLists = {{"c", {"d"}}};
    const taf::Bytes bytes = taf::toBytes(all);
    std::vector<TafField> whole;
    ASSERT_EQ(decodeTree(bytes, whole).status, taf::kOk);
    std::vector<std::size_t> boundaries;
    for (const TafField& field : whole) {
        boundaries.push_back(field.offset);
    }
    boundaries.push_back(bytes.size());
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        const taf::Bytes prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
        std::vector<TafField> fields;
        const TreeDecodeResult result = decodeTree(prefix, fields);
        const bool atBoundary =
            std::find(boundaries.begin(), boundaries.end(), length) != boundaries.end();
        EXPECT_EQ(result.status == taf::kOk, atBoundary) << length;
        EXPECT_LE(result.errorOffset, length);
    }
}

}  // namespace
}  // namespace tafjson
