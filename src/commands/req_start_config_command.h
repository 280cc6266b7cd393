// The engine asks for the avatar's start configuration (2029, and once at the instance's
// start); the servers' answer, with the room's game id, the user value and the presenter's
// camera, becomes message 2000.
#pragma once

#include <memory>

#include "taf/records/start_config.h"

namespace kinetra {

class PluginContext;

class ReqStartConfigCommand {
public:
    explicit ReqStartConfigCommand(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}
    // Sends nothing without an instance or a signal service; the reply holds the instance.
    void EexecuteCommand();

    // Builds message 2000 from the servers' answer and the host's services, and sends it.
    static void OpenKinetra(const MERU::GetConfigRsp& response, PluginContext& instance);

private:
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
