#include "commands/taf_transfer_command.h"

#include "commands/taf_transfer_task.h"
#include "context/plugin_context.h"

namespace kinetra {

void TafTransferCommand::EexecuteCommand(const taf::Bytes& payload) {
    const auto instance = mOwner.lock();
    auto* signal = instance ? instance->SignalService() : nullptr;
    if (signal == nullptr) {
        return;
    }
    // Holds the instance weakly: a task the host still holds keeps nothing alive after the
    // instance is released, and its late answer is dropped.
    signal->SendTask(new TafTransferTask(
        payload, [weakInstance = std::weak_ptr(instance)](MeruKinetra::MeruTafTransDataRsp& reply) {
            if (const auto alive = weakInstance.lock()) {
                alive->SendToEngine(ToEngine::kPassThroughResponse, reply);
            }
        }));
}

}  // namespace kinetra
