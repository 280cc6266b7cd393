// Which message the plug-in sends in answer to which engine message, and which it sends on its
// own (pushes, audio, live events, the start). A checker of the traffic reads it: every
// message the plug-in sends is either its own or answers one the engine sent before.
#pragma once

#include <array>
#include <utility>

#include "plugin/engine_messages.h"

namespace kinetra {

// Each engine message is answered at most once with each of its answer types; the answer may
// come later, after a server reply, a time-out or a dialog's answer.
inline constexpr std::pair<FromEngine, ToEngine> kEngineAnswers[] = {
    {FromEngine::kPassThroughRequest, ToEngine::kPassThroughResponse},
    {FromEngine::kUserInfoRequest, ToEngine::kUserInfo},
    {FromEngine::kGameInfoRequest, ToEngine::kGameInfo},
    {FromEngine::kCrownGameStart, ToEngine::kCrownGameStartAnswer},
    {FromEngine::kCrownGameEnd, ToEngine::kCrownGameEndAnswer},
    {FromEngine::kGameDataRecoveryCheck, ToEngine::kGameDataRecoveryAnswer},
    {FromEngine::kCrownGameHeartbeat, ToEngine::kCrownGameHeartbeatAnswer},
    {FromEngine::kTravelGameStart, ToEngine::kTravelGameStartAnswer},
    {FromEngine::kTravelGamePreStart, ToEngine::kTravelGamePreStartAnswer},
    {FromEngine::kTravelGameLevelStart, ToEngine::kTravelGameLevelStartAnswer},
    {FromEngine::kGameHeartbeat, ToEngine::kGameHeartbeatAnswer},
    {FromEngine::kGameEnd, ToEngine::kGameEndAnswer},
    {FromEngine::kOpenState, ToEngine::kInitData},
    {FromEngine::kOpenState, ToEngine::kCrownOrnaments},
    {FromEngine::kGameIdRequest, ToEngine::kGameId},
    {FromEngine::kUpdateInfoRequest, ToEngine::kUpdateInfo},
    {FromEngine::kStartConfigRequest, ToEngine::kStartConfig},
    {FromEngine::kPresenterDialog, ToEngine::kPresenterDialogResult},
};

// Sent without an engine message to answer: the start configuration at Start, the live flag
// on open notices and live events, what pushes carry, and the audio.
inline constexpr std::array kOwnMessages = {
    ToEngine::kStartConfig,   ToEngine::kLiveState,        ToEngine::kRawPush,
    ToEngine::kGameNotice,    ToEngine::kItemSend,         ToEngine::kViewerMessage,
    ToEngine::kCrownGameData, ToEngine::kTravelGuessWords, ToEngine::kTravelEmpowerment,
    ToEngine::kAudioData,
};

}  // namespace kinetra
