#include <gtest/gtest.h>

#include "support/allocation_probe.h"
#include "support/hex.h"
#include "taf/codec.h"
#include "taf/records/user_id.h"
#include "taf/test_records.h"

namespace taf {
namespace {

using test::AllKinds;
using test::AllocationProbe;
using test::Hex;
using test::Holder;

// A few times the input, plus room for a handful of small containers.
std::size_t FewTimes(std::size_t inputSize) {
    return 8 * inputSize + 4096;
}

// `hex` written `times` times over.
std::string Times(const std::string& hex, std::size_t times) {
    std::string text;
    while (times-- > 0) {
        text += hex + " ";
    }
    return text;
}

// Lists nested `levels` deep, each claiming every byte after its count, then `fill`.
Bytes ListsClaimingTheRest(int levels, std::size_t size, std::uint8_t fill) {
    Bytes bytes(size, fill);
    for (int level = 0; level < levels; ++level) {
        const std::size_t at = 6 * static_cast<std::size_t>(level);
        const auto rest = static_cast<std::uint32_t>(size - at - 6);
        const std::uint8_t head[] = {0x09,
                                     0x02,
                                     std::uint8_t(rest >> 24),
                                     std::uint8_t(rest >> 16),
                                     std::uint8_t(rest >> 8),
                                     std::uint8_t(rest)};
        std::copy(std::begin(head), std::end(head), bytes.begin() + static_cast<long>(at));
    }
    return bytes;
}

TEST(TafHardening, HostileInputsFailWithinTheAllocationBudget) {
    using Grid = std::vector<std::vector<std::vector<std::int32_t>>>;
    const struct {
        const char* what;
        Bytes bytes;
        Status typed;    // read as a list of lists of lists of int32
        Status skipped;  // skipped without a schema
    } cases[] = {
        {"1 MiB of StructBegin", Bytes(1 << 20, 0x0A), kTypeMismatch, kSkipStructFailed},
        {"a list claiming 0x7FFFFFFF elements", Hex("09 02 7f ff ff ff"), kTruncated, kTruncated},
        {"a negative list count", Hex("09 00 ff"), kInvalidData, kInvalidData},
        {"a negative map count", Hex("08 00 80"), kTypeMismatch, kInvalidData},
        {"lists each claiming the rest", ListsClaimingTheRest(3, 1 << 16, 0x0C), kRequiredMissing,
         kTruncated},
        {"lists each claiming the rest, then types 14", ListsClaimingTheRest(3, 1 << 16, 0xEE),
         kRequiredMissing, kInvalidData},
        {"lists each claiming the rest, then types 15", ListsClaimingTheRest(3, 1 << 16, 0x0F),
         kTypeMismatch, kInvalidData},
    };
    for (const auto& c : cases) {
        Grid grid;
        AllocationProbe probe;
        TafInputStream in(c.bytes);
        EXPECT_EQ(readValue(in, grid, 0, true), c.typed) << c.what;
        // A failing list keeps its declared length, so lists claiming the rest cost their
        // count of elements each: more than the input, never more than the budget.
        EXPECT_LE(probe.totalBytes(), allocationBudget(c.bytes.size())) << c.what;

        in.reset(c.bytes);
        Head head;
        ASSERT_EQ(in.readHead(head), kOk);
        EXPECT_EQ(in.skipValue(head.type), c.skipped) << c.what;
        EXPECT_LE(in.position(), c.bytes.size());
    }
}

TEST(TafHardening, EveryPrefixOfAValidEncodingDecodesWithinItsBounds) {
    AllKinds full;
    full.sText = "text";
    full.vData = {1, 2, 3};
    full.vInner = {{1, "a"}, {2, "b"}};
    full.vGrid = {{1, 2}, {3}};
    full.mpCounts = {{"k", 1LL << 40}};
    full.mpInner = {{3, {4, "c"}}};
    full.mpLists = {{"l", {"x", "y"}}};
    MERU::UserId id;
    id.lUid = 123456789;
    id.sGuid = "guid";
    for (const Bytes& encoding :
         {toBytes(Holder<AllKinds>{full, 5}), toBytes(Holder<MERU::UserId>{id, 6})}) {
        for (std::size_t length = 0; length <= encoding.size(); ++length) {
            // A buffer of exactly `length` bytes, so the sanitizer sees any read past it.
            const Bytes prefix(encoding.begin(), encoding.begin() + static_cast<long>(length));
            AllocationProbe probe;
            Holder<AllKinds> record;
            TafInputStream reader(prefix);
            const Status status = readFrom(reader, record);
            EXPECT_TRUE(status == kOk || (status >= kTruncated && status <= kSkipStructFailed))
                << status;
            EXPECT_LE(reader.position(), length) << "read past the input";
            TafInputStream in(prefix);
            EXPECT_FALSE(in.skipToTag(255));
            EXPECT_LE(in.position(), length);
            EXPECT_LE(probe.totalBytes(), 2 * sizeof(AllKinds) + FewTimes(length));
        }
    }
}

// `levels` of one kind of container, at tag 0, followed by the byte 7 at tag 1. A map nests
// through its one entry: a zero key at tag 0, the next map as value at tag 1.
Bytes NestedThen7(const std::string& kind, int levels) {
    const std::size_t n = static_cast<std::size_t>(levels);
    const std::string nested = kind == "struct" ? Times("0a", n) + Times("0b", n)
                               : kind == "list"
                                   ? Times("09 00 01", n - 1) + "09 0c"
                                   : "08 00 01 0c " + Times("18 00 01 0c", n - 2) + "18 0c";
    return Hex(nested + " 10 07");
}

TEST(TafHardening, NestingIsFollowedExactlyToTheDepthBound) {
    for (const std::string kind : {"struct", "list", "map"}) {
        for (const int levels : {kMaxDepth, kMaxDepth + 1}) {
            const Bytes bytes = NestedThen7(kind, levels);
            TafInputStream in(bytes);
            std::int8_t after = 0;
            const Status expected = levels <= kMaxDepth ? kOk : kRequiredMissing;
            EXPECT_EQ(in.readInt(after, 1, true), expected) << kind << " " << levels;
            EXPECT_EQ(after, levels <= kMaxDepth ? 7 : 0);
        }
    }
}

test::Tree TreeOfDepth(int depth) {
    test::Tree tree;
    if (depth > 1) {
        tree.vChildren.push_back(TreeOfDepth(depth - 1));
    }
    return tree;
}

TEST(TafHardening, RecursiveRecordsStopAtTheDepthBound) {
    // Each level below the top is a list and a record: two steps of depth.
    test::Tree decoded;
    EXPECT_EQ(fromBytes(toBytes(TreeOfDepth(kMaxDepth / 2)), decoded), kOk);
    EXPECT_EQ(fromBytes(toBytes(TreeOfDepth(kMaxDepth / 2 + 2)), decoded), kNestingTooDeep);
}

// The realistic side of the budget: lists of large records of which the writer sent only a
// field or two decode whole, up to the budget. The hostile side: a count the budget cannot
// hold fails before anything is allocated, and the worst inputs of 1 MB stay within it.
TEST(TafHardening, TheAllocationBudgetHoldsRealisticListsAndStopsAtItsBound) {
    const std::size_t perElement = sizeof(Holder<AllKinds>);
    const std::size_t fits = kAllocationBudgetFloor / perElement;
    for (const std::size_t count : {fits, fits + 1}) {
        TafOutputStream out;
        out.writeListHead(count, 0);
        for (std::size_t i = 0; i < count; ++i) {
            out.writeStructBegin(0);
            out.writeInt(3, 1);
            out.writeStructEnd();
        }
        const Bytes bytes = out.toBytes();
        ASSERT_LT(allocationBudget(bytes.size()), (fits + 1) * perElement);

        std::vector<Holder<AllKinds>> records;
        AllocationProbe probe;
        TafInputStream in(bytes);
        const Status status = readValue(in, records, 0, true);
        if (count == fits) {
            EXPECT_EQ(status, kOk);
            ASSERT_EQ(records.size(), count);
            EXPECT_EQ(records.back().iAfter, 3);
            EXPECT_LE(probe.totalBytes(), allocationBudget(bytes.size()));
        } else {
            EXPECT_EQ(status, kTruncated);
            EXPECT_TRUE(records.empty());
            EXPECT_EQ(probe.totalBytes(), 0u);
        }
    }
}

// Inputs of 1 MB built to allocate the most, each read as every one of the shapes: a list
// of large records that fails at its first element (and so keeps its declared length), lists
// of lists of strings just too long to sit inside the string, and a map of distinct keys.
TEST(TafHardening, TheWorstInputsOfAMegabyteStayWithinTheBudget) {
    constexpr std::size_t kSize = 1 << 20;
    TafOutputStream records;
    records.writeListHead(kAllocationBudgetFloor / sizeof(Holder<AllKinds>), 0);
    TafOutputStream strings;
    strings.writeListHead(kSize / 22, 0);
    for (std::size_t i = 0; i < kSize / 22; ++i) {
        strings.writeListHead(1, 0);
        strings.writeString(std::string(16, 's'), 0);
    }
    TafOutputStream keys;
    keys.writeMapHead(kSize / 10, 0);
    for (std::size_t i = 0; i < kSize / 10; ++i) {
        keys.writeString(std::to_string(i), 0);
        keys.writeString("", 1);
    }
    for (TafOutputStream* out : {&records, &strings, &keys}) {
        Bytes bytes = out->toBytes();
        bytes.resize(kSize, 0x2C);  // zeros at tag 2: nothing a reader at tag 0 takes
        const auto expectWithinBudget = [&](auto value) {
            AllocationProbe probe;
            TafInputStream in(bytes);
            static_cast<void>(readValue(in, value, 0, true));
            EXPECT_LE(probe.totalBytes(), allocationBudget(kSize));
        };
        expectWithinBudget(std::vector<Holder<AllKinds>>{});
        expectWithinBudget(std::vector<std::vector<std::string>>{});
        expectWithinBudget(std::map<std::string, std::string>{});
    }
}

}  // namespace
}  // namespace taf
