// Filling a request's identity record from the host's signal service and signed-in account.
#pragma once

#include <string>

#include "service_plugin/signal_service.h"

namespace Meru {

enum class UserAgentFill { fill, keep };

// The host's text as bytes; the host hands out null for an empty text.
inline std::string CopyText(const service_plugin::LLString& text) {
    const char* bytes = text.Str();
    return bytes == nullptr ? std::string() : std::string(bytes, text.Length());
}

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
        id.sToken = CopyText(info.token);
        id.iTokenType = info.tokenType;
    }
    id.sGuid = CopyText(service->GetGuid());
    if (userAgent == UserAgentFill::fill) {
        id.sUA = CopyText(service->GetUserAgent());
    }
    if (service_plugin::IAccount* account = service->GetAccount()) {
        id.lUid = account->GetUid();
    }
}

}  // namespace Meru
