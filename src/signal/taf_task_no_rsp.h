// Request tasks whose reply carries only a return value: plain, and with the user's identity
// filled at encoding.
#pragma once

#include "signal/fill_user_id.h"
#include "signal/taf_task_base.h"
#include "signal/task_callback.h"
#include "taf/records/user_id.h"

namespace Meru {

template <class Req>
class TafTaskNoRsp : public TafTaskBase<Req> {
public:
    // Runs on the host's thread that completes the request.
    using Callback = TaskCallback<const SignalErrorHelper*>;
    // Where the identity-filling variant's Encode logs from.
    static constexpr const wchar_t* kEncodeWithUserIdWhere = L"TafTaskNoRspWithTid::Encode";

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

// Fills the request's identity before encoding.
template <class Req, class UserId = MERU::UserId>
class TafTaskNoRspWithTid : public WithUserId<TafTaskNoRsp<Req>, UserId, UserAgentFill::fill> {
public:
    using WithUserId<TafTaskNoRsp<Req>, UserId, UserAgentFill::fill>::WithUserId;
};

}  // namespace Meru
