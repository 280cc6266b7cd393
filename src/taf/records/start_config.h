// The avatar's start configuration: the server's request and answer, and the message the
// engine gets from them (2000).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "taf/record_table.h"
#include "taf/records/user_id.h"

namespace MERU {

struct GetConfigReq {
    UserId tId;
    std::map<std::string, std::string> mpParam;
    std::string sExtra;
    std::vector<std::string> vExtra;

    static constexpr auto tafTable() {
        return taf::table("GetConfigReq", taf::optional(0, &GetConfigReq::tId, "tId"),
                          taf::optional(1, &GetConfigReq::mpParam, "mpParam"),
                          taf::optional(2, &GetConfigReq::sExtra, "sExtra"),
                          taf::optional(3, &GetConfigReq::vExtra, "vExtra"));
    }
};

struct GetConfigRsp {
    std::map<std::string, std::string> mpConfig;
    // Only logged.
    std::map<std::string, std::string> mpExperiment;

    static constexpr auto tafTable() {
        return taf::table("GetConfigRsp", taf::optional(0, &GetConfigRsp::mpConfig, "mpConfig"),
                          taf::optional(1, &GetConfigRsp::mpExperiment, "mpExperiment"));
    }
};

}  // namespace MERU

namespace MeruKinetra {

// Where the engine's updater downloads from.
struct UpdaterConfig {
    std::string sUrl;
    std::string sMd5;
    std::string sVersion;

    bool operator==(const UpdaterConfig&) const = default;

    static constexpr auto tafTable() {
        return taf::table("UpdaterConfig", taf::optional(0, &UpdaterConfig::sUrl, "sUrl"),
                          taf::optional(1, &UpdaterConfig::sMd5, "sMd5"),
                          taf::optional(2, &UpdaterConfig::sVersion, "sVersion"));
    }
};

// Two of the presenter camera's float values.
struct FloatPair {
    float fX = 0;
    float fY = 0;

    bool operator==(const FloatPair&) const = default;

    static constexpr auto tafTable() {
        return taf::table("FloatPair", taf::optional(0, &FloatPair::fX, "fX"),
                          taf::optional(1, &FloatPair::fY, "fY"));
    }
};

// The presenter's current camera.
struct CameraInfo {
    std::string sValue;
    std::string sKey;
    FloatPair tFirst;
    FloatPair tSecond;

    bool operator==(const CameraInfo&) const = default;

    static constexpr auto tafTable() {
        return taf::table("CameraInfo", taf::optional(0, &CameraInfo::sValue, "sValue"),
                          taf::optional(1, &CameraInfo::sKey, "sKey"),
                          taf::optional(2, &CameraInfo::tFirst, "tFirst"),
                          taf::optional(3, &CameraInfo::tSecond, "tSecond"));
    }
};

// Message 2000.
struct StartConfigMsg {
    std::vector<std::string> vImage;
    std::vector<std::string> vJump;
    std::vector<std::string> vTip;
    std::string sSimpleUrl;
    std::string sFileConfigUrl;
    std::string sReserved;
    UpdaterConfig tUpdater;
    std::int32_t iGameId = 0;
    std::int64_t lUserValue = 0;
    CameraInfo tCamera;

    static constexpr auto tafTable() {
        using M = StartConfigMsg;
        return taf::table("StartConfigMsg", taf::optional(0, &M::vImage, "vImage"),
                          taf::optional(1, &M::vJump, "vJump"), taf::optional(2, &M::vTip, "vTip"),
                          taf::optional(3, &M::sSimpleUrl, "sSimpleUrl"),
                          taf::optional(4, &M::sFileConfigUrl, "sFileConfigUrl"),
                          taf::optional(5, &M::sReserved, "sReserved"),
                          taf::optional(6, &M::tUpdater, "tUpdater"),
                          taf::optional(7, &M::iGameId, "iGameId"),
                          taf::optional(8, &M::lUserValue, "lUserValue"),
                          taf::optional(9, &M::tCamera, "tCamera"));
    }
};

}  // namespace MeruKinetra
