// The interactive games the avatar plays with the audience: it sees every engine message
// first and keeps the game that is running.
#pragma once

#include <cstdint>
#include <memory>

#include "plugin/instance_ref.h"
#include "taf/wire.h"

namespace kinetra {

class KinetraInteractiveGameLogic {
public:
    void Init(const std::shared_ptr<KinetraServicePluginImpl>& owner);
    void Uninit();

    // Runs the game logic's own routes for `type`.
    void OnEngineMessage(std::int32_t type, const taf::Bytes& payload);

    std::weak_ptr<KinetraServicePluginImpl> Owner() const { return mOwner.Get(); }

private:
    InstanceRef mOwner;
};

}  // namespace kinetra
