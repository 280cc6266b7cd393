#include "commands/game_id_command.h"

#include "context/plugin_context.h"
#include "taf/records/engine_identity.h"

namespace kinetra {
void GameIdCommand::EexecuteCommand() {
    const auto instance = mOwner.lock();
    if (!instance) {
        return;
    }
    auto* room = instance->RoomService();
    if (room == nullptr) {
        return;
    }
    service_plugin::RoomInfo info;
    room->GetRoomInfo(&info);
    instance->SendToEngine(ToEngine::kGameId, MeruKinetra::GameIdMsg{info.gameId});
}

}  // namespace kinetra
