// Filling a request's identity record from the host's signal service and signed-in account,
// once for every task that carries one.
#pragma once

#include "core/boundary.h"
#include "service_plugin/signal_service.h"
#include "signal/host_text.h"
#include "taf/member_of_type.h"

namespace Meru {

enum class UserAgentFill { fill, keep };

// Asks the host in a fixed order: the account and its record (token and its kind), the
// guid, the user agent (unless kept), then the account once more for the uid. The cookie and
// device id keep what the caller set.
template <class UserId>
void FillUserIdFromHost(UserId& id, service_plugin::ISignalService* service,
                        UserAgentFill userAgent) {
    if (service == nullptr) {
        return;
    }
    if (service_plugin::IAccount* account = service->GetAccount()) {
        service_plugin::AccountInfo info;
        account->GetAccountInfo(&info);
        CopyTextInto(id.sToken, info.token);
        id.iTokenType = info.tokenType;
    }
    CopyTextInto(id.sGuid, service->GetGuid());
    if (userAgent == UserAgentFill::fill) {
        CopyTextInto(id.sUA, service->GetUserAgent());
    }
    if (service_plugin::IAccount* account = service->GetAccount()) {
        id.lUid = account->GetUid();
    }
}

// A task whose request's one UserId member (found by type, at whatever tag) is filled before
// encoding. `Task` names where its Encode logs from (kEncodeWithUserIdWhere).
template <class Task, class UserId, UserAgentFill userAgent>
class WithUserId : public Task {
public:
    using Req = typename Task::Request;
    static_assert(taf::kHasOneMemberOfType<UserId, Req>,
                  "the request must hold exactly one identity record");
    using Task::Task;

    bool Encode(service_plugin::ISignalService* service) override {
        return core::at_boundary(
            Task::kEncodeWithUserIdWhere,
            [&] {
                FillUserId(this->request, service);
                return Task::Encode(service);
            },
            false);
    }

    // 17
    virtual bool FillUserId(Req& target, service_plugin::ISignalService* service) {
        FillUserIdFromHost(taf::memberOfType<UserId>(target), service, userAgent);
        return true;
    }
};

}  // namespace Meru
