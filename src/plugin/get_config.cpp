// The instance's start-configuration request to the servers.
#include "commands/request_address.h"
#include "plugin/kinetra_service_plugin_impl.h"
#include "signal/taf_task.h"

namespace kinetra {

void KinetraServicePluginImpl::GetConfig(const std::map<std::string, std::string>& param,
                                         ConfigCallback callback) {
    auto* signal = SignalService();
    if (signal == nullptr) {
        return;
    }
    MERU::GetConfigReq request;
    request.mpParam = param;
    signal->SendTask(new Meru::TafTaskWithTid<MERU::GetConfigReq, MERU::GetConfigRsp>(
        std::move(request), RequestAddress(taf::kGetConfig), std::move(callback)));
}

}  // namespace kinetra
