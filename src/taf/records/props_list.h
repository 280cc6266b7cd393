// The gift list: the request for the room's gift items, its response, and the item records,
// which travel on to the engine unchanged.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "taf/record_table.h"
#include "taf/records/user_id.h"

namespace MERU {

// Nested in PropsItem at tag 16.
struct PropsItemInfoA {
    std::int32_t iField1 = 0;
    std::string sField2;
    std::string sField3;
    std::string sField4;
    std::string sField5;
    std::string sField6;
    std::string sField7;
    std::string sField8;
    std::string sField9;
    std::string sField10;
    std::int32_t iField11 = 0;
    std::int32_t iField12 = 0;
    std::string sField13;
    std::int32_t iField14 = 0;
    std::string sField15;
    std::string sField16;
    std::string sField17;
    std::int32_t iField18 = 0;
    std::string sField19;
    std::int32_t iField20 = 0;
    std::string sField21;
    std::int16_t iField22 = 0;
    std::string sField23;
    std::string sField24;

    static constexpr auto tafTable() {
        return taf::table("PropsItemInfoA", taf::optional(1, &PropsItemInfoA::iField1, "iField1"),
                          taf::optional(2, &PropsItemInfoA::sField2, "sField2"),
                          taf::optional(3, &PropsItemInfoA::sField3, "sField3"),
                          taf::optional(4, &PropsItemInfoA::sField4, "sField4"),
                          taf::optional(5, &PropsItemInfoA::sField5, "sField5"),
                          taf::optional(6, &PropsItemInfoA::sField6, "sField6"),
                          taf::optional(7, &PropsItemInfoA::sField7, "sField7"),
                          taf::optional(8, &PropsItemInfoA::sField8, "sField8"),
                          taf::optional(9, &PropsItemInfoA::sField9, "sField9"),
                          taf::optional(10, &PropsItemInfoA::sField10, "sField10"),
                          taf::optional(11, &PropsItemInfoA::iField11, "iField11"),
                          taf::optional(12, &PropsItemInfoA::iField12, "iField12"),
                          taf::optional(13, &PropsItemInfoA::sField13, "sField13"),
                          taf::optional(14, &PropsItemInfoA::iField14, "iField14"),
                          taf::optional(15, &PropsItemInfoA::sField15, "sField15"),
                          taf::optional(16, &PropsItemInfoA::sField16, "sField16"),
                          taf::optional(17, &PropsItemInfoA::sField17, "sField17"),
                          taf::optional(18, &PropsItemInfoA::iField18, "iField18"),
                          taf::optional(19, &PropsItemInfoA::sField19, "sField19"),
                          taf::optional(20, &PropsItemInfoA::iField20, "iField20"),
                          taf::optional(21, &PropsItemInfoA::sField21, "sField21"),
                          taf::optional(22, &PropsItemInfoA::iField22, "iField22"),
                          taf::optional(23, &PropsItemInfoA::sField23, "sField23"),
                          taf::optional(24, &PropsItemInfoA::sField24, "sField24"));
    }
};

// Nested in PropsItem at tag 19.
struct PropsItemInfoB {
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
    std::int32_t iField11 = 0;

    static constexpr auto tafTable() {
        return taf::table("PropsItemInfoB", taf::optional(1, &PropsItemInfoB::iField1, "iField1"),
                          taf::optional(2, &PropsItemInfoB::iField2, "iField2"),
                          taf::optional(3, &PropsItemInfoB::iField3, "iField3"),
                          taf::optional(4, &PropsItemInfoB::iField4, "iField4"),
                          taf::optional(5, &PropsItemInfoB::iField5, "iField5"),
                          taf::optional(6, &PropsItemInfoB::iField6, "iField6"),
                          taf::optional(7, &PropsItemInfoB::iField7, "iField7"),
                          taf::optional(8, &PropsItemInfoB::iField8, "iField8"),
                          taf::optional(9, &PropsItemInfoB::iField9, "iField9"),
                          taf::optional(10, &PropsItemInfoB::iField10, "iField10"),
                          taf::optional(11, &PropsItemInfoB::iField11, "iField11"));
    }
};

// Nested in PropsItem at tag 20.
struct PropsItemInfoC {
    std::int32_t iField1 = 0;
    std::int32_t iField2 = 0;
    std::string sField3;
    std::int32_t iField4 = 0;
    std::int32_t iField5 = 0;
    std::string sField6;
    std::int32_t iField7 = 0;
    std::int32_t iField8 = 0;
    std::string sField9;
    std::int32_t iField10 = 0;
    std::int32_t iField11 = 0;

