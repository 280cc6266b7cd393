#include "commands/live_state_notice_cmd.h"

#include <utility>

#include "context/plugin_context.h"
#include "core/boundary.h"
#include "taf/records/live_messages.h"

namespace kinetra {

void LiveStateNoticeCmd::Init(const std::shared_ptr<PluginContext>& owner) {
    mOwner.Reset(owner);
    auto* live = owner->LiveService();
    std::lock_guard lock(mMutex);
    if (live != nullptr && mListeningTo == nullptr) {
        live->AddLiveEvent(this);
        mListeningTo = live;
    }
}

// Every stop tells the instance's service, as a host may count on; once the instance is gone,
// the service this still listens to is told.
void LiveStateNoticeCmd::Uninit() {
    const auto owner = mOwner.Lock();
    std::lock_guard lock(mMutex);
    auto* listeningTo = std::exchange(mListeningTo, nullptr);
    auto* live = owner ? owner->LiveService() : nullptr;
    if (live == nullptr) {
        live = listeningTo;
    }
    if (live != nullptr) {
        live->RemoveLiveEvent(this);
    }
}

void LiveStateNoticeCmd::NotifyLiveState(bool live) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    owner->SetLive(live);
    owner->SendToEngine(ToEngine::kLiveState, MeruKinetra::LiveStateMsg{live ? 1 : 0});
}

void LiveStateNoticeCmd::OnLiveStarted() {
    core::at_boundary(L"LiveStateNoticeCmd::OnLiveStarted", [this] { NotifyLiveState(true); });
}

void LiveStateNoticeCmd::OnLiveStopped() {
    core::at_boundary(L"LiveStateNoticeCmd::OnLiveStopped", [this] { NotifyLiveState(false); });
}

}  // namespace kinetra
