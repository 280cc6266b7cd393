// The game logic's lifecycle (pushes in, a running game ended and pushes out), its engine
// handlers and the record of the game in progress that message 28 sets.
#include "games/kinetra_interactive_game_logic.h"

#include <string>

#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "plugin/engine_route.h"
#include "signal/signal_push.h"
#include "taf/records/crown_game.h"
#include "taf/records/interactive_game.h"
#include "taf/records/travel_game.h"

namespace kinetra {
namespace {

using Logic = KinetraInteractiveGameLogic;
using MeruKinetra::InteractiveGameEndMsg;
using MeruKinetra::InteractiveGameMsg;
using MeruKinetra::InteractiveGameTaskMsg;
using MeruKinetra::TravelGameLevelStartMsg;

// The row of a message whose fields, in the order given, are the arguments of `Method`. An
// undecodable payload leaves its fields at their defaults, and the method runs all the same.
template <taf::Record Message, auto Method, auto... Fields>
void Run(Logic& logic, const taf::Bytes& payload) {
    Message message;
    taf::fromBytesLenient(payload, message);
    (logic.*Method)(message.*Fields...);
}

// The end messages hand on an empty task id, not the recorded one.
template <auto Method>
void RunEnd(Logic& logic, const taf::Bytes& payload) {
    InteractiveGameEndMsg message;
    taf::fromBytesLenient(payload, message);
    (logic.*Method)(message.iInteractiveGameID, std::string(), message.iType);
}

constexpr auto kGameId = &InteractiveGameMsg::iInteractiveGameID;
constexpr auto kTaskGameId = &InteractiveGameTaskMsg::iInteractiveGameID;
constexpr auto kTaskId = &InteractiveGameTaskMsg::sInteractiveGameTaskId;

// The game logic's handlers of engine messages, by the names the message table gives them.
constexpr EngineBinding<Logic> kGameBindings[] = {
    {"SetCurrentGame", &Run<InteractiveGameTaskMsg, &Logic::SetCurrentGame, kTaskGameId, kTaskId>},
    {"ReqInteractiveGameInfoPacket",
     &Run<MeruKinetra::InteractiveGameInfoReqMsg, &Logic::ReqInteractiveGameInfoPacket,
          &MeruKinetra::InteractiveGameInfoReqMsg::lVersion>},
    {"ReqStartVirtualInteractiveCrownGamePacket",
     &Run<InteractiveGameMsg, &Logic::ReqStartVirtualInteractiveCrownGamePacket, kGameId>},
    {"ReqEndVirtualInteractiveCrownGamePacket",
     &RunEnd<&Logic::ReqEndVirtualInteractiveCrownGamePacket>},
    {"ReqCheckVirtualInteractiveGameDataRecoveryPacket",
     &Run<InteractiveGameMsg, &Logic::ReqCheckVirtualInteractiveGameDataRecoveryPacket, kGameId>},
    {"ReqVirtualCrownGameHeartBeat",
     &Run<InteractiveGameTaskMsg, &Logic::ReqVirtualCrownGameHeartBeat, kTaskGameId, kTaskId>},
    {"ReqStartVirtualInteractiveTravelGame",
     &Run<InteractiveGameMsg, &Logic::ReqStartVirtualInteractiveTravelGame, kGameId>},
    {"ReqPreStartVirtualInteractiveTravelGame",
     &Run<InteractiveGameMsg, &Logic::ReqPreStartVirtualInteractiveTravelGame, kGameId>},
    {"ReqStartVirtualTravelGame",
     &Run<TravelGameLevelStartMsg, &Logic::ReqStartVirtualTravelGame,
          &TravelGameLevelStartMsg::iInteractiveGameID, &TravelGameLevelStartMsg::iLevelType,
          &TravelGameLevelStartMsg::iScreenType, &TravelGameLevelStartMsg::sInteractiveGameTaskId>},
    {"ReqVirtualInteractiveGameHeartbeat",
     &Run<InteractiveGameTaskMsg, &Logic::ReqVirtualInteractiveGameHeartbeat, kTaskGameId,
          kTaskId>},
    {"ReqEndVirtualInteractiveGame", &RunEnd<&Logic::ReqEndVirtualInteractiveGame>},
};

constexpr auto kGameSteps = BindEngineSteps(EngineArea::games, kGameBindings);

}  // namespace

void KinetraInteractiveGameLogic::Init(const std::shared_ptr<PluginContext>& owner) {
    mOwner.Reset(owner);
    auto* signal = owner ? owner->SignalService() : nullptr;
    mSignalService = signal;
    mPushes.Open(signal);
    Subscribe(&Logic::OnVirtualCrownGameDataNotify);
    Subscribe(&Logic::OnVirtualTravelGuessWordsGameNotice);
    Subscribe(&Logic::OnVirtualTravelEmpowermentGameNotice);
    Subscribe(&Logic::OnVirtualInteractiveGameNotice);
}

// The handler runs only while the owner lives: the owner holds this object, and the host may
// deliver a push object it made before the unsubscription at any time later.
template <class Notice, class... Decode>
void KinetraInteractiveGameLogic::Subscribe(
    void (KinetraInteractiveGameLogic::*handler)(Notice&, Decode...)) {
    mPushes.Add(Meru::PushTable::Origin::fixed, Notice::kPushUri,
                std::make_unique<Meru::SignalPushFactory<Notice>>(
                    [this, handler, owner = mOwner.Get()](Notice& notice, Decode... decode) {
                        if (const auto alive = owner.lock()) {
                            (this->*handler)(notice, decode...);
                        }
                    }));
}

void KinetraInteractiveGameLogic::Uninit() {
    if (mCurrentGame.Id() != 0) {
        ReqEndVirtualInteractiveCrownGamePacket(mCurrentGame.Id(), mCurrentGame.TaskId(), 0);
        // Read again: the crown end has cleared the id when it acted.
        ReqEndVirtualInteractiveGame(mCurrentGame.Id(), mCurrentGame.TaskId(), 0);
        mCurrentGame.SetTaskId({});
    }
    mPushes.Close();
}

void KinetraInteractiveGameLogic::RunEngineStep(std::size_t step, const taf::Bytes& payload) {
    if (const auto run = kGameSteps[step]) {
        run(*this, payload);
    }
}

void KinetraInteractiveGameLogic::SetCurrentGame(std::int32_t gameId, const std::string& taskId) {
    mCurrentGame.Set(gameId, taskId);
    core::logger_stream(core::level_inf)
        << "KinetraInteractiveGameLogic::SetCurrentGame"
        << " CurInteractiveGameID=" << gameId << " CurInteractiveGameTaskId=" << taskId;
}

}  // namespace kinetra
