// The live side while the avatar is on air: live tags and the avatar type told to viewers on a
// timer, pushes forwarded to the engine, the presenter's dialog and camera. It owns the game
// logic and runs its handlers of engine messages too.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "commands/presenter_camera_cmd.h"
#include "context/context_ref.h"
#include "core/error.h"
#include "core/thread_pool.h"
#include "games/kinetra_interactive_game_logic.h"
#include "plugin/engine_step.h"
#include "service_plugin/signal_service.h"
#include "signal/push_table.h"
#include "taf/records/live_pushes.h"
#include "taf/wire.h"

namespace kinetra {

class KinetraLogic {
public:
    KinetraLogic() = default;
    ~KinetraLogic();
    KinetraLogic(const KinetraLogic&) = delete;
    KinetraLogic& operator=(const KinetraLogic&) = delete;

    // Starts the game logic first, then subscribes the viewer-message and item pushes.
    void Init(const std::shared_ptr<PluginContext>& owner);
    // Stops the change-type timer, clears the live tags, stops the game logic and removes
    // every push subscription.
    void Uninit();

    // Runs the handler numbered `step` in the engine message table, of the game logic or of
    // the live logic itself.
    void RunEngineStep(EngineArea area, std::size_t step, const taf::Bytes& payload);

    // Sets both live tags to `open` (1 or 0) on the servers.
    void ReqSetLiveAttribute(std::int32_t open);
    // Each run of the change-type timer, on a pool thread: while the user is live, refreshes
    // the live tags and tells the viewers the avatar type.
    void OnTimeToChangeTypeId(core::error_e code);
    // The instance created the avatar's source: the presenter's camera is saved and removed.
    void OnSourceCreated();

    // The live logic's handlers, on the engine channel's thread.
    void OnOpenState(const taf::Bytes& payload);
    void OnPushSubscription(const taf::Bytes& payload);
    void OnPresenterDialog(const taf::Bytes& payload);

    std::weak_ptr<PluginContext> Owner() const { return mOwner.Get(); }

private:
    void StartChangeTypeTimer();
    void StopChangeTypeTimer();
    void SubscribeFixedPushes(const std::shared_ptr<PluginContext>& owner);
    void OnMessageNotice(const MERU::MessageNotice& notice);
    void OnSendItem(const MERU::SendItemSubBroadcastPacket& packet);
    void OnRawPush(const taf::Bytes& body, std::int32_t uri);

    ContextRef mOwner;
    std::atomic<service_plugin::ISignalService*> mSignalService{nullptr};
    std::atomic<std::int32_t> mVirtualType{0};
    // Replaced by each open notice, dropped by Uninit; the timer itself runs on pool threads.
    std::mutex mTimerMutex;
    std::shared_ptr<win32::tpp_timer> mChangeTypeTimer;
    KinetraInteractiveGameLogic mGameLogic;
    PresenterCameraCmd mCamera;
    // The fixed pushes and the engine's, open from Init to Uninit: the channel goes on
    // delivering after Uninit until the module lets the instance go, and a subscription made
    // then would stay registered with the host past the instance.
    Meru::PushTable mPushes;
};

}  // namespace kinetra
