// The engine sends a server request it framed itself (22); the reply frame goes back as 23.
#pragma once

#include <memory>

#include "taf/wire.h"

namespace kinetra {

class PluginContext;

class TafTransferCommand {
public:
    explicit TafTransferCommand(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}
    // Without an instance or a signal service the request is dropped.
    void EexecuteCommand(const taf::Bytes& payload);

private:
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
