// A gift-list reply filled like the server's: every field set, names, links and numbers of
// realistic lengths and magnitudes. Deterministic, so its encoding can be pinned byte for byte
// and the benchmarks feed the same data to every codec.
#pragma once

#include <cstdint>
#include <string>

#include "taf/records/props_list.h"
#include "taf/records/user_id.h"

namespace test {

namespace props_sample_detail {

inline std::string Text(const char* stem, int n) {
    return std::string(stem) + std::to_string(n);
}

inline MERU::PropsItemInfoA InfoA(int n) {
    MERU::PropsItemInfoA a;
    a.iField1 = 1 + n % 7;
    a.sField2 = Text("fx", n);
    a.sField3 = Text("a/", 10'000 + n);
    a.sField4 = Text("#FF", 1000 + n % 9000);
    a.sField5 = Text("frame", n % 30);
    a.sField6 = "";
    a.sField7 = Text("lv", n % 5);
    a.sField8 = Text("b", n);
    a.sField9 = "1";
    a.sField10 = Text("t", n % 40);
    a.iField11 = 60 * (n % 4);
    a.iField12 = -1;
    a.sField13 = Text("zh_", n % 3);
    a.iField14 = 100'000 + n;
    a.sField15 = Text("i/", 20'000 + n);
    a.sField16 = "";
    a.sField17 = Text("sound", n % 11);
    a.iField18 = 2;
    a.sField19 = Text("m", n);
    a.iField20 = 1'700'000'000 + n;
    a.sField21 = Text("s", n % 13);
    a.iField22 = static_cast<std::int16_t>(300 + n);
    a.sField23 = "";
    a.sField24 = Text("v", n % 3);
    return a;
}

inline MERU::PropsItemInfoD InfoD(int n) {
    MERU::PropsItemInfoD d;
    d.iField0 = n % 3;
    d.sField1 = Text("c", n);
    d.mpField2 = {{1, static_cast<std::int16_t>(n % 50)}, {66, 7}};
    d.sField3 = Text("cn", n % 4);
    d.mpField4 = {{1000 + n, 1}, {99, static_cast<std::int16_t>(-n)}};
    return d;
}

}  // namespace props_sample_detail

inline MERU::PropsItem SampleGiftItem(int n) {
    using namespace props_sample_detail;
    MERU::PropsItem item;
    item.iField1 = 20'000 + n;
    item.sField2 = Text("Gift ", n);
    item.iField3 = 10 * (n % 100);
    item.iField4 = n % 2;
    item.iField5 = 1 + n % 9;
    item.iField6 = 100 * n;
    item.iField7 = -(n % 5);
    item.iField8 = 70'000 + 3 * n;
    item.iField9 = n % 128;
    item.iField10 = 1;
    item.vField11 = {1, 10, 66};
    item.iField12 = 2;
    item.iField13 = 3'000'000 + n;
    item.vField14 = {0, 1, n};
    item.sField15 = Text("g/", 30'000 + n);
    item.vField16 = {InfoA(n)};
    item.iField17 = n % 6;
    item.iField18 = 40'000 + n;
    item.tField19 = {n, 1, 2, 3, 40, 500, 6000, 0, 8, 9, -1};
    item.tField20 = {n % 4, 7,   Text("slot_", n),   0,      12,  "",
                     255,   256, Text("tag", n % 8), 65'536, -300};
    item.iField21 = 1;
    item.iField22 = 0;
    item.sField23 = Text("Thx ", n);
    item.sField24 = Text("cat", n % 12);
    item.iField25 = 5;
    item.iField26 = 1'600'000'000 + 17 * n;
    item.iField27 = 1'900'000'000;
    item.sField28 = Text("s/", 40'000 + n);
    item.sField29 = Text("st/", 50'000 + n);
    item.sField30 = "";
    item.sField31 = Text("{\"x\":", n) + "}";
    item.sField32 = Text("ver", n % 20);
    item.vField33 = {n, 2, -3};
    item.vField34 = {InfoD(n)};
    item.iField35 = static_cast<std::int16_t>(n % 10);
    item.iField36 = 127;
    item.iField37 = -128;
    item.iField38 = 1 << 20;
    return item;
}

// The reply to "getPropsList" with `count` items.
inline MERU::GetPropsListRsp SampleGiftList(int count) {
    MERU::GetPropsListRsp reply;
    reply.vPropsItemList.reserve(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n) {
        reply.vPropsItemList.push_back(SampleGiftItem(n));
    }
    reply.sText = "ok";
    reply.iValue3 = 1;
    reply.iValue4 = 200;
    reply.iValue5 = -1;
    return reply;
}

inline MERU::UserId SampleUserId() {
    MERU::UserId id;
    id.lUid = 1'234'567'890'123;
    id.sGuid = "0f5e7c1a9b2d4e6f8a0b1c2d3e4f5a6b";
    id.sToken = "eyJhbGciOiJIUzI1NiJ9.c2Vzc2lvbg.dG9rZW4tc2lnbmF0dXJlLXRleHQ";
    id.sUA = "kinetra&1.4.2&windows&x64";
    id.sCookie = "uid=1234567890123; session=abcdef0123456789";
    id.iTokenType = 2;
    id.sDeviceId = "device-7f3a-19c2-88e0";
    return id;
}

}  // namespace test
