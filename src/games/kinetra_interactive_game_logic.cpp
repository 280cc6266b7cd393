#include "games/kinetra_interactive_game_logic.h"

#include <array>

#include "plugin/engine_route.h"

namespace kinetra {
namespace {

// The game messages the game logic answers itself.
constexpr std::array<EngineRoute<KinetraInteractiveGameLogic>, 0> kGameRoutes{};

}  // namespace

void KinetraInteractiveGameLogic::Init(const std::shared_ptr<KinetraServicePluginImpl>& owner) {
    mOwner.Reset(owner);
}

void KinetraInteractiveGameLogic::Uninit() {}

void KinetraInteractiveGameLogic::OnEngineMessage(std::int32_t type, const taf::Bytes& payload) {
    RouteEngineMessage<KinetraInteractiveGameLogic>(kGameRoutes, *this, type, payload);
}

}  // namespace kinetra
