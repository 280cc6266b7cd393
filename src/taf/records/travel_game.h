// The travel game (game ids above 1): pre-start, start, level start, the two stage pushes, and
// the engine payloads that ask for and answer them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "taf/record_table.h"
#include "taf/records/user_id.h"
#include "taf/wire.h"

namespace MERU {

// A level's configuration; also the engine's message 206, field for field.
struct TravelGameConfig {
    std::int32_t iLevelType = 0;
    std::int32_t iScreenType = 0;
    std::string sTopic;
    std::string sDesc;
    taf::Bytes vConfig;

    static constexpr auto tafTable() {
        using C = TravelGameConfig;
        return taf::table("TravelGameConfig", taf::optional(0, &C::iLevelType, "iLevelType"),
                          taf::optional(1, &C::iScreenType, "iScreenType"),
                          taf::optional(2, &C::sTopic, "sTopic"),
                          taf::optional(3, &C::sDesc, "sDesc"),
                          taf::optional(4, &C::vConfig, "vConfig"));
    }
};

// A word the audience guesses. The word is a secret: the log shows it masked.
struct TravelKeyWordInfo {
    std::int32_t iSeqId = 0;
    std::string sKeyWord;
    std::int32_t iScore = 0;
    std::int64_t lUid = 0;
    std::string sNickName;
    std::string sAvatarUrl;
    std::int32_t iStatus = 0;
    std::int32_t iHighestScore = 0;

    static constexpr auto tafTable() {
        using K = TravelKeyWordInfo;
        return taf::table(
            "TravelKeyWordInfo", taf::optional(0, &K::iSeqId, "iSeqId"),
            taf::optional(1, &K::sKeyWord, "sKeyWord"), taf::optional(2, &K::iScore, "iScore"),
            taf::optional(3, &K::lUid, "lUid"), taf::optional(4, &K::sNickName, "sNickName"),
            taf::optional(5, &K::sAvatarUrl, "sAvatarUrl"),
            taf::optional(6, &K::iStatus, "iStatus"),
            taf::optional(7, &K::iHighestScore, "iHighestScore"));
    }
};

struct TravelHighestScorer {
    std::int64_t lUid = 0;
    std::string sNickName;
    std::string sAvatarUrl;
    std::int32_t iScore = 0;
    std::int32_t iKeyWordsSize = 0;

    static constexpr auto tafTable() {
        using H = TravelHighestScorer;
        return taf::table("TravelHighestScorer", taf::optional(0, &H::lUid, "lUid"),
                          taf::optional(1, &H::sNickName, "sNickName"),
                          taf::optional(2, &H::sAvatarUrl, "sAvatarUrl"),
                          taf::optional(3, &H::iScore, "iScore"),
                          taf::optional(4, &H::iKeyWordsSize, "iKeyWordsSize"));
    }
};

struct TravelRankInfo {
    std::int64_t lUid = 0;
    std::string sNickName;
    std::string sAvatarUrl;
    std::int32_t iScore = 0;

    static constexpr auto tafTable() {
        using R = TravelRankInfo;
        return taf::table("TravelRankInfo", taf::optional(0, &R::lUid, "lUid"),
                          taf::optional(1, &R::sNickName, "sNickName"),
                          taf::optional(2, &R::sAvatarUrl, "sAvatarUrl"),
                          taf::optional(3, &R::iScore, "iScore"));
    }
};

// The word-guessing stage's progress; also the engine's message 209, words unmasked.
struct GuessWordsGamePushInfo {
    std::vector<TravelKeyWordInfo> vKeyWordInfo;
    std::int64_t lSerialNumber = 0;
    std::string sGameTaskId;
    std::int32_t iGameStatus = 0;
    std::int32_t iNextLevelType = 0;
    std::int32_t iNextScreenType = 0;
    TravelHighestScorer tHighestScorer;
    std::int32_t iHitEffect = 0;
    std::string sNextScreenName;