    static constexpr auto tafTable() {
        return taf::table("PropsItemInfoC", taf::optional(1, &PropsItemInfoC::iField1, "iField1"),
                          taf::optional(2, &PropsItemInfoC::iField2, "iField2"),
                          taf::optional(3, &PropsItemInfoC::sField3, "sField3"),
                          taf::optional(4, &PropsItemInfoC::iField4, "iField4"),
                          taf::optional(5, &PropsItemInfoC::iField5, "iField5"),
                          taf::optional(6, &PropsItemInfoC::sField6, "sField6"),
                          taf::optional(7, &PropsItemInfoC::iField7, "iField7"),
                          taf::optional(8, &PropsItemInfoC::iField8, "iField8"),
                          taf::optional(9, &PropsItemInfoC::sField9, "sField9"),
                          taf::optional(10, &PropsItemInfoC::iField10, "iField10"),
                          taf::optional(11, &PropsItemInfoC::iField11, "iField11"));
    }
};

// Nested in PropsItem at tag 34.
struct PropsItemInfoD {
    std::int32_t iField0 = 0;
    std::string sField1;
    std::map<std::int64_t, std::int16_t> mpField2;
    std::string sField3;
    std::map<std::int64_t, std::int16_t> mpField4;

    static constexpr auto tafTable() {
        return taf::table("PropsItemInfoD", taf::optional(0, &PropsItemInfoD::iField0, "iField0"),
                          taf::optional(1, &PropsItemInfoD::sField1, "sField1"),
                          taf::optional(2, &PropsItemInfoD::mpField2, "mpField2"),
                          taf::optional(3, &PropsItemInfoD::sField3, "sField3"),
                          taf::optional(4, &PropsItemInfoD::mpField4, "mpField4"));
    }
};

// One gift item. The plug-in reads none of its fields and passes it on whole, so every tag
// keeps its wire type.
struct PropsItem {
    std::int32_t iField1 = 0;
    std::string sField2;
    std::int32_t iField3 = 0;
    std::int32_t iField4 = 0;
    std::int32_t iField5 = 0;
    std::int32_t iField6 = 0;
    std::int32_t iField7 = 0;
    std::int32_t iField8 = 0;
    std::int32_t iField9 = 0;
    std::int32_t iField10 = 0;
    std::vector<std::int32_t> vField11;
    std::int32_t iField12 = 0;
    std::int32_t iField13 = 0;
    std::vector<std::int32_t> vField14;
    std::string sField15;
    std::vector<PropsItemInfoA> vField16;
    std::int32_t iField17 = 0;
    std::int32_t iField18 = 0;
    PropsItemInfoB tField19;
    PropsItemInfoC tField20;
    std::int32_t iField21 = 0;
    std::int32_t iField22 = 0;
    std::string sField23;
    std::string sField24;
    std::int32_t iField25 = 0;
    std::int32_t iField26 = 0;
    std::int32_t iField27 = 0;
    std::string sField28;
    std::string sField29;
    std::string sField30;
    std::string sField31;
    std::string sField32;
    std::vector<std::int64_t> vField33;
    std::vector<PropsItemInfoD> vField34;
    std::int16_t iField35 = 0;
    std::int16_t iField36 = 0;
    std::int16_t iField37 = 0;
    std::int32_t iField38 = 0;

