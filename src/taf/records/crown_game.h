// The crown game (game id 1): data recovery, start, heartbeat, end, the ornaments the avatar
// may wear, the crown data push, and the engine's start answer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "taf/record_table.h"
#include "taf/records/user_id.h"

namespace MERU {

// Records the plug-in relays without reading them: where a field's meaning is the engine's
// alone, its name gives its kind and tag.
struct CrownScoreRecord {
    std::int32_t iValue0 = 0;
    std::int32_t iValue1 = 0;
    std::int32_t iValue2 = 0;
    std::string sText;

    static constexpr auto tafTable() {
        using S = CrownScoreRecord;
        return taf::table("CrownScoreRecord", taf::optional(0, &S::iValue0, "iValue0"),
                          taf::optional(1, &S::iValue1, "iValue1"),
                          taf::optional(2, &S::iValue2, "iValue2"),
                          taf::optional(3, &S::sText, "sText"));
    }
};

struct CrownLevelRecord {
    std::int32_t iValue0 = 0;
    std::int32_t iValue1 = 0;
    std::int32_t iValue2 = 0;

    static constexpr auto tafTable() {
        using L = CrownLevelRecord;
        return taf::table("CrownLevelRecord", taf::optional(0, &L::iValue0, "iValue0"),
                          taf::optional(1, &L::iValue1, "iValue1"),
                          taf::optional(2, &L::iValue2, "iValue2"));
    }
};

struct PreCrownGameDataQueryReq {
    UserId tId;

    static constexpr auto tafTable() {
        return taf::table("PreCrownGameDataQueryReq",
                          taf::optional(0, &PreCrownGameDataQueryReq::tId, "tId"));
    }
};

// Also the engine's message 112, field for field.
struct PreCrownGameDataQueryRsp {
    bool bValue0 = true;
    std::vector<CrownScoreRecord> vScore;
    std::int32_t iValue2 = 0;
    std::string sText3;
    std::vector<CrownLevelRecord> vLevel;
    std::int32_t iValue5 = 0;
    std::int32_t iValue6 = 0;

    static constexpr auto tafTable() {
        using R = PreCrownGameDataQueryRsp;
        return taf::table(
            "PreCrownGameDataQueryRsp", taf::optional(0, &R::bValue0, "bValue0"),
            taf::optional(1, &R::vScore, "vScore"), taf::optional(2, &R::iValue2, "iValue2"),
            taf::optional(3, &R::sText3, "sText3"), taf::optional(4, &R::vLevel, "vLevel"),
            taf::optional(5, &R::iValue5, "iValue5"), taf::optional(6, &R::iValue6, "iValue6"));
    }
};

// The game id is not sent: the crown game is the only one started this way.
struct StartVirtualInteractiveCrownGameReq {
    UserId tId;

    static constexpr auto tafTable() {
        return taf::table("StartVirtualInteractiveCrownGameReq",
                          taf::optional(0, &StartVirtualInteractiveCrownGameReq::tId, "tId"));
    }
};

struct StartVirtualInteractiveCrownGameRsp {
    std::vector<CrownScoreRecord> vScore;
    std::int32_t iValue1 = 0;
    std::string sInteractiveGameTaskId;
    std::vector<CrownLevelRecord> vLevel;
    std::int32_t iValue4 = 0;

    static constexpr auto tafTable() {
        using R = StartVirtualInteractiveCrownGameRsp;
        return taf::table(
            "StartVirtualInteractiveCrownGameRsp", taf::optional(0, &R::vScore, "vScore"),
            taf::optional(1, &R::iValue1, "iValue1"),
            taf::optional(2, &R::sInteractiveGameTaskId, "sInteractiveGameTaskId"),
            taf::optional(3, &R::vLevel, "vLevel"), taf::optional(4, &R::iValue4, "iValue4"));
    }
};

struct EndVirtualInteractiveCrownGameReq {
    UserId tId;
    std::int32_t iType = 0;

    static constexpr auto tafTable() {
        using R = EndVirtualInteractiveCrownGameReq;
        return taf::table("EndVirtualInteractiveCrownGameReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::iType, "iType"));
    }
};

// Also the engine's message 106.
struct EndVirtualInteractiveCrownGameRsp {
    std::string sMessage;

    static constexpr auto tafTable() {
        return taf::table(
            "EndVirtualInteractiveCrownGameRsp",
            taf::optional(0, &EndVirtualInteractiveCrownGameRsp::sMessage, "sMessage"));
    }
};

struct VirtualCrownGameHeartbeatReq {
    UserId tId;
    std::string sCrownGameTaskId;

