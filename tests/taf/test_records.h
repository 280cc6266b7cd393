// Records of every field kind, shared by the codec, rendering and hardening tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "taf/record_table.h"

namespace test {

struct Inner {
    std::int32_t iValue = 0;
    std::string sName;

    bool operator==(const Inner&) const = default;
    static constexpr auto tafTable() {
        return taf::table("Inner", taf::required(0, &Inner::iValue, "iValue"),
                          taf::optional(1, &Inner::sName, "sName"));
    }
};

struct AllKinds {
    bool bFlag = true;
    std::int8_t cSmall = 0;
    std::int16_t iShort = 0;
    std::int32_t iValue = -1;
    std::int64_t lBig = 0;
    double dRatio = 0;
    std::string sText;
    taf::Bytes vData;
    std::vector<std::int32_t> vNumbers;
    std::vector<std::string> vNames;
    std::vector<Inner> vInner;
    std::vector<bool> vFlags;
    std::vector<std::vector<std::int8_t>> vGrid;
    std::map<std::string, std::int64_t> mpCounts;
    std::map<std::int32_t, Inner> mpInner;
    std::map<std::string, std::vector<std::string>> mpLists;
    Inner tInner;

    bool operator==(const AllKinds&) const = default;
    static constexpr auto tafTable() {
        using R = AllKinds;
        return taf::table(
            "AllKinds", taf::optional(0, &R::bFlag, "bFlag"),
            taf::optional(1, &R::cSmall, "cSmall"), taf::optional(2, &R::iShort, "iShort"),
            taf::required(3, &R::iValue, "iValue"), taf::optional(4, &R::lBig, "lBig"),
            taf::optional(5, &R::dRatio, "dRatio"), taf::optional(6, &R::sText, "sText"),
            taf::optional(7, &R::vData, "vData"), taf::optional(8, &R::vNumbers, "vNumbers"),
            taf::optional(9, &R::vNames, "vNames"), taf::optional(10, &R::vInner, "vInner"),
            taf::optional(11, &R::vFlags, "vFlags"), taf::optional(12, &R::vGrid, "vGrid"),
            taf::optional(14, &R::mpCounts, "mpCounts"), taf::optional(15, &R::mpInner, "mpInner"),
            taf::optional(16, &R::mpLists, "mpLists"), taf::optional(200, &R::tInner, "tInner"));
    }
};

// A record and what follows it in the enclosing record, to see that reading the first
// leaves the cursor right for the second.
template <class T>
struct Holder {
    T tRecord;
    std::int32_t iAfter = 0;

    static constexpr auto tafTable() {
        return taf::table("Holder", taf::optional(0, &Holder::tRecord, "tRecord"),
                          taf::optional(1, &Holder::iAfter, "iAfter"));
    }
};

// Records may hold lists of themselves; only the depth bound stops hostile nesting.
struct Tree {
    std::vector<Tree> vChildren;

    static constexpr auto tafTable() {
        return taf::table("Tree", taf::optional(0, &Tree::vChildren, "vChildren"));
    }
};

}  // namespace test