    static constexpr auto tafTable() {
        return taf::table("PropsItem", taf::optional(1, &PropsItem::iField1, "iField1"),
                          taf::optional(2, &PropsItem::sField2, "sField2"),
                          taf::optional(3, &PropsItem::iField3, "iField3"),
                          taf::optional(4, &PropsItem::iField4, "iField4"),
                          taf::optional(5, &PropsItem::iField5, "iField5"),
                          taf::optional(6, &PropsItem::iField6, "iField6"),
                          taf::optional(7, &PropsItem::iField7, "iField7"),
                          taf::optional(8, &PropsItem::iField8, "iField8"),
                          taf::optional(9, &PropsItem::iField9, "iField9"),
                          taf::optional(10, &PropsItem::iField10, "iField10"),
                          taf::optional(11, &PropsItem::vField11, "vField11"),
                          taf::optional(12, &PropsItem::iField12, "iField12"),
                          taf::optional(13, &PropsItem::iField13, "iField13"),
                          taf::optional(14, &PropsItem::vField14, "vField14"),
                          taf::optional(15, &PropsItem::sField15, "sField15"),
                          taf::optional(16, &PropsItem::vField16, "vField16"),
                          taf::optional(17, &PropsItem::iField17, "iField17"),
                          taf::optional(18, &PropsItem::iField18, "iField18"),
                          taf::optional(19, &PropsItem::tField19, "tField19"),
                          taf::optional(20, &PropsItem::tField20, "tField20"),
                          taf::optional(21, &PropsItem::iField21, "iField21"),
                          taf::optional(22, &PropsItem::iField22, "iField22"),
                          taf::optional(23, &PropsItem::sField23, "sField23"),
                          taf::optional(24, &PropsItem::sField24, "sField24"),
                          taf::optional(25, &PropsItem::iField25, "iField25"),
                          taf::optional(26, &PropsItem::iField26, "iField26"),
                          taf::optional(27, &PropsItem::iField27, "iField27"),
                          taf::optional(28, &PropsItem::sField28, "sField28"),
                          taf::optional(29, &PropsItem::sField29, "sField29"),
                          taf::optional(30, &PropsItem::sField30, "sField30"),
                          taf::optional(31, &PropsItem::sField31, "sField31"),
                          taf::optional(32, &PropsItem::sField32, "sField32"),
                          taf::optional(33, &PropsItem::vField33, "vField33"),
                          taf::optional(34, &PropsItem::vField34, "vField34"),
                          taf::optional(35, &PropsItem::iField35, "iField35"),
                          taf::optional(36, &PropsItem::iField36, "iField36"),
                          taf::optional(37, &PropsItem::iField37, "iField37"),
                          taf::optional(38, &PropsItem::iField38, "iField38"));
    }
};

// Sent once per instance while no list is cached. The identity is left at its defaults.
struct GetPropsListReq {
    UserId tUserId;
    std::string sField2;
    std::int32_t iField3 = 0;
    std::string sField4;
    std::int32_t iField5 = 0;
    std::int64_t lUid6 = 0;
    std::int64_t lUid7 = 0;
    std::int64_t lUid8 = 0;
    std::int32_t iGameId = 0;

    static constexpr auto tafTable() {
        return taf::table("GetPropsListReq", taf::optional(1, &GetPropsListReq::tUserId, "tUserId"),
                          taf::optional(2, &GetPropsListReq::sField2, "sField2"),
                          taf::optional(3, &GetPropsListReq::iField3, "iField3"),
                          taf::optional(4, &GetPropsListReq::sField4, "sField4"),
                          taf::optional(5, &GetPropsListReq::iField5, "iField5"),
                          taf::optional(6, &GetPropsListReq::lUid6, "lUid6"),
                          taf::optional(7, &GetPropsListReq::lUid7, "lUid7"),
                          taf::optional(8, &GetPropsListReq::lUid8, "lUid8"),
                          taf::optional(9, &GetPropsListReq::iGameId, "iGameId"));
    }
};

// The reply, and also what the engine receives as the encoded gift list.
struct GetPropsListRsp {
    std::vector<PropsItem> vPropsItemList;
    std::string sText;
    std::int16_t iValue3 = 0;
    std::int16_t iValue4 = 0;
    std::int16_t iValue5 = 0;

    static constexpr auto tafTable() {
        return taf::table("GetPropsListRsp",
                          taf::optional(1, &GetPropsListRsp::vPropsItemList, "vPropsItemList"),
                          taf::optional(2, &GetPropsListRsp::sText, "sText"),
                          taf::optional(3, &GetPropsListRsp::iValue3, "iValue3"),
                          taf::optional(4, &GetPropsListRsp::iValue4, "iValue4"),
                          taf::optional(5, &GetPropsListRsp::iValue5, "iValue5"));
    }
};

}  // namespace MERU