    static constexpr auto tafTable() {
        using P = GuessWordsGamePushInfo;
        return taf::table("GuessWordsGamePushInfo",
                          taf::optional(0, &P::vKeyWordInfo, "vKeyWordInfo"),
                          taf::optional(1, &P::lSerialNumber, "lSerialNumber"),
                          taf::optional(2, &P::sGameTaskId, "sGameTaskId"),
                          taf::optional(3, &P::iGameStatus, "iGameStatus"),
                          taf::optional(4, &P::iNextLevelType, "iNextLevelType"),
                          taf::optional(5, &P::iNextScreenType, "iNextScreenType"),
                          taf::optional(6, &P::tHighestScorer, "tHighestScorer"),
                          taf::optional(7, &P::iHitEffect, "iHitEffect"),
                          taf::optional(8, &P::sNextScreenName, "sNextScreenName"));
    }
};

// The empowerment stage's progress; also the engine's message 210.
struct EmpowermentGamePushInfo {
    std::vector<TravelRankInfo> vRankInfo;
    std::int64_t lSerialNumber = 0;
    std::string sGameTaskId;
    std::int32_t iGameStatus = 0;
    std::int32_t iNextLevelType = 0;
    std::int32_t iNextScreenType = 0;
    std::string sNextScreenName;

    static constexpr auto tafTable() {
        using P = EmpowermentGamePushInfo;
        return taf::table("EmpowermentGamePushInfo", taf::optional(0, &P::vRankInfo, "vRankInfo"),
                          taf::optional(1, &P::lSerialNumber, "lSerialNumber"),
                          taf::optional(2, &P::sGameTaskId, "sGameTaskId"),
                          taf::optional(3, &P::iGameStatus, "iGameStatus"),
                          taf::optional(4, &P::iNextLevelType, "iNextLevelType"),
                          taf::optional(5, &P::iNextScreenType, "iNextScreenType"),
                          taf::optional(6, &P::sNextScreenName, "sNextScreenName"));
    }
};

struct PreStartVirtualInteractiveTravelGameReq {
    UserId tId;
    std::int32_t iInteractiveGameID = 0;

    static constexpr auto tafTable() {
        using R = PreStartVirtualInteractiveTravelGameReq;
        return taf::table("PreStartVirtualInteractiveTravelGameReq",
                          taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::iInteractiveGameID, "iInteractiveGameID"));
    }
};

struct PreStartVirtualInteractiveTravelGameRsp {
    TravelGameConfig tConfig;
    std::string sInteractiveGameTaskId;
    std::int32_t iHaveData = 0;
    std::int32_t iHeartbeatInterval = 0;
    std::int32_t iStatus = 0;

    static constexpr auto tafTable() {
        using R = PreStartVirtualInteractiveTravelGameRsp;
        return taf::table("PreStartVirtualInteractiveTravelGameRsp",
                          taf::optional(0, &R::tConfig, "tConfig"),
                          taf::optional(1, &R::sInteractiveGameTaskId, "sInteractiveGameTaskId"),
                          taf::optional(2, &R::iHaveData, "iHaveData"),
                          taf::optional(3, &R::iHeartbeatInterval, "iHeartbeatInterval"),
                          taf::optional(4, &R::iStatus, "iStatus"));
    }
};

struct StartVirtualInteractiveTravelGameReq {
    UserId tId;
    std::int32_t iInteractiveGameID = 0;

    static constexpr auto tafTable() {
        using R = StartVirtualInteractiveTravelGameReq;
        return taf::table("StartVirtualInteractiveTravelGameReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::iInteractiveGameID, "iInteractiveGameID"));
    }
};

// Also the engine's message 202, field for field.
struct StartVirtualInteractiveTravelGameRsp {
    std::int32_t iLevelType = 0;
    std::int32_t iScreenType = 0;
    std::string sInteractiveGameTaskId;
    std::int32_t iHeartbeatInterval = 0;

