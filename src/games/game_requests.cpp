// The game requests. Each follows the pattern of game_request.h; what differs is here: what
// it checks first, what it logs, what it records before sending and which fields it sends.
#include "games/game_request.h"

namespace kinetra {

void KinetraInteractiveGameLogic::ReqInteractiveGameInfoPacket(std::int64_t lVersion) {
    if (auto* signal = Announce(kGameInfoCall, L" lVersion =", lVersion)) {
        Send(kGameInfoCall, *signal, {.tId = {}, .lVersion = lVersion});
    }
}

// The servers are asked for the game's data; the recorded game is not consulted.
void KinetraInteractiveGameLogic::ReqCheckVirtualInteractiveGameDataRecoveryPacket(
    std::int32_t gameId) {
    if (auto* signal = Announce(kGameDataRecoveryCall, L" iInteractiveGameID ", gameId)) {
        mCurrentGame.SetId(gameId);
        Send(kGameDataRecoveryCall, *signal, {});
    }
}

void KinetraInteractiveGameLogic::ReqVirtualInteractiveGameHeartbeat(std::int32_t gameId,
                                                                     const std::string& taskId) {
    if (auto* signal = Announce(kGameHeartbeatCall)) {
        Send(kGameHeartbeatCall, *signal,
             {.tId = {}, .iInteractiveGameID = gameId, .sInteractiveGameTaskId = taskId});
    }
}

// Only the task id is filled: the servers know the game by it.
void KinetraInteractiveGameLogic::ReqEndVirtualInteractiveGame(std::int32_t gameId,
                                                               const std::string& taskId,
                                                               std::int32_t /*type*/) {
    auto* signal = Announce(kGameEndCall);
    if (signal != nullptr && gameId > 1) {
        mCurrentGame.SetId(0);
        Send(kGameEndCall, *signal, {.tId = {}, .sInteractiveGameTaskId = taskId});
    }
}

void KinetraInteractiveGameLogic::ReqStartVirtualInteractiveCrownGamePacket(std::int32_t gameId) {
    if (auto* signal = Announce(kCrownGameStartCall, L" iInteractiveGameID ", gameId)) {
        mCurrentGame.SetId(gameId);
        Send(kCrownGameStartCall, *signal, {});
    }
}

void KinetraInteractiveGameLogic::ReqEndVirtualInteractiveCrownGamePacket(std::int32_t gameId,
                                                                          const std::string& taskId,
                                                                          std::int32_t type) {
    if (gameId >= 2) {
        return;
    }
    if (auto* signal = Announce(kCrownGameEndCall, L" iInteractiveGameID = ", gameId,
                                L", sInteractiveGameTaskId =", taskId, L", iType = ", type)) {
        mCurrentGame.SetId(0);
        Send(kCrownGameEndCall, *signal, {.tId = {}, .iType = type});
    }
}

void KinetraInteractiveGameLogic::ReqVirtualCrownGameHeartBeat(std::int32_t /*gameId*/,
                                                               const std::string& crownTaskId) {
    if (auto* signal = Announce(kCrownGameHeartbeatCall, L" sCrownGameTaskId = ", crownTaskId)) {
        Send(kCrownGameHeartbeatCall, *signal, {.tId = {}, .sCrownGameTaskId = crownTaskId});
    }
}

void KinetraInteractiveGameLogic::ReqGetVirtualCrownGameOrnament() {
    if (auto* signal = Announce(kCrownOrnamentCall)) {
        Send(kCrownOrnamentCall, *signal, {});
    }
}

void KinetraInteractiveGameLogic::ReqPreStartVirtualInteractiveTravelGame(std::int32_t gameId) {
    if (auto* signal = Announce(kTravelGamePreStartCall)) {
        mCurrentGame.SetId(gameId);
        Send(kTravelGamePreStartCall, *signal, {.tId = {}, .iInteractiveGameID = gameId});
    }
}

void KinetraInteractiveGameLogic::ReqStartVirtualInteractiveTravelGame(std::int32_t gameId) {
    if (auto* signal = Announce(kTravelGameStartCall)) {
        mCurrentGame.SetId(gameId);
        Send(kTravelGameStartCall, *signal, {.tId = {}, .iInteractiveGameID = gameId});
    }
}

void KinetraInteractiveGameLogic::ReqStartVirtualTravelGame(std::int32_t gameId,
                                                            std::int32_t levelType,
                                                            std::int32_t screenType,
                                                            const std::string& taskId) {
    if (auto* signal = Announce(kTravelGameLevelStartCall, L" iInteractiveGameID ", gameId,
                                L" iLevelType = ", levelType, L", iScreenType = ", screenType)) {
        Send(kTravelGameLevelStartCall, *signal,
             {.tId = {},
              .iInteractiveGameID = gameId,
              .iLevelType = levelType,
              .iScreenType = screenType,
              .sInteractiveGameTaskId = taskId});
    }
}

}  // namespace kinetra
