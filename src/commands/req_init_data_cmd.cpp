#include "commands/req_init_data_cmd.h"

#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "core/text.h"
#include "signal/host_text.h"
#include "taf/records/live_messages.h"

namespace kinetra {

void ReqInitDataCmd::EexecuteCommand() {
    const auto owner = mOwner.lock();
    auto* user = owner ? owner->UserService() : nullptr;
    auto* presenter = owner ? owner->PresenterService() : nullptr;
    if (user == nullptr || presenter == nullptr) {
        return;
    }
    service_plugin::LLString version;
    presenter->GetClientVersion(&version);
    const std::string versionText = Meru::CopyText(version);
    core::logger_stream(core::level_inf) << "ReqInitDataCmd::EexecuteCommand"
                                         << " test inv " << (presenter->IsTestEnv() ? 1 : 0)
                                         << " client version " << core::Utf8ToWide(versionText);

    MeruKinetra::InitDataMsg message;
    message.lUserValue = user->GetUserValue();
    service_plugin::LLString text;
    user->GetUserText1(&text);
    message.sUserText1 = Meru::CopyText(text);
    user->GetUserText2(&text);
    message.sUserText2 = Meru::CopyText(text);
    presenter->GetClientVersion(&version);
    message.sClientVersion = Meru::CopyText(version);
    message.bTestEnv = presenter->IsTestEnv();
    message.bFlag = true;
    message.vGiftList = owner->CachedGiftList();
    message.iLive = owner->IsLive() ? 1 : 0;
    owner->SendToEngine(ToEngine::kInitData, message);
}

}  // namespace kinetra
