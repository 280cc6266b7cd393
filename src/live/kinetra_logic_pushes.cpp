// The live logic's push subscriptions: the two fixed pushes and those the engine asks for.
#include "live/kinetra_logic.h"

#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "live/live_protocol.h"
#include "signal/signal_push.h"
#include "taf/records/live_messages.h"

namespace kinetra {

using Meru::PushTable;

// Push objects may be delivered after the instance is gone: every handler holds the instance
// weakly and reaches this object, which the instance owns, only while it can lock it.
void KinetraLogic::SubscribeFixedPushes(const std::shared_ptr<PluginContext>& owner) {
    const std::weak_ptr<PluginContext> weakOwner = owner;
    mPushes.Add(PushTable::Origin::fixed, kMessageNoticeUri,
                std::make_unique<Meru::SignalPushFactory<MERU::MessageNotice>>(
                    [this, weakOwner](MERU::MessageNotice& notice) {
                        if (const auto alive = weakOwner.lock()) {
                            OnMessageNotice(notice);
                        }
                    }));
    mPushes.Add(PushTable::Origin::fixed, kSendItemUri,
                std::make_unique<Meru::SignalPushFactory<MERU::SendItemSubBroadcastPacket>>(
                    [this, weakOwner](MERU::SendItemSubBroadcastPacket& packet) {
                        if (const auto alive = weakOwner.lock()) {
                            OnSendItem(packet);
                        }
                    }));
}

// The engine's unsubscribe takes back its own subscription to the URI, by object, and nothing
// else; a subscribe to a URI it already holds changes nothing (push_table.h says why).
void KinetraLogic::OnPushSubscription(const taf::Bytes& payload) {
    MeruKinetra::PushSubscribeMsg message;
    taf::fromBytesLenient(payload, message);
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    const auto uri = static_cast<std::uint32_t>(message.uri);
    if (message.subscribe == 0) {
        mPushes.Remove(PushTable::Origin::engine, uri);
        return;
    }
    auto subscription = std::make_unique<Meru::SignalPushFactory<taf::Bytes>>(
        uri, [this, weakOwner = std::weak_ptr(owner)](const taf::Bytes& body, std::int32_t from) {
            if (const auto alive = weakOwner.lock()) {
                OnRawPush(body, from);
            }
        });
    if (mPushes.Add(PushTable::Origin::engine, uri, std::move(subscription)) ==
        PushTable::Added::full) {
        core::logger_stream(core::level_err)
            << "KinetraLogic::OnPushSubscription"
            << " refused, the engine already holds " << PushTable::kMaxEngineUris
            << " subscriptions, uri=" << message.uri;
    }
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
