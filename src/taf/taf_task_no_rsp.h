// Request tasks whose reply carries only a return value: plain, and with the user's identity
// filled at encoding.
#pragma once

#include <functional>

#include "taf/fill_user_id.h"
#include "taf/member_of_type.h"
#include "taf/records/user_id.h"
#include "taf/taf_task_base.h"

namespace Meru {

template <class Req>
class TafTaskNoRsp : public TafTaskBase<Req> {
public:
    // Runs on the host's thread that completes the request.
    using Callback = std::function<void(const SignalErrorHelper*)>;

    TafTaskNoRsp(Req requestRecord, RequestDescriptor address, Callback onReply,
                 TaskOptions taskOptions = {})
        : TafTaskBase<Req>(std::move(requestRecord), std::move(address), taskOptions),
          callback(std::move(onReply)) {}

    void OnCallback() override {
        core::at_boundary(L"TafTaskNoRsp::OnCallback", [&] { InvokeCallback(&errorInfo); });
    }

    bool DecodeResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                        std::int32_t secondCode) override {
        if (!callback) {
            return false;
        }
        RecordOutcome(errorInfo, data, size, firstCode, secondCode,
                      [](auto reply) { return taf::decodeReturnValue(reply); });
        return true;
    }

    // 16
    virtual void InvokeCallback(const SignalErrorHelper* error) {
        if (callback) {
            callback(error);
        }
    }

protected:
    Callback callback;
    SignalErrorHelper errorInfo;
};

template <class Req, class UserId = MERU::UserId>
class TafTaskNoRspWithTid : public TafTaskNoRsp<Req> {
public:
    static_assert(taf::kHasOneMemberOfType<UserId, Req>,
                  "the request must hold exactly one identity record");
    using TafTaskNoRsp<Req>::TafTaskNoRsp;

    bool Encode(service_plugin::ISignalService* service) override {
        return core::at_boundary(
            L"TafTaskNoRspWithTid::Encode",
            [&] {
                FillUserId(this->request, service);
                return TafTaskNoRsp<Req>::Encode(service);
            },
            false);
    }

    // 17
    virtual bool FillUserId(Req& target, service_plugin::ISignalService* service) {
        FillUserIdFromHost(taf::memberOfType<UserId>(target), service, UserAgentFill::fill);
        return true;
    }
};

}  // namespace Meru
