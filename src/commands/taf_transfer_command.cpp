#include "commands/taf_transfer_command.h"

#include "commands/taf_transfer_task.h"
#include "plugin/kinetra_service_plugin_impl.h"

namespace kinetra {

void TafTransferCommand::EexecuteCommand(const taf::Bytes& payload) {
    const auto instance = mOwner.lock();
    auto* signal = instance ? instance->SignalService() : nullptr;
    if (signal == nullptr) {
        return;
    }
    signal->SendTask(
        new TafTransferTask(payload, [instance](MeruKinetra::MeruTafTransDataRsp& reply) {
            instance->SendToEngine(ToEngine::kPassThroughResponse, reply);
        }));
}

}  // namespace kinetra
