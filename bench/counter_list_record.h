// A record shape unlike the gift list's, for the codec's bench: integer-heavy, as a list of
// counters or scores would be. 200 items of 25 integers, 10 strings, two integer lists and a
// nested record of 11 integers, every field set to a value that is not its default (so that
// protobuf, which leaves defaults out, writes every field too).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "taf/record_table.h"

namespace bench_records {

struct CounterInner {
    std::int32_t iField0 = 0;
    std::int32_t iField1 = 0;
    std::int32_t iField2 = 0;
    std::int32_t iField3 = 0;
    std::int32_t iField4 = 0;
    std::int32_t iField5 = 0;
    std::int32_t iField6 = 0;
    std::int32_t iField7 = 0;
    std::int32_t iField8 = 0;
    std::int32_t iField9 = 0;
    std::int32_t iField10 = 0;

    static constexpr auto tafTable() {
        using R = CounterInner;
        return taf::table(
            "CounterInner", taf::optional(0, &R::iField0, "iField0"),
            taf::optional(1, &R::iField1, "iField1"), taf::optional(2, &R::iField2, "iField2"),
            taf::optional(3, &R::iField3, "iField3"), taf::optional(4, &R::iField4, "iField4"),
            taf::optional(5, &R::iField5, "iField5"), taf::optional(6, &R::iField6, "iField6"),
            taf::optional(7, &R::iField7, "iField7"), taf::optional(8, &R::iField8, "iField8"),
            taf::optional(9, &R::iField9, "iField9"), taf::optional(10, &R::iField10, "iField10"));
    }
};

struct CounterItem {
    std::int32_t iField0 = 0;
    std::int32_t iField1 = 0;
    std::string sField2;
    std::int64_t iField3 = 0;
    std::int32_t iField4 = 0;
    std::int32_t iField5 = 0;
    std::string sField6;
    std::int32_t iField7 = 0;
    std::int32_t iField8 = 0;
    std::vector<std::int32_t> vField9;
    std::int32_t iField10 = 0;
    std::string sField11;
    std::int32_t iField12 = 0;
    std::int64_t iField13 = 0;
    std::int32_t iField14 = 0;
    CounterInner tField15;
    std::string sField16;
    std::int32_t iField17 = 0;
    std::int32_t iField18 = 0;
    std::int32_t iField19 = 0;
    std::string sField20;
    std::int32_t iField21 = 0;
    std::int32_t iField22 = 0;
    std::vector<std::int64_t> vField23;
    std::string sField24;
    std::int32_t iField25 = 0;
    std::int64_t iField26 = 0;
    std::int32_t iField27 = 0;
    std::string sField28;
    std::int32_t iField29 = 0;
    std::int32_t iField30 = 0;
    std::string sField31;
    std::int32_t iField32 = 0;
    std::int32_t iField33 = 0;
    std::string sField34;
    std::int32_t iField35 = 0;
    std::int32_t iField36 = 0;
    std::string sField37;

    static constexpr auto tafTable() {
        using R = CounterItem;
        return taf::table(
            "CounterItem", taf::optional(0, &R::iField0, "iField0"),
            taf::optional(1, &R::iField1, "iField1"), taf::optional(2, &R::sField2, "sField2"),
            taf::optional(3, &R::iField3, "iField3"), taf::optional(4, &R::iField4, "iField4"),
            taf::optional(5, &R::iField5, "iField5"), taf::optional(6, &R::sField6, "sField6"),
            taf::optional(7, &R::iField7, "iField7"), taf::optional(8, &R::iField8, "iField8"),
            taf::optional(9, &R::vField9, "vField9"), taf::optional(10, &R::iField10, "iField10"),
            taf::optional(11, &R::sField11, "sField11"),
            taf::optional(12, &R::iField12, "iField12"),
            taf::optional(13, &R::iField13, "iField13"),
            taf::optional(14, &R::iField14, "iField14"),
            taf::optional(15, &R::tField15, "tField15"),
            taf::optional(16, &R::sField16, "sField16"),
            taf::optional(17, &R::iField17, "iField17"),
            taf::optional(18, &R::iField18, "iField18"),
            taf::optional(19, &R::iField19, "iField19"),
            taf::optional(20, &R::sField20, "sField20"),
            taf::optional(21, &R::iField21, "iField21"),
            taf::optional(22, &R::iField22, "iField22"),
            taf::optional(23, &R::vField23, "vField23"),
            taf::optional(24, &R::sField24, "sField24"),
            taf::optional(25, &R::iField25, "iField25"),
            taf::optional(26, &R::iField26, "iField26"),
            taf::optional(27, &R::iField27, "iField27"),
            taf::optional(28, &R::sField28, "sField28"),
            taf::optional(29, &R::iField29, "iField29"),
            taf::optional(30, &R::iField30, "iField30"),
            taf::optional(31, &R::sField31, "sField31"),
            taf::optional(32, &R::iField32, "iField32"),
            taf::optional(33, &R::iField33, "iField33"),
            taf::optional(34, &R::sField34, "sField34"),
            taf::optional(35, &R::iField35, "iField35"),
            taf::optional(36, &R::iField36, "iField36"),
            taf::optional(37, &R::sField37, "sField37"));
    }
};

struct CounterListRsp {
    std::vector<CounterItem> vItems;

