// Copying into a record kept for reuse: the copy equals its source whatever the target held,
// and a target that already has the source's shape takes it without allocating.
#include "taf/assign_over.h"

#include <gtest/gtest.h>

#include "support/allocation_probe.h"
#include "taf/test_records.h"

namespace taf {
namespace {

using test::AllKinds;
using test::Inner;

AllKinds Filled(int n) {
    AllKinds value;
    value.bFlag = n % 2 == 0;
    value.iValue = n;
    value.lBig = 5'000'000'000LL * n;
    value.sText = std::string(40 + n, 't');
    value.vData = Bytes(static_cast<std::size_t>(n), 7);
    value.vNumbers.assign(static_cast<std::size_t>(n), n);
    value.vNames.assign(static_cast<std::size_t>(n), std::string(30, 'n'));
    value.vInner.assign(static_cast<std::size_t>(n), Inner{n, std::string(20, 'i')});
    value.vFlags.assign(static_cast<std::size_t>(n), true);
    value.vGrid.assign(2, std::vector<std::int8_t>(static_cast<std::size_t>(n), 1));
    for (int i = 0; i < n; ++i) {
        value.mpCounts[std::string(20, static_cast<char>('a' + i))] = i;
        value.mpInner[i] = Inner{i, std::string(20, 'm')};
        value.mpLists[std::string(18, static_cast<char>('k' + i))] = {std::string(25, 'l')};
    }
    value.tInner = {n, std::string(17, 'x')};
    return value;
}

// Maps whose keys leave those of the other values part way: after the second key (mpCounts)
// and at the first (mpInner).
AllKinds KeysDivergingPartWay() {
    AllKinds value = Filled(5);
    value.mpCounts.erase(std::string(20, 'c'));
    value.mpCounts[std::string(21, 'b')] = 7;
    value.mpInner.erase(2);
    value.mpInner[-1] = Inner{};
    return value;
}

TEST(AssignOver, TheTargetEqualsTheSourceWhateverItHeld) {
    const AllKinds sources[] = {AllKinds{}, Filled(1), Filled(4), Filled(2)};
    const AllKinds targets[] = {AllKinds{}, Filled(3), Filled(6), KeysDivergingPartWay()};
    for (const auto& source : sources) {
        for (auto target : targets) {
            assignOver(target, source);
            EXPECT_EQ(target, source) << "source " << source.iValue;
        }
    }
}

TEST(AssignOver, ATargetOfTheSameShapeTakesTheSourceWithoutAllocating) {
    const AllKinds source = Filled(4);
    AllKinds target = Filled(4);
    target.sText.assign(10, 'o');
    target.mpCounts.begin()->second = 99;
    test::AllocationProbe probe;
    assignOver(target, source);
    EXPECT_EQ(probe.totalBytes(), 0u);
    EXPECT_EQ(target, source);
}

}  // namespace
}  // namespace taf
