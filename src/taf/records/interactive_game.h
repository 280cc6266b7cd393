// The interactive game session: game information, the general heartbeat and end, the game
// notice push, and the engine payloads that start and answer them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "taf/record_table.h"
#include "taf/records/user_id.h"
#include "taf/wire.h"

namespace MERU {

// One game the room may play. The plug-in relays these records without reading them: where a
// field's meaning is the engine's alone, its name gives its kind and tag.
struct InteractiveGameEntry {
    std::int32_t iValue0 = 0;
    std::string sText1;
    std::string sText2;
    std::vector<std::string> vText3;
    std::string sText4;

    static constexpr auto tafTable() {
        using E = InteractiveGameEntry;
        return taf::table(
            "InteractiveGameEntry", taf::optional(0, &E::iValue0, "iValue0"),
            taf::optional(1, &E::sText1, "sText1"), taf::optional(2, &E::sText2, "sText2"),
            taf::optional(3, &E::vText3, "vText3"), taf::optional(4, &E::sText4, "sText4"));
    }
};

struct GetInteractiveGameInfoReq {
    UserId tId;
    std::int64_t lVersion = 0;

    static constexpr auto tafTable() {
        using R = GetInteractiveGameInfoReq;
        return taf::table("GetInteractiveGameInfoReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::lVersion, "lVersion"));
    }
};

struct GetInteractiveGameInfoRsp {
    std::vector<InteractiveGameEntry> vGameInfo;

    static constexpr auto tafTable() {
        return taf::table("GetInteractiveGameInfoRsp",
                          taf::optional(0, &GetInteractiveGameInfoRsp::vGameInfo, "vGameInfo"));
    }
};

// Tag 2 is not written.
struct VirtualInteractiveGameHeartbeatReq {
    UserId tId;
    std::int32_t iInteractiveGameID = 0;
    std::string sInteractiveGameTaskId;

    static constexpr auto tafTable() {
        using R = VirtualInteractiveGameHeartbeatReq;
        return taf::table("VirtualInteractiveGameHeartbeatReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::iInteractiveGameID, "iInteractiveGameID"),
                          taf::optional(3, &R::sInteractiveGameTaskId, "sInteractiveGameTaskId"));
    }
};

// Also the engine's message 208.
struct VirtualInteractiveGameHeartbeatRsp {
    std::string sMessage;

    static constexpr auto tafTable() {
        return taf::table(
            "VirtualInteractiveGameHeartbeatRsp",
            taf::optional(0, &VirtualInteractiveGameHeartbeatRsp::sMessage, "sMessage"));
    }
};

// Tags 1 and 3 go out as 0: the end request fills only the task id.
struct EndVirtualInteractiveGameReq {
    UserId tId;
    std::int32_t iInteractiveGameID = 0;
    std::string sInteractiveGameTaskId;
    std::int32_t iType = 0;

    static constexpr auto tafTable() {
        using R = EndVirtualInteractiveGameReq;
        return taf::table("EndVirtualInteractiveGameReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::iInteractiveGameID, "iInteractiveGameID"),
                          taf::optional(2, &R::sInteractiveGameTaskId, "sInteractiveGameTaskId"),
                          taf::optional(3, &R::iType, "iType"));
    }
};

// Also the engine's message 212.
struct EndVirtualInteractiveGameRsp {
    std::string sMessage;

    static constexpr auto tafTable() {
        return taf::table("EndVirtualInteractiveGameRsp",
                          taf::optional(0, &EndVirtualInteractiveGameRsp::sMessage, "sMessage"));
    }
};

// A notice about any game, pushed by the servers.
struct VirtualInteractiveGameNotice {
    static constexpr std::uint32_t kPushUri = 1025513;

    std::int32_t iValue0 = 0;
    std::int32_t iValue1 = 0;
    std::string sText2;
    std::int64_t lNumber = 0;
    taf::Bytes vData;

    static constexpr auto tafTable() {
        using N = VirtualInteractiveGameNotice;
        return taf::table(
            "VirtualInteractiveGameNotice", taf::optional(0, &N::iValue0, "iValue0"),
            taf::optional(1, &N::iValue1, "iValue1"), taf::optional(2, &N::sText2, "sText2"),
            taf::optional(3, &N::lNumber, "lNumber"), taf::optional(4, &N::vData, "vData"));
    }
};

}  // namespace MERU

namespace MeruKinetra {

// Messages 103, 111, 201 and 203: the game the engine means.
struct InteractiveGameMsg {
    std::int32_t iInteractiveGameID = 0;

    static constexpr auto tafTable() {
        return taf::table(
            "InteractiveGameMsg",
            taf::optional(0, &InteractiveGameMsg::iInteractiveGameID, "iInteractiveGameID"));
    }
};

// Messages 28, 113 and 207: a game and the servers' task id for it.
struct InteractiveGameTaskMsg {
    std::int32_t iInteractiveGameID = 0;
    std::string sInteractiveGameTaskId;

    static constexpr auto tafTable() {
        using M = InteractiveGameTaskMsg;
        return taf::table("InteractiveGameTaskMsg",
                          taf::optional(0, &M::iInteractiveGameID, "iInteractiveGameID"),
                          taf::optional(1, &M::sInteractiveGameTaskId, "sInteractiveGameTaskId"));
    }
};

// Messages 105 and 211: a game to end and how it ended.
struct InteractiveGameEndMsg {
    std::int32_t iInteractiveGameID = 0;
    std::int32_t iType = 0;

    static constexpr auto tafTable() {
        using M = InteractiveGameEndMsg;
        return taf::table("InteractiveGameEndMsg",
                          taf::optional(0, &M::iInteractiveGameID, "iInteractiveGameID"),
                          taf::optional(1, &M::iType, "iType"));
    }
};

// Message 101.
struct InteractiveGameInfoReqMsg {
    std::int64_t lVersion = 0;

    static constexpr auto tafTable() {
        return taf::table("InteractiveGameInfoReqMsg",
                          taf::optional(0, &InteractiveGameInfoReqMsg::lVersion, "lVersion"));
    }
};

// Message 102: the servers' game entries, as they came.
struct InteractiveGameInfoMsg {
    std::int32_t iRet = 0;
    std::vector<MERU::InteractiveGameEntry> vGameInfo;

    static constexpr auto tafTable() {
        using M = InteractiveGameInfoMsg;
        return taf::table("InteractiveGameInfoMsg", taf::optional(0, &M::iRet, "iRet"),
                          taf::optional(1, &M::vGameInfo, "vGameInfo"));
    }
};

// Message 26: the game notice with its last two fields in the other order.
struct InteractiveGameNoticeMsg {
    std::int32_t iValue0 = 0;
    std::int32_t iValue1 = 0;
    std::string sText2;
    taf::Bytes vData;
    std::int64_t lNumber = 0;

    static constexpr auto tafTable() {
        using M = InteractiveGameNoticeMsg;
        return taf::table(
            "InteractiveGameNoticeMsg", taf::optional(0, &M::iValue0, "iValue0"),
            taf::optional(1, &M::iValue1, "iValue1"), taf::optional(2, &M::sText2, "sText2"),
            taf::optional(3, &M::vData, "vData"), taf::optional(4, &M::lNumber, "lNumber"));
    }
};

}  // namespace MeruKinetra
