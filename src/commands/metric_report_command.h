// The engine reports a metric set (2037); it goes on to the servers and nothing comes back.
#pragma once

#include <memory>

#include "taf/wire.h"

namespace kinetra {

class PluginContext;

class MetricReportCommand {
public:
    explicit MetricReportCommand(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}
    // Without an instance or a signal service the report is dropped; a set that is only partly
    // readable is sent with what was read.
    void EexecuteCommand(const taf::Bytes& payload);

private:
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
