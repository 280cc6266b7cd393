// The engine asks for the avatar's source in the presenter's scene (message 2035), and later
// reports the avatar's frame size so the source fits the canvas (message 2036).
#pragma once

#include <memory>

#include "service_plugin/host_services.h"
#include "taf/wire.h"

namespace kinetra {

class PluginContext;

class ReqCreateSourceCommand {
public:
    explicit ReqCreateSourceCommand(std::weak_ptr<PluginContext> owner)
        : mOwner(std::move(owner)) {}
    // The new source at scale 1.5, or null without an instance, a presenter or a source.
    service_plugin::PresenterSource* EexecuteCommand();

private:
    std::weak_ptr<PluginContext> mOwner;
};

// Scales the source to the canvas height and centres it; does nothing without a presenter,
// a source or a frame size.
void FitSourceToCanvas(service_plugin::IPresenterService* presenter,
                       service_plugin::PresenterSource* source, const taf::Bytes& payload);

}  // namespace kinetra
