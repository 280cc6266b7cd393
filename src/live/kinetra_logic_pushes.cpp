// The live logic's push subscriptions: the two fixed pushes and those the engine asks for.
#include "live/kinetra_logic.h"

#include "live/live_protocol.h"
#include "plugin/kinetra_service_plugin_impl.h"
#include "signal/signal_push.h"
#include "taf/records/live_messages.h"

namespace kinetra {

// Push objects may be delivered after the instance is gone: every handler holds the instance
// weakly and reaches this object, which the instance owns, only while it can lock it.
void KinetraLogic::SubscribeFixedPushes(const std::shared_ptr<KinetraServicePluginImpl>& owner,
                                        service_plugin::ISignalService& signal) {
    const std::weak_ptr<KinetraServicePluginImpl> weakOwner = owner;
    auto notices = std::make_unique<Meru::SignalPushFactory<MERU::MessageNotice>>(
        [this, weakOwner](MERU::MessageNotice& notice) {
            if (const auto alive = weakOwner.lock()) {
                OnMessageNotice(notice);
            }
        });
    auto items = std::make_unique<Meru::SignalPushFactory<MERU::SendItemSubBroadcastPacket>>(
        [this, weakOwner](MERU::SendItemSubBroadcastPacket& packet) {
            if (const auto alive = weakOwner.lock()) {
                OnSendItem(packet);
            }
        });
    std::lock_guard lock(mPushMutex);
    mTakesSubscriptions = true;
    signal.AddPushHandler(kMessageNoticeUri, notices.get());
    mPushTable.emplace(kMessageNoticeUri, std::move(notices));
    signal.AddPushHandler(kSendItemUri, items.get());
    mPushTable.emplace(kSendItemUri, std::move(items));
}

// Every subscription is taken back from the host before it is freed, whether or not the owner
// still lives: a stub freed while registered would be called by the next push under its URI.
void KinetraLogic::RemovePushes() {
    auto* signal = mSignalService.load();
    std::lock_guard lock(mPushMutex);
    mTakesSubscriptions = false;
    if (signal != nullptr) {
        for (const auto& [uri, subscription] : mPushTable) {
            signal->RemovePushHandler(static_cast<std::uint32_t>(uri), subscription.get());
        }
    }
    mPushTable.clear();
}

void KinetraLogic::OnPushSubscription(const taf::Bytes& payload) {
    MeruKinetra::PushSubscribeMsg message;
    taf::fromBytesLenient(payload, message);
    const auto owner = mOwner.Lock();
    auto* signal = mSignalService.load();
    if (!owner || signal == nullptr) {
        return;
    }
    const auto uri = static_cast<std::uint32_t>(message.uri);
    std::lock_guard lock(mPushMutex);
    if (!mTakesSubscriptions) {
        return;
    }
    if (message.subscribe == 0) {
        // The host drops the subscription it holds for the URI; once per subscription held,
        // so none is freed while the host still has it.
        const auto [first, last] = mPushTable.equal_range(message.uri);
        const auto held = std::max<std::ptrdiff_t>(std::distance(first, last), 1);
        for (std::ptrdiff_t i = 0; i < held; ++i) {
            signal->RemovePushHandler(uri, nullptr);
        }
        mPushTable.erase(first, last);
        return;
    }
    auto subscription = std::make_unique<Meru::SignalPushFactory<taf::Bytes>>(
        uri, [this, weakOwner = std::weak_ptr(owner)](const taf::Bytes& body, std::int32_t from) {
            if (const auto alive = weakOwner.lock()) {
                OnRawPush(body, from);
            }
        });
    signal->AddPushHandler(uri, subscription.get());
    mPushTable.emplace(message.uri, std::move(subscription));
}

void KinetraLogic::OnRawPush(const taf::Bytes& body, std::int32_t uri) {
    if (const auto owner = mOwner.Lock()) {
        owner->SendToEngine(ToEngine::kRawPush, MeruKinetra::RawPushMsg{uri, body});
    }
}

void KinetraLogic::OnMessageNotice(const MERU::MessageNotice& notice) {
    if (const auto owner = mOwner.Lock()) {
        owner->SendToEngine(ToEngine::kViewerMessage,
                            MeruKinetra::MessageNoticeMsg{notice.tSender.sText2,
                                                          notice.tSender.sText4, notice.sText3});
    }
}

void KinetraLogic::OnSendItem(const MERU::SendItemSubBroadcastPacket& packet) {
    const auto owner = mOwner.Lock();
    auto* signal = owner ? owner->SignalService() : nullptr;
    auto* account = signal != nullptr ? signal->GetAccount() : nullptr;
    if (account == nullptr) {
        return;
    }
    const std::int64_t uid = account->GetUid();
    if (uid != packet.lReceiverUid3 && uid != packet.lReceiverUid25) {
        return;
    }
    owner->SendToEngine(
        ToEngine::kItemSend,
        MeruKinetra::SendItemMsg{packet.iField0, packet.sField20, packet.iField2, packet.sField6,
                                 packet.iField9, packet.sField14, uid});
}

}  // namespace kinetra
