// Every message type of the engine channel, in both directions: its number, a short name and
// the record its payload holds. Code, tools and tests take numbers and names from here only.
#pragma once

#include <cstdint>
#include <iterator>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "plugin/engine_step.h"
#include "plugin/plugin_names.h"
#include "taf/records/crown_game.h"
#include "taf/records/engine_audio.h"
#include "taf/records/engine_identity.h"
#include "taf/records/interactive_game.h"
#include "taf/records/live_messages.h"
#include "taf/records/metrics.h"
#include "taf/records/pass_through.h"
#include "taf/records/presenter_messages.h"
#include "taf/records/start_config.h"
#include "taf/records/travel_game.h"
#include "taf/records/update_info.h"

namespace kinetra {

// Messages the engine sends to the plug-in.
enum class FromEngine : std::int32_t {
    kPassThroughRequest = 22,
    kUserInfoRequest = 24,
    kCurrentGame = 28,
    kPushSubscription = 29,
    kGameInfoRequest = 101,
    kCrownGameStart = 103,
    kCrownGameEnd = 105,
    kGameDataRecoveryCheck = 111,
    kCrownGameHeartbeat = 113,
    kTravelGameStart = 201,
    kTravelGamePreStart = 203,
    kTravelGameLevelStart = 205,
    kGameHeartbeat = 207,
    kGameEnd = 211,
    kOpenState = 2001,
    kGameIdRequest = 2014,
    kUpdateInfoRequest = 2027,
    kUpdateResultReport = 2028,
    kStartConfigRequest = 2029,
    kCreateSource = 2035,
    kFitSource = 2036,
    kMetricReport = 2037,
    kPresenterDialog = 2039,
};

// Messages the plug-in sends to the engine.
enum class ToEngine : std::int32_t {
    kInitData = 20,
    kPassThroughResponse = 23,
    kUserInfo = 25,
    kGameNotice = 26,
    kRawPush = 30,
    kLiveState = 39,
    kGameInfo = 102,
    kCrownGameStartAnswer = 104,
    kCrownGameEndAnswer = 106,
    kItemSend = 108,
    kViewerMessage = 109,
    kCrownGameData = 110,
    kGameDataRecoveryAnswer = 112,
    kCrownGameHeartbeatAnswer = 114,
    kCrownOrnaments = 115,
    kTravelGameStartAnswer = 202,
    kTravelGamePreStartAnswer = 204,
    kTravelGameLevelStartAnswer = 206,
    kGameHeartbeatAnswer = 208,
    kTravelGuessWords = 209,
    kTravelEmpowerment = 210,
    kGameEndAnswer = 212,
    kUpdateInfo = 317,
    kStartConfig = 2000,
    kGameId = 2014,
    kAudioData = 2034,
    kPresenterDialogResult = 2040,
};

constexpr std::int32_t number(FromEngine type) {
    return static_cast<std::int32_t>(type);
}
constexpr std::int32_t number(ToEngine type) {
    return static_cast<std::int32_t>(type);
}

// One row of the table: `Payload` is the record the message carries, or void where the payload
// is not read, is raw bytes, or has no record declared yet. A message from the engine also
// names the handlers that run for it, in order, and the messages that answer it, at most once
// each, maybe later: after a server reply, a time-out or the presenter's answer.
template <class Type, class Payload = void>
struct EngineMessageSpec {
    using PayloadRecord = Payload;
    Type type;
    std::string_view name;
    EngineSteps steps;
    EngineAnswerTypes answers;
};

template <class Payload = void>
constexpr EngineMessageSpec<FromEngine, Payload> in(FromEngine type, std::string_view name,
                                                    EngineSteps steps,
                                                    EngineAnswerTypes answers = {}) {
    return {type, name, steps, answers};
}

template <class Payload = void>
constexpr EngineMessageSpec<ToEngine, Payload> out(ToEngine type, std::string_view name) {
    return {type, name, {}, {}};
}

// Walk it with std::apply; each row keeps its payload record as a type.
inline constexpr auto kEngineMessages = std::make_tuple(
    in<MeruKinetra::MeruTafTransDataReq>(
        FromEngine::kPassThroughRequest, "pass-through server request",
        {step::instance("TafTransferCommand")}, {ToEngine::kPassThroughResponse}),
    in(FromEngine::kUserInfoRequest, "user information request", {step::live("UserInfoCommand")},
       {ToEngine::kUserInfo}),
    in<MeruKinetra::InteractiveGameTaskMsg>(FromEngine::kCurrentGame, "current game and task id",
                                            {step::games("SetCurrentGame")}),
    in<MeruKinetra::PushSubscribeMsg>(FromEngine::kPushSubscription, "push subscription",
                                      {step::live("OnPushSubscription")}),
    in<MeruKinetra::InteractiveGameInfoReqMsg>(
        FromEngine::kGameInfoRequest, "interactive game information request",
        {step::games("ReqInteractiveGameInfoPacket")}, {ToEngine::kGameInfo}),
    in<MeruKinetra::InteractiveGameMsg>(FromEngine::kCrownGameStart, "crown game start",
                                        {step::games("ReqStartVirtualInteractiveCrownGamePacket")},
                                        {ToEngine::kCrownGameStartAnswer}),
    in<MeruKinetra::InteractiveGameEndMsg>(FromEngine::kCrownGameEnd, "crown game end",
                                           {step::games("ReqEndVirtualInteractiveCrownGamePacket")},
                                           {ToEngine::kCrownGameEndAnswer}),
    in<MeruKinetra::InteractiveGameMsg>(
        FromEngine::kGameDataRecoveryCheck, "game data recovery check",
        {step::games("ReqCheckVirtualInteractiveGameDataRecoveryPacket")},
        {ToEngine::kGameDataRecoveryAnswer}),
    in<MeruKinetra::InteractiveGameTaskMsg>(FromEngine::kCrownGameHeartbeat, "crown game heartbeat",
                                            {step::games("ReqVirtualCrownGameHeartBeat")},
                                            {ToEngine::kCrownGameHeartbeatAnswer}),
    in<MeruKinetra::InteractiveGameMsg>(FromEngine::kTravelGameStart, "travel game start",
                                        {step::games("ReqStartVirtualInteractiveTravelGame")},
                                        {ToEngine::kTravelGameStartAnswer}),
    in<MeruKinetra::InteractiveGameMsg>(FromEngine::kTravelGamePreStart, "travel game pre-start",
                                        {step::games("ReqPreStartVirtualInteractiveTravelGame")},
                                        {ToEngine::kTravelGamePreStartAnswer}),
    in<MeruKinetra::TravelGameLevelStartMsg>(
        FromEngine::kTravelGameLevelStart, "travel game start with level and screen type",
        {step::games("ReqStartVirtualTravelGame")}, {ToEngine::kTravelGameLevelStartAnswer}),
    in<MeruKinetra::InteractiveGameTaskMsg>(
        FromEngine::kGameHeartbeat, "interactive game heartbeat",
        {step::games("ReqVirtualInteractiveGameHeartbeat")}, {ToEngine::kGameHeartbeatAnswer}),
    in<MeruKinetra::InteractiveGameEndMsg>(FromEngine::kGameEnd, "interactive game end",
                                           {step::games("ReqEndVirtualInteractiveGame")},
                                           {ToEngine::kGameEndAnswer}),
    in<MeruKinetra::OpenStateMsg>(FromEngine::kOpenState, "open or close notice",
                                  {step::live("OnOpenState"), step::instance("NotifyLiveState")},
                                  {ToEngine::kInitData, ToEngine::kCrownOrnaments}),
    in(FromEngine::kGameIdRequest, "game id request", {step::instance("GameIdCommand")},
       {ToEngine::kGameId}),
    in<MeruKinetra::UpdateInfoReqMsg>(FromEngine::kUpdateInfoRequest, "update information request",
                                      {step::instance("ExecuteReqUpdateCommand")},
                                      {ToEngine::kUpdateInfo}),
    in<MeruKinetra::UpdateResultMsg>(FromEngine::kUpdateResultReport, "update result report",
                                     {step::instance("ReportUpdateResult")}),
    in(FromEngine::kStartConfigRequest, "start configuration request",
       {step::instance("ReqStartConfigCommand")}, {ToEngine::kStartConfig}),
    in(FromEngine::kCreateSource, "create source", {step::instance("CreateSource")}),
    in<MeruKinetra::SourceSizeMsg>(FromEngine::kFitSource, "fit source",
                                   {step::instance("FitSource")}),
    in<MERU::MetricDetailSet>(FromEngine::kMetricReport, "metric report",
                              {step::instance("MetricReportCommand")}),
    in<MeruKinetra::PresenterDialogReq>(FromEngine::kPresenterDialog, "presenter dialog",
                                        {step::live("OnPresenterDialog")},
                                        {ToEngine::kPresenterDialogResult}),
    out<MeruKinetra::InitDataMsg>(ToEngine::kInitData, "initial data"),
    out<MeruKinetra::MeruTafTransDataRsp>(ToEngine::kPassThroughResponse, "pass-through response"),
    out<MeruKinetra::UserInfoMsg>(ToEngine::kUserInfo, "user information"),
    out<MeruKinetra::InteractiveGameNoticeMsg>(ToEngine::kGameNotice, "interactive game notice"),
    out<MeruKinetra::RawPushMsg>(ToEngine::kRawPush, "raw subscribed push"),
    out<MeruKinetra::LiveStateMsg>(ToEngine::kLiveState, "live state"),
    out<MeruKinetra::InteractiveGameInfoMsg>(ToEngine::kGameInfo, "interactive game information"),
    out<MeruKinetra::CrownGameStartMsg>(ToEngine::kCrownGameStartAnswer, "crown game start answer"),
    out<MERU::EndVirtualInteractiveCrownGameRsp>(ToEngine::kCrownGameEndAnswer,
                                                 "crown game end answer"),
    out<MeruKinetra::SendItemMsg>(ToEngine::kItemSend, "item sent to the user"),
    out<MeruKinetra::MessageNoticeMsg>(ToEngine::kViewerMessage, "viewer message notice"),
    out<MERU::VirtualCrownGameDataNotify>(ToEngine::kCrownGameData, "crown game data notice"),
    out<MERU::PreCrownGameDataQueryRsp>(ToEngine::kGameDataRecoveryAnswer,
                                        "game data recovery answer"),
    out<MERU::VirtualCrownGameHeartbeatRsp>(ToEngine::kCrownGameHeartbeatAnswer,
                                            "crown game heartbeat answer"),
    out<MERU::GetVirtualCrownGameOrnamentRsp>(ToEngine::kCrownOrnaments,
                                              "crown game ornament list"),
    out<MERU::StartVirtualInteractiveTravelGameRsp>(ToEngine::kTravelGameStartAnswer,
                                                    "travel game start answer"),
    out<MeruKinetra::TravelGamePreStartMsg>(ToEngine::kTravelGamePreStartAnswer,
                                            "travel game pre-start answer"),
    out<MERU::TravelGameConfig>(ToEngine::kTravelGameLevelStartAnswer,
                                "travel game start (level and screen type) answer"),
    out<MERU::VirtualInteractiveGameHeartbeatRsp>(ToEngine::kGameHeartbeatAnswer,
                                                  "interactive game heartbeat answer"),
    out<MERU::GuessWordsGamePushInfo>(ToEngine::kTravelGuessWords, "travel guess-words notice"),
    out<MERU::EmpowermentGamePushInfo>(ToEngine::kTravelEmpowerment, "travel empowerment notice"),
    out<MERU::EndVirtualInteractiveGameRsp>(ToEngine::kGameEndAnswer,
                                            "interactive game end answer"),
    out<MeruKinetra::UpdateInfoMsg>(ToEngine::kUpdateInfo, "update information"),
    out<MeruKinetra::StartConfigMsg>(ToEngine::kStartConfig, "start configuration"),
    out<MeruKinetra::GameIdMsg>(ToEngine::kGameId, "game id"),
    out<MeruKinetra::AudioFrameMsg>(ToEngine::kAudioData, "audio data"),
    out<MeruKinetra::PresenterDialogResult>(ToEngine::kPresenterDialogResult,
                                            "presenter dialog result"));

// Two rows of one type in one direction would disagree on its payload or its handlers.
consteval bool EachTypeOncePerDirection() {
    return std::apply(
        [](const auto&... rows) {
            const std::pair<bool, std::int32_t> keys[] = {
                {std::is_same_v<std::remove_cvref_t<decltype(rows.type)>, FromEngine>,
                 number(rows.type)}...};
            for (std::size_t i = 0; i < std::size(keys); ++i) {
                for (std::size_t j = i + 1; j < std::size(keys); ++j) {
                    if (keys[i] == keys[j]) {
                        return false;
                    }
                }
            }
            return true;
        },
        kEngineMessages);
}
static_assert(EachTypeOncePerDirection(), "an engine message type has two rows");

}  // namespace kinetra
