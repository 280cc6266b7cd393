// The live side while the avatar is on air. It owns the game logic, hands it every engine
// message first and then handles its own.
#pragma once

#include <cstdint>
#include <memory>

#include "games/kinetra_interactive_game_logic.h"
#include "plugin/instance_ref.h"
#include "taf/wire.h"

namespace kinetra {

class KinetraLogic {
public:
    // Starts the game logic first.
    void Init(const std::shared_ptr<KinetraServicePluginImpl>& owner);
    void Uninit();

    // The game logic's hook, then the live logic's own routes.
    void OnEngineMessage(std::int32_t type, const taf::Bytes& payload);

    std::weak_ptr<KinetraServicePluginImpl> Owner() const { return mOwner.Get(); }

private:
    KinetraInteractiveGameLogic mGameLogic;
    InstanceRef mOwner;
};

}  // namespace kinetra
