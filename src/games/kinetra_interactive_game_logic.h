// The interactive games the avatar plays with the audience: it sees every engine message
// first, turns each game request of the engine into one server request whose answer goes
// back to the engine, forwards the game pushes, and keeps the game that is running.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "context/context_ref.h"
#include "games/current_game_record.h"
#include "service_plugin/signal_service.h"
#include "signal/push_table.h"
#include "taf/wire.h"

namespace MERU {
struct VirtualCrownGameDataNotify;
struct VirtualTravelGuessWordsGameNotice;
struct VirtualTravelEmpowermentGameNotice;
struct VirtualInteractiveGameNotice;
}  // namespace MERU

namespace Meru {
struct PushDecode;
struct SignalErrorHelper;
}  // namespace Meru

namespace kinetra {

class KinetraInteractiveGameLogic {
public:
    // Takes the owner's signal service and subscribes the four game pushes.
    void Init(const std::shared_ptr<PluginContext>& owner);
    // Ends a game still recorded on the servers, then unsubscribes the pushes.
    void Uninit();

    // Runs the game logic's handler numbered `step` in the engine message table.
    void RunEngineStep(std::size_t step, const taf::Bytes& payload);

    std::weak_ptr<PluginContext> Owner() const { return mOwner.Get(); }

    // Message 28: the engine names the game in progress.
    void SetCurrentGame(std::int32_t gameId, const std::string& taskId);

    // Requests: each sends one server request (none without a signal service) whose answer
    // reaches the engine from a host thread. Every engine message of the games starts one,
    // except the ornaments, which the open notice asks for before the initial data.
    void ReqInteractiveGameInfoPacket(std::int64_t lVersion);
    void ReqCheckVirtualInteractiveGameDataRecoveryPacket(std::int32_t gameId);
    void ReqVirtualInteractiveGameHeartbeat(std::int32_t gameId, const std::string& taskId);
    // Acts only for game ids above 1 (the travel game), and clears the current id.
    void ReqEndVirtualInteractiveGame(std::int32_t gameId, const std::string& taskId,
                                      std::int32_t type);
    void ReqStartVirtualInteractiveCrownGamePacket(std::int32_t gameId);
    // Acts only for game ids below 2 (the crown game), and clears the current id.
    void ReqEndVirtualInteractiveCrownGamePacket(std::int32_t gameId, const std::string& taskId,
                                                 std::int32_t type);
    void ReqVirtualCrownGameHeartBeat(std::int32_t gameId, const std::string& crownTaskId);
    void ReqGetVirtualCrownGameOrnament();
    void ReqPreStartVirtualInteractiveTravelGame(std::int32_t gameId);
    void ReqStartVirtualInteractiveTravelGame(std::int32_t gameId);
    void ReqStartVirtualTravelGame(std::int32_t gameId, std::int32_t levelType,
                                   std::int32_t screenType, const std::string& taskId);

    // Pushes, on the host's threads; each is forwarded to the engine while the owner lives.
    void OnVirtualCrownGameDataNotify(MERU::VirtualCrownGameDataNotify& notify);
    // The key words reach the engine; the log shows them masked, and no field at all of a push
    // that was not read intact.
    void OnVirtualTravelGuessWordsGameNotice(MERU::VirtualTravelGuessWordsGameNotice& notice,
                                             const Meru::PushDecode& decode);
    void OnVirtualTravelEmpowermentGameNotice(MERU::VirtualTravelEmpowermentGameNotice& notice);
    void OnVirtualInteractiveGameNotice(MERU::VirtualInteractiveGameNotice& notice);

private:
    // The request pattern (game_request.h).
    template <class Call, class... Details>
    service_plugin::ISignalService* Announce(const Call& call, const Details&... details);
    template <class Call>
    void Send(const Call& call, service_plugin::ISignalService& signal,
              typename Call::Request request);
    template <class Call>
    void Answer(const Call& call, PluginContext& owner, const Meru::SignalErrorHelper& error,
                const typename Call::Response& response);

    // A handler takes the notice, and how it was read when it needs to know.
    template <class Notice, class... Decode>
    void Subscribe(void (KinetraInteractiveGameLogic::*handler)(Notice&, Decode...));

    ContextRef mOwner;
    // Set by Init on a host thread, read by requests on the engine channel's thread.
    std::atomic<service_plugin::ISignalService*> mSignalService{nullptr};
    CurrentGameRecord mCurrentGame;
    // The four game pushes, from Init to Uninit.
    Meru::PushTable mPushes;
};

}  // namespace kinetra