    static constexpr auto tafTable() {
        using R = VirtualCrownGameHeartbeatReq;
        return taf::table("VirtualCrownGameHeartbeatReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::sCrownGameTaskId, "sCrownGameTaskId"));
    }
};

// Also the engine's message 114.
struct VirtualCrownGameHeartbeatRsp {
    std::string sMessage;

    static constexpr auto tafTable() {
        return taf::table("VirtualCrownGameHeartbeatRsp",
                          taf::optional(0, &VirtualCrownGameHeartbeatRsp::sMessage, "sMessage"));
    }
};

// The identity sits at tag 1; there is no tag 0.
struct GetVirtualCrownGameOrnamentReq {
    UserId tId;

    static constexpr auto tafTable() {
        return taf::table("GetVirtualCrownGameOrnamentReq",
                          taf::optional(1, &GetVirtualCrownGameOrnamentReq::tId, "tId"));
    }
};

struct VirtualCrownGameOrnamentInfo {
    std::int32_t iOrnamentType = 0;

    static constexpr auto tafTable() {
        return taf::table(
            "VirtualCrownGameOrnamentInfo",
            taf::optional(0, &VirtualCrownGameOrnamentInfo::iOrnamentType, "iOrnamentType"));
    }
};

// Also the engine's message 115: one record per ornament, in the servers' order.
struct GetVirtualCrownGameOrnamentRsp {
    std::vector<VirtualCrownGameOrnamentInfo> vOrnamentInfo;

    static constexpr auto tafTable() {
        return taf::table(
            "GetVirtualCrownGameOrnamentRsp",
            taf::optional(0, &GetVirtualCrownGameOrnamentRsp::vOrnamentInfo, "vOrnamentInfo"));
    }
};

struct CrownEntry {
    std::int32_t iValue0 = 0;
    std::int32_t iValue1 = 0;
    std::int64_t lValue2 = 0;
    std::string sText3;
    std::string sText4;
    std::int32_t iValue5 = 0;
    std::int32_t iValue6 = 0;
    std::int32_t iValue7 = 0;

    static constexpr auto tafTable() {
        using E = CrownEntry;
        return taf::table(
            "CrownEntry", taf::optional(0, &E::iValue0, "iValue0"),
            taf::optional(1, &E::iValue1, "iValue1"), taf::optional(2, &E::lValue2, "lValue2"),
            taf::optional(3, &E::sText3, "sText3"), taf::optional(4, &E::sText4, "sText4"),
            taf::optional(5, &E::iValue5, "iValue5"), taf::optional(6, &E::iValue6, "iValue6"),
            taf::optional(7, &E::iValue7, "iValue7"));
    }
};

// Pushed while the crown game runs; also the engine's message 110, field for field.
struct VirtualCrownGameDataNotify {
    static constexpr std::uint32_t kPushUri = 1025510;

    std::vector<CrownEntry> vCrownInfo;
    std::int32_t iValue1 = 0;
    std::int64_t lUid = 0;
    std::string sText3;
    std::string sText4;
    std::int32_t iOrnamentType = 0;
    std::int64_t lValue6 = 0;
    std::string sText7;

    static constexpr auto tafTable() {
        using N = VirtualCrownGameDataNotify;
        return taf::table(
            "VirtualCrownGameDataNotify", taf::optional(0, &N::vCrownInfo, "vCrownInfo"),
            taf::optional(1, &N::iValue1, "iValue1"), taf::optional(2, &N::lUid, "lUid"),
            taf::optional(3, &N::sText3, "sText3"), taf::optional(4, &N::sText4, "sText4"),
            taf::optional(5, &N::iOrnamentType, "iOrnamentType"),
            taf::optional(6, &N::lValue6, "lValue6"), taf::optional(7, &N::sText7, "sText7"));
    }
};

}  // namespace MERU

namespace MeruKinetra {

// Message 104: 0, then the start answer's fields one tag further on.
struct CrownGameStartMsg {
    std::int32_t iRet = 0;
    std::vector<MERU::CrownScoreRecord> vScore;
    std::int32_t iValue1 = 0;
    std::string sInteractiveGameTaskId;
    std::vector<MERU::CrownLevelRecord> vLevel;
    std::int32_t iValue4 = 0;

    static constexpr auto tafTable() {
        using M = CrownGameStartMsg;
        return taf::table(
            "CrownGameStartMsg", taf::optional(0, &M::iRet, "iRet"),
            taf::optional(1, &M::vScore, "vScore"), taf::optional(2, &M::iValue1, "iValue1"),
            taf::optional(3, &M::sInteractiveGameTaskId, "sInteractiveGameTaskId"),
            taf::optional(4, &M::vLevel, "vLevel"), taf::optional(5, &M::iValue4, "iValue4"));
    }
};

}  // namespace MeruKinetra
