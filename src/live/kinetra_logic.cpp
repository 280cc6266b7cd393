#include "live/kinetra_logic.h"

#include "commands/user_info_command.h"
#include "plugin/engine_route.h"

namespace kinetra {
namespace {

// The engine messages the live logic answers itself.
constexpr EngineRoute<KinetraLogic> kLiveRoutes[] = {
    {FromEngine::kUserInfoRequest, &RunCommand<UserInfoCommand>},
};

}  // namespace

void KinetraLogic::Init(const std::shared_ptr<KinetraServicePluginImpl>& owner) {
    mGameLogic.Init(owner);
    mOwner.Reset(owner);
}

void KinetraLogic::Uninit() {
    mGameLogic.Uninit();
}

void KinetraLogic::OnEngineMessage(std::int32_t type, const taf::Bytes& payload) {
    mGameLogic.OnEngineMessage(type, payload);
    RouteEngineMessage<KinetraLogic>(kLiveRoutes, *this, type, payload);
}

}  // namespace kinetra
