// Every server request of the games, one row each: the method that sends it, the function it
// calls on the games' servant, its request and response records, the engine message that
// answers it, and what its answer does besides (time-out handling, what it records or logs).
#pragma once

#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "plugin/engine_messages.h"
#include "taf/records/crown_game.h"
#include "taf/records/interactive_game.h"
#include "taf/records/travel_game.h"

namespace kinetra {

// Every push the game logic subscribes to in Init; each record carries its URI.
using GamePushes =
    std::tuple<MERU::VirtualCrownGameDataNotify, MERU::VirtualTravelGuessWordsGameNotice,
               MERU::VirtualTravelEmpowermentGameNotice, MERU::VirtualInteractiveGameNotice>;

// The servant of every game request.
inline constexpr std::string_view kGameServant = "wupui";

// What a request's callback does when the host reports a time-out.
enum class TimeOutAnswer {
    logged,    // logs its name and " time out"; no answer
    silent,    // no answer, no log line
    answered,  // answers as for a reply, with the response's defaults
};

template <class Req, class Rsp, class Answer = Rsp>
struct GameCall {
    using Request = Req;
    using Response = Rsp;
    using AnswerRecord = Answer;

    // "KinetraInteractiveGameLogic::" and the method; its callback logs under this name too.
    const wchar_t* method;
    std::string_view function;
    ToEngine answerType;
    TimeOutAnswer timeOut = TimeOutAnswer::logged;
    // Makes the engine's answer; unused where the response is the answer itself.
    Answer (*toAnswer)(const Rsp&) = nullptr;
    // The answer's task id, recorded as the current game's.
    std::string Rsp::*recordsTaskId = nullptr;
    // A text the callback logs as " sMessage=" and the text.
    std::string Rsp::*logsMessage = nullptr;
    // The callback logs a readable rendering of the response.
    bool logsResponse = false;
    // The line logged before sending starts with the method's name.
    bool namesMethod = true;
};

// Game-wide requests.

inline constexpr GameCall<MERU::GetInteractiveGameInfoReq, MERU::GetInteractiveGameInfoRsp,
                          MeruKinetra::InteractiveGameInfoMsg>
    kGameInfoCall{
        .method = L"KinetraInteractiveGameLogic::ReqInteractiveGameInfoPacket",
        .function = "getInteractiveGameInfo",
        .answerType = ToEngine::kGameInfo,
        .timeOut = TimeOutAnswer::silent,
        .toAnswer =
            [](const MERU::GetInteractiveGameInfoRsp& rsp) {
                return MeruKinetra::InteractiveGameInfoMsg{0, rsp.vGameInfo};
            },
    };

inline constexpr GameCall<MERU::PreCrownGameDataQueryReq, MERU::PreCrownGameDataQueryRsp>
    kGameDataRecoveryCall{
        .method = L"KinetraInteractiveGameLogic::ReqCheckVirtualInteractiveGameDataRecoveryPacket",
        .function = "preCrownGameDataQuery",
        .answerType = ToEngine::kGameDataRecoveryAnswer,
    };

inline constexpr GameCall<MERU::VirtualInteractiveGameHeartbeatReq,
                          MERU::VirtualInteractiveGameHeartbeatRsp>
    kGameHeartbeatCall{
        .method = L"KinetraInteractiveGameLogic::ReqVirtualInteractiveGameHeartbeat",
        .function = "virtualInteractiveGameHeartbeat",
        .answerType = ToEngine::kGameHeartbeatAnswer,
    };

inline constexpr GameCall<MERU::EndVirtualInteractiveGameReq, MERU::EndVirtualInteractiveGameRsp>
    kGameEndCall{
        .method = L"KinetraInteractiveGameLogic::ReqEndVirtualInteractiveGame",
        .function = "endVirtualInteractiveGame",
        .answerType = ToEngine::kGameEndAnswer,
        .logsMessage = &MERU::EndVirtualInteractiveGameRsp::sMessage,
    };

// The crown game.

inline constexpr GameCall<MERU::StartVirtualInteractiveCrownGameReq,
                          MERU::StartVirtualInteractiveCrownGameRsp, MeruKinetra::CrownGameStartMsg>
    kCrownGameStartCall{
        .method = L"KinetraInteractiveGameLogic::ReqStartVirtualInteractiveCrownGamePacket",
        .function = "startVirtualInteractiveCrownGame",
        .answerType = ToEngine::kCrownGameStartAnswer,
        .toAnswer =
            [](const MERU::StartVirtualInteractiveCrownGameRsp& rsp) {
                return MeruKinetra::CrownGameStartMsg{0,           rsp.vScore,
                                                      rsp.iValue1, rsp.sInteractiveGameTaskId,
                                                      rsp.vLevel,  rsp.iValue4};
            },
        .recordsTaskId = &MERU::StartVirtualInteractiveCrownGameRsp::sInteractiveGameTaskId,
    };

inline constexpr GameCall<MERU::EndVirtualInteractiveCrownGameReq,
                          MERU::EndVirtualInteractiveCrownGameRsp>
    kCrownGameEndCall{
        .method = L"KinetraInteractiveGameLogic::ReqEndVirtualInteractiveCrownGamePacket",
        .function = "endVirtualInteractiveCrownGame",
        .answerType = ToEngine::kCrownGameEndAnswer,
        .timeOut = TimeOutAnswer::answered,
        .logsMessage = &MERU::EndVirtualInteractiveCrownGameRsp::sMessage,
    };

inline constexpr GameCall<MERU::VirtualCrownGameHeartbeatReq, MERU::VirtualCrownGameHeartbeatRsp>
    kCrownGameHeartbeatCall{
        .method = L"KinetraInteractiveGameLogic::ReqVirtualCrownGameHeartBeat",
        .function = "virtualCrownGameHeartbeat",
        .answerType = ToEngine::kCrownGameHeartbeatAnswer,
        .timeOut = TimeOutAnswer::answered,
    };

inline constexpr GameCall<MERU::GetVirtualCrownGameOrnamentReq,
                          MERU::GetVirtualCrownGameOrnamentRsp>
    kCrownOrnamentCall{
        .method = L"KinetraInteractiveGameLogic::ReqGetVirtualCrownGameOrnament",
        .function = "getVirtualCrownGameOrnament",
        .answerType = ToEngine::kCrownOrnaments,
        .logsResponse = true,
    };

// The travel game.

inline constexpr GameCall<MERU::PreStartVirtualInteractiveTravelGameReq,
                          MERU::PreStartVirtualInteractiveTravelGameRsp,
                          MeruKinetra::TravelGamePreStartMsg>
    kTravelGamePreStartCall{
        .method = L"KinetraInteractiveGameLogic::ReqPreStartVirtualInteractiveTravelGame",
        .function = "preStartVirtualInteractiveTravelGame",
        .answerType = ToEngine::kTravelGamePreStartAnswer,
        .toAnswer =
            [](const MERU::PreStartVirtualInteractiveTravelGameRsp& rsp) {
                return MeruKinetra::TravelGamePreStartMsg{rsp.iHaveData != 0, rsp.tConfig,
                                                          rsp.sInteractiveGameTaskId,
                                                          rsp.iHeartbeatInterval, rsp.iStatus};
            },
        .recordsTaskId = &MERU::PreStartVirtualInteractiveTravelGameRsp::sInteractiveGameTaskId,
    };

inline constexpr GameCall<MERU::StartVirtualInteractiveTravelGameReq,
                          MERU::StartVirtualInteractiveTravelGameRsp>
    kTravelGameStartCall{
        .method = L"KinetraInteractiveGameLogic::ReqStartVirtualInteractiveTravelGame",
        .function = "startVirtualInteractiveTravelGame",
        .answerType = ToEngine::kTravelGameStartAnswer,
    };

inline constexpr GameCall<MERU::StartVirtualTravelGameReq, MERU::StartVirtualTravelGameRsp,
                          MERU::TravelGameConfig>
    kTravelGameLevelStartCall{
        .method = L"KinetraInteractiveGameLogic::ReqStartVirtualTravelGame",
        .function = "startVirtualTravelGame",
        .answerType = ToEngine::kTravelGameLevelStartAnswer,
        .toAnswer = [](const MERU::StartVirtualTravelGameRsp& rsp) { return rsp.tConfig; },
        .namesMethod = false,
    };

// Every row above, for walkers such as the protocol reference.
inline constexpr auto kGameCalls = std::make_tuple(
    kGameInfoCall, kGameDataRecoveryCall, kGameHeartbeatCall, kGameEndCall, kCrownGameStartCall,
    kCrownGameEndCall, kCrownGameHeartbeatCall, kCrownOrnamentCall, kTravelGamePreStartCall,
    kTravelGameStartCall, kTravelGameLevelStartCall);

}  // namespace kinetra