    static constexpr auto tafTable() {
        using R = StartVirtualInteractiveTravelGameRsp;
        return taf::table("StartVirtualInteractiveTravelGameRsp",
                          taf::optional(0, &R::iLevelType, "iLevelType"),
                          taf::optional(1, &R::iScreenType, "iScreenType"),
                          taf::optional(2, &R::sInteractiveGameTaskId, "sInteractiveGameTaskId"),
                          taf::optional(3, &R::iHeartbeatInterval, "iHeartbeatInterval"));
    }
};

// Tag 4 is not written.
struct StartVirtualTravelGameReq {
    UserId tId;
    std::int32_t iInteractiveGameID = 0;
    std::int32_t iLevelType = 0;
    std::int32_t iScreenType = 0;
    std::string sInteractiveGameTaskId;

    static constexpr auto tafTable() {
        using R = StartVirtualTravelGameReq;
        return taf::table("StartVirtualTravelGameReq", taf::optional(0, &R::tId, "tId"),
                          taf::optional(1, &R::iInteractiveGameID, "iInteractiveGameID"),
                          taf::optional(2, &R::iLevelType, "iLevelType"),
                          taf::optional(3, &R::iScreenType, "iScreenType"),
                          taf::optional(5, &R::sInteractiveGameTaskId, "sInteractiveGameTaskId"));
    }
};

struct StartVirtualTravelGameRsp {
    TravelGameConfig tConfig;

    static constexpr auto tafTable() {
        return taf::table("StartVirtualTravelGameRsp",
                          taf::optional(0, &StartVirtualTravelGameRsp::tConfig, "tConfig"));
    }
};

struct VirtualTravelGuessWordsGameNotice {
    static constexpr std::uint32_t kPushUri = 1025511;

    GuessWordsGamePushInfo tGuessWordsGamePushInfo;

    static constexpr auto tafTable() {
        return taf::table(
            "VirtualTravelGuessWordsGameNotice",
            taf::optional(0, &VirtualTravelGuessWordsGameNotice::tGuessWordsGamePushInfo,
                          "tGuessWordsGamePushInfo"));
    }
};

struct VirtualTravelEmpowermentGameNotice {
    static constexpr std::uint32_t kPushUri = 1025512;

    EmpowermentGamePushInfo tEmpowermentGamePushInfo;

    static constexpr auto tafTable() {
        return taf::table(
            "VirtualTravelEmpowermentGameNotice",
            taf::optional(0, &VirtualTravelEmpowermentGameNotice::tEmpowermentGamePushInfo,
                          "tEmpowermentGamePushInfo"));
    }
};

}  // namespace MERU

namespace MeruKinetra {

// Message 205: the level and screen to start.
struct TravelGameLevelStartMsg {
    std::int32_t iInteractiveGameID = 0;
    std::int32_t iLevelType = 0;
    std::int32_t iScreenType = 0;
    std::string sInteractiveGameTaskId;

    static constexpr auto tafTable() {
        using M = TravelGameLevelStartMsg;
        return taf::table("TravelGameLevelStartMsg",
                          taf::optional(0, &M::iInteractiveGameID, "iInteractiveGameID"),
                          taf::optional(1, &M::iLevelType, "iLevelType"),
                          taf::optional(2, &M::iScreenType, "iScreenType"),
                          taf::optional(3, &M::sInteractiveGameTaskId, "sInteractiveGameTaskId"));
    }
};

// Message 204: the pre-start answer, whether data exists turned into a bool.
struct TravelGamePreStartMsg {
    bool bHaveData = false;
    MERU::TravelGameConfig tConfig;
    std::string sInteractiveGameTaskId;
    std::int32_t iHeartbeatInterval = 0;
    std::int32_t iStatus = 0;

    static constexpr auto tafTable() {
        using M = TravelGamePreStartMsg;
        return taf::table("TravelGamePreStartMsg", taf::optional(0, &M::bHaveData, "bHaveData"),
                          taf::optional(1, &M::tConfig, "tConfig"),
                          taf::optional(2, &M::sInteractiveGameTaskId, "sInteractiveGameTaskId"),
                          taf::optional(3, &M::iHeartbeatInterval, "iHeartbeatInterval"),
                          taf::optional(4, &M::iStatus, "iStatus"));
    }
};

}  // namespace MeruKinetra
