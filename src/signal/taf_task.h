// Request tasks whose reply carries a response record: plain, with the user's identity
// filled at encoding (WithTid), and with the identity filled but the caller's user agent kept.
#pragma once

#include "signal/fill_user_id.h"
#include "signal/taf_task_base.h"
#include "signal/task_callback.h"
#include "taf/assign_over.h"
#include "taf/records/user_id.h"

namespace Meru {

template <class Req, class Rsp>
class TafTask : public TafTaskBase<Req> {
public:
    // Runs on the host's thread that completes the request.
    using Callback = TaskCallback<const SignalErrorHelper*, Rsp*>;
    // Where the identity-filling variant's Encode logs from.
    static constexpr const wchar_t* kEncodeWithUserIdWhere = L"TafTaskWithTid::Encode";

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
    // Back to what a fresh task holds, keeping the capacity of the response and the frame.
    void ForgetRequest() {
        callback = nullptr;
        errorInfo = SignalErrorHelper{};
        taf::assignOver(response, taf::recordDefaults<Rsp>());
        this->ForgetFrame();
    }

    Rsp response;
    Callback callback;
    SignalErrorHelper errorInfo;
};

// Fills the request's identity before encoding.
template <class Req, class Rsp, class UserId = MERU::UserId>
class TafTaskWithTid : public WithUserId<TafTask<Req, Rsp>, UserId, UserAgentFill::fill> {
public:
    using WithUserId<TafTask<Req, Rsp>, UserId, UserAgentFill::fill>::WithUserId;
};

// The caller sets the user agent; everything else of the identity is filled as above.
template <class Req, class Rsp, class UserId = MERU::UserId>
class TafTaskWithTidAndCustomFillUA
    : public WithUserId<TafTask<Req, Rsp>, UserId, UserAgentFill::keep> {
public:
    using WithUserId<TafTask<Req, Rsp>, UserId, UserAgentFill::keep>::WithUserId;
};

}  // namespace Meru
