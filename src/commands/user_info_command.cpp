#include "commands/user_info_command.h"

#include "context/plugin_context.h"
#include "signal/host_text.h"
#include "taf/records/engine_identity.h"

namespace kinetra {

void UserInfoCommand::EexecuteCommand() {
    const auto instance = mOwner.lock();
    if (!instance) {
        return;
    }
    auto* signal = instance->SignalService();
    if (signal == nullptr) {
        return;
    }
    auto* account = signal->GetAccount();
    if (account == nullptr) {
        return;
    }
    service_plugin::AccountInfo info;
    account->GetAccountInfo(&info);
    MeruKinetra::UserInfoMsg message;
    message.lUid = account->GetUid();
    message.sGuid = Meru::CopyText(signal->GetGuid());
    message.sToken = Meru::CopyText(info.token);
    message.sUA = Meru::CopyText(signal->GetUserAgent());
    message.iTokenType = info.tokenType;
    instance->SendToEngine(ToEngine::kUserInfo, message);
}

}  // namespace kinetra