    static constexpr auto tafTable() {
        return taf::table("CounterListRsp", taf::optional(0, &CounterListRsp::vItems, "vItems"));
    }
};

// Item `n` of the sample: integers of every width, strings of 8 to 50 bytes, lists of 4 to 11.
inline CounterItem SampleCounterItem(int n) {
    CounterItem item;
    item.iField0 = 7 + n;
    item.iField1 = 300 + n;
    item.sField2 = "sField2-" + std::to_string(n) + std::string(20, 'a' + 2);
    item.iField3 = 5'000'000'000LL + n * 4;
    item.iField4 = 70000 + n;
    item.iField5 = -3 - n;
    item.sField6 = "sField6-" + std::to_string(n) + std::string(13, 'a' + 6);
    item.iField7 = 1200 + n;
    item.iField8 = -90000 - n;
    for (int i = 0; i < 4 + n % 8; ++i) {
        item.vField9.push_back(i * 1000 + n + 1);
    }
    item.iField10 = 42 + n;
    item.sField11 = "sField11-" + std::to_string(n) + std::string(13, 'a' + 11);
    item.iField12 = 65000 + n;
    item.iField13 = 5'000'000'000LL + n * 14;
    item.iField14 = 100 + n;
    item.tField15 = {1 + n,    200 + n,   3000 + n, 40000 + n, 5 + n,  600 + n,
                     7000 + n, 80000 + n, 9 + n,    1000 + n,  -11 - n};
    item.sField16 = "sField16-" + std::to_string(n) + std::string(13, 'a' + 16);
    item.iField17 = 2000000 + n;
    item.iField18 = 7 + n;
    item.iField19 = 300 + n;
    item.sField20 = "sField20-" + std::to_string(n) + std::string(6, 'a' + 20);
    item.iField21 = 70000 + n;
    item.iField22 = -3 - n;
    for (int i = 0; i < 4 + n % 8; ++i) {
        item.vField23.push_back(1'000'000'000'000LL * (i + 1) + n);
    }
    item.sField24 = "sField24-" + std::to_string(n) + std::string(34, 'a' + 24);
    item.iField25 = 1200 + n;
    item.iField26 = 5'000'000'000LL + n * 27;
    item.iField27 = -90000 - n;
    item.sField28 = "sField28-" + std::to_string(n) + std::string(27, 'a' + 2);
    item.iField29 = 42 + n;
    item.iField30 = 65000 + n;
    item.sField31 = "sField31-" + std::to_string(n) + std::string(13, 'a' + 5);
    item.iField32 = 100 + n;
    item.iField33 = 2000000 + n;
    item.sField34 = "sField34-" + std::to_string(n) + std::string(34, 'a' + 8);
    item.iField35 = 7 + n;
    item.iField36 = 300 + n;
    item.sField37 = "sField37-" + std::to_string(n) + std::string(20, 'a' + 11);
    return item;
}

inline CounterListRsp SampleCounterList(int count) {
    CounterListRsp reply;
    for (int n = 0; n < count; ++n) {
        reply.vItems.push_back(SampleCounterItem(n));
    }
    return reply;
}

}  // namespace bench_records
