#include "commands/live_state_notice_cmd.h"

#include "core/boundary.h"
#include "plugin/kinetra_service_plugin_impl.h"
#include "taf/records/live_messages.h"

namespace kinetra {

void LiveStateNoticeCmd::Init(const std::shared_ptr<KinetraServicePluginImpl>& owner) {
    mOwner.Reset(owner);
    if (auto* live = owner->LiveService()) {
        live->AddLiveEvent(this);
    }
}

void LiveStateNoticeCmd::Uninit() {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    if (auto* live = owner->LiveService()) {
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
