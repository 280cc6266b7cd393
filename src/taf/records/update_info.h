// The engine's update query (2027) and update report (2028), the server records they become,
// and the answer the engine gets (317). The servers give the response's fields their meaning;
// the plug-in passes them through.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "taf/record_table.h"
#include "taf/records/user_id.h"

namespace MERU {

struct GetMobileUpdateInfoReq {
    UserId tId;
    std::string sExtra1;
    std::string sExtra2;
    std::int32_t iExtra3 = 0;
    std::map<std::string, std::string> mpRelyArtifacts;
    std::map<std::string, std::int32_t> mpRelyArtifactTypes;

    static constexpr auto tafTable() {
        using R = GetMobileUpdateInfoReq;
        return taf::table("GetMobileUpdateInfoReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::sExtra1, "sExtra1"),
                          taf::optional(2, &R::sExtra2, "sExtra2"),
                          taf::optional(3, &R::iExtra3, "iExtra3"),
                          taf::optional(6, &R::mpRelyArtifacts, "mpRelyArtifacts"),
                          taf::optional(7, &R::mpRelyArtifactTypes, "mpRelyArtifactTypes"));
    }
};

struct GetMobileUpdateInfoRsp {
    std::int32_t iField0 = 0;
    std::int32_t iField1 = 0;
    std::string sField2;
    std::string sField3;
    std::string sField4;
    std::int32_t iField5 = 0;
    std::string sField6;
    // Remembered by the instance and reported back with the engine's update result.
    std::int32_t iField7 = 0;
    std::int32_t iField8 = 0;
    std::string sField9;
    std::int32_t iField10 = 0;
    std::vector<std::string> vField11;
    std::vector<std::string> vField12;
    std::string sField13;
    std::int32_t iField14 = 0;

    static constexpr auto tafTable() {
        using R = GetMobileUpdateInfoRsp;
        return taf::table(
            "GetMobileUpdateInfoRsp", taf::optional(0, &R::iField0, "iField0"),
            taf::optional(1, &R::iField1, "iField1"), taf::optional(2, &R::sField2, "sField2"),
            taf::optional(3, &R::sField3, "sField3"), taf::optional(4, &R::sField4, "sField4"),
            taf::optional(5, &R::iField5, "iField5"), taf::optional(6, &R::sField6, "sField6"),
            taf::optional(7, &R::iField7, "iField7"), taf::optional(8, &R::iField8, "iField8"),
            taf::optional(9, &R::sField9, "sField9"), taf::optional(10, &R::iField10, "iField10"),
            taf::optional(11, &R::vField11, "vField11"),
            taf::optional(12, &R::vField12, "vField12"),
            taf::optional(13, &R::sField13, "sField13"),
            taf::optional(14, &R::iField14, "iField14"));
    }
};

struct ReportMobileUpdateResultReq {
    UserId tId;
    std::int32_t iUpdateValue = 0;
    std::int32_t iResult = 0;
    std::string sExtra;

    static constexpr auto tafTable() {
        using R = ReportMobileUpdateResultReq;
        return taf::table("ReportMobileUpdateResultReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::iUpdateValue, "iUpdateValue"),
                          taf::optional(2, &R::iResult, "iResult"),
                          taf::optional(3, &R::sExtra, "sExtra"));
    }
};

}  // namespace MERU

namespace MeruKinetra {

// Message 2027: only the parameters "iType" and "sUA" are read.
struct UpdateInfoReqMsg {
    MERU::UserId tId;
    // Looked up by literal keys, without a string made for each lookup.
    std::map<std::string, std::string, std::less<>> mpParam;
    std::string sExtra;
    std::vector<std::string> vExtra;

    static constexpr auto tafTable() {
        using M = UpdateInfoReqMsg;
        return taf::table("UpdateInfoReqMsg", taf::optional(0, &M::tId, "tId"),
                          taf::optional(1, &M::mpParam, "mpParam"),
                          taf::optional(2, &M::sExtra, "sExtra"),
                          taf::optional(3, &M::vExtra, "vExtra"));
    }
};

// Message 317: response fields 0, 3, 4, 7, 8 and 9, in that order.
struct UpdateInfoMsg {
    std::int32_t iField0 = 0;
    std::string sField3;
    std::string sField4;
    std::int32_t iField7 = 0;
    std::int32_t iField8 = 0;
    std::string sField9;

    static constexpr auto tafTable() {
        using M = UpdateInfoMsg;
        return taf::table(
            "UpdateInfoMsg", taf::optional(0, &M::iField0, "iField0"),
            taf::optional(1, &M::sField3, "sField3"), taf::optional(2, &M::sField4, "sField4"),
            taf::optional(3, &M::iField7, "iField7"), taf::optional(4, &M::iField8, "iField8"),
            taf::optional(5, &M::sField9, "sField9"));
    }
};

// Message 2028: only the update result is read.
struct UpdateResultMsg {
    MERU::UserId tId;
    std::int32_t iExtra = 0;
    std::int32_t iResult = 0;
    std::string sExtra;

    static constexpr auto tafTable() {
        using M = UpdateResultMsg;
        return taf::table("UpdateResultMsg", taf::optional(0, &M::tId, "tId"),
                          taf::optional(1, &M::iExtra, "iExtra"),
                          taf::optional(2, &M::iResult, "iResult"),
                          taf::optional(3, &M::sExtra, "sExtra"));
    }
};

}  // namespace MeruKinetra
