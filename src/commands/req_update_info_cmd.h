// The engine asks whether an update is available (2027, answered by 317) and reports the result
// of applying it (2028, not answered).
#pragma once

#include <memory>

#include "taf/wire.h"

namespace kinetra {

class PluginContext;

class ReqUpdateInfoCmd {
public:
    explicit ReqUpdateInfoCmd(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}
    // Without an instance or a signal service the message is dropped.
    void ExecuteReqUpdateCommand(const taf::Bytes& payload);
    void ReportUpdateResult(const taf::Bytes& payload);

private:
    std::weak_ptr<PluginContext> mOwner;
};

}  // namespace kinetra
