#include "live/gift_list_data_center.h"

#include "commands/request_address.h"
#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "signal/taf_task.h"

namespace kinetra {
namespace {

// Constants the servers expect in every gift-list request.
constexpr std::int32_t kPropsRequestField3 = 65;
constexpr std::int32_t kPropsRequestField5 = 0x04000003;

}  // namespace

void GiftListDataCenter::Init(const std::shared_ptr<PluginContext>& owner) {
    mOwner.Reset(owner);
}

void GiftListDataCenter::ReqPropList() {
    core::logger_stream(core::level_inf) << "GiftListDataCenter::ReqPropList";
    {
        std::lock_guard lock(mMutex);
        if (!mList.vPropsItemList.empty()) {
            return;
        }
    }
    const auto owner = mOwner.Lock();
    auto* signal = owner ? owner->SignalService() : nullptr;
    auto* room = owner ? owner->RoomService() : nullptr;
    if (signal == nullptr || room == nullptr) {
        return;
    }
    service_plugin::RoomInfo info;
    room->GetRoomInfo(&info);
    auto* account = signal->GetAccount();
    const std::int64_t uid = account != nullptr ? account->GetUid() : 0;

    MERU::GetPropsListReq request;
    request.iField3 = kPropsRequestField3;
    request.iField5 = kPropsRequestField5;
    request.lUid6 = uid;
    request.lUid7 = uid;
    request.lUid8 = uid;
    request.iGameId = info.gameId;
    // The reply may come after the instance, and this object with it, is gone: the callback
    // holds the instance weakly and reaches this object only while it can lock it.
    auto onReply = [this, weakOwner = mOwner.Get()](const Meru::SignalErrorHelper* error,
                                                    MERU::GetPropsListRsp* response) {
        const auto alive = weakOwner.lock();
        if (alive && error != nullptr && response != nullptr) {
            OnPropList(*error, *response);
        }
    };
    signal->SendTask(new Meru::TafTask<MERU::GetPropsListReq, MERU::GetPropsListRsp>(
        std::move(request), RequestAddress(taf::kGetPropsList), std::move(onReply)));
}

void GiftListDataCenter::OnPropList(const Meru::SignalErrorHelper& error,
                                    MERU::GetPropsListRsp& response) {
    const bool success = error.resultCode == 0 && error.serverResult == 0;
    core::logger_stream(core::level_inf)
        << "GiftListDataCenter::ReqPropList::<lambda_1>::operator ()"
        << " git list rsp: " << (success ? 1 : 0);
    if (!success) {
        return;
    }
    std::lock_guard lock(mMutex);
    mList = std::move(response);
}

taf::Bytes GiftListDataCenter::GetPropList() const {
    std::lock_guard lock(mMutex);
    return taf::toBytes(mList);
}

}  // namespace kinetra
