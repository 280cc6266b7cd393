#include "commands/user_info_command.h"

#include "plugin/kinetra_service_plugin_impl.h"
#include "taf/records/engine_identity.h"

namespace kinetra {
namespace {

std::string Text(const service_plugin::LLString& text) {
    return text.Str() != nullptr ? std::string(text.Str(), text.Length()) : std::string();
}

}  // namespace

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
    message.sGuid = Text(signal->GetGuid());
    message.sToken = Text(info.token);
    message.sUA = Text(signal->GetUserAgent());
    message.iTokenType = info.tokenType;
    instance->SendToEngine(ToEngine::kUserInfo, message);
}

}  // namespace kinetra
