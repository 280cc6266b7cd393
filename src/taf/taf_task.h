// Request tasks whose reply carries a response record: plain, with the user's identity
// filled at encoding (WithTid), and with the identity filled but the caller's user agent kept.
#pragma once

#include <functional>

#include "taf/fill_user_id.h"
#include "taf/member_of_type.h"
#include "taf/records/user_id.h"
#include "taf/taf_task_base.h"

namespace Meru {

template <class Req, class Rsp>
class TafTask : public TafTaskBase<Req> {
public:
    // Runs on the host's thread that completes the request.
    using Callback = std::function<void(const SignalErrorHelper*, Rsp*)>;

    TafTask(Req requestRecord, RequestDescriptor address, Callback onReply,
            TaskOptions taskOptions = {})
        : TafTaskBase<Req>(std::move(requestRecord), std::move(address), taskOptions),
          callback(std::move(onReply)) {}

    void OnCallback() override {
        core::at_boundary(L"TafTask::OnCallback", [&] { InvokeCallback(&errorInfo, &response); });
    }

    bool DecodeResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                        std::int32_t secondCode) override {
        if (!callback) {
            return false;
        }
        RecordOutcome(errorInfo, data, size, firstCode, secondCode,
                      [this](auto reply) { return taf::decodeReply(reply, response); });
        return true;
    }

    // 16
    virtual void InvokeCallback(const SignalErrorHelper* error, Rsp* rsp) {
        if (callback) {
            callback(error, rsp);
        }
    }

protected:
    Rsp response;
    Callback callback;
    SignalErrorHelper errorInfo;
};

// Fills the request's one UserId member (found by type, at whatever tag) before encoding.
template <class Req, class Rsp, class UserId = MERU::UserId>
class TafTaskWithTid : public TafTask<Req, Rsp> {
public:
    static_assert(taf::kHasOneMemberOfType<UserId, Req>,
                  "the request must hold exactly one identity record");
    using TafTask<Req, Rsp>::TafTask;

    bool Encode(service_plugin::ISignalService* service) override {
        return core::at_boundary(
            L"TafTaskWithTid::Encode",
            [&] {
                FillUserId(this->request, service);
                return TafTask<Req, Rsp>::Encode(service);
            },
            false);
    }

    // 17
    virtual bool FillUserId(Req& target, service_plugin::ISignalService* service) {
        FillUserIdFromHost(taf::memberOfType<UserId>(target), service, UserAgentFill::fill);
        return true;
    }
};

// The caller sets the user agent; everything else of the identity is filled as above.
template <class Req, class Rsp, class UserId = MERU::UserId>
class TafTaskWithTidAndCustomFillUA : public TafTaskWithTid<Req, Rsp, UserId> {
public:
    using TafTaskWithTid<Req, Rsp, UserId>::TafTaskWithTid;

    bool FillUserId(Req& target, service_plugin::ISignalService* service) override {
        FillUserIdFromHost(taf::memberOfType<UserId>(target), service, UserAgentFill::keep);
        return true;
    }
};

}  // namespace Meru
