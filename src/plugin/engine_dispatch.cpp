#include "plugin/engine_dispatch.h"

#include <span>

#include "commands/game_id_command.h"
#include "commands/user_info_command.h"
#include "plugin/kinetra_service_plugin_impl.h"

namespace kinetra {
namespace {

using EngineHandler = void (*)(KinetraServicePluginImpl& instance, const taf::Bytes& payload);

// A null handler marks a type whose feature is not part of the plug-in yet.
struct EngineRoute {
    std::int32_t type;
    EngineHandler handler;
};

void RunUserInfoCommand(KinetraServicePluginImpl& instance, const taf::Bytes&) {
    UserInfoCommand(instance.weak_from_this()).EexecuteCommand();
}

void RunGameIdCommand(KinetraServicePluginImpl& instance, const taf::Bytes&) {
    GameIdCommand(instance.weak_from_this()).EexecuteCommand();
}

constexpr EngineRoute kLiveLogicRoutes[] = {
    {24, &RunUserInfoCommand},  // user information
    {29, nullptr},              // push subscription (live logic)
    {2001, nullptr},            // open or close notice (live logic)
    {2039, nullptr},            // presenter dialog (live logic)
};

constexpr EngineRoute kInstanceRoutes[] = {
    {22, nullptr},              // pass-through server request
    {2001, nullptr},            // live-state notice
    {2014, &RunGameIdCommand},  // game id
    {2027, nullptr},            // update information request
    {2028, nullptr},            // update result report
    {2029, nullptr},            // start configuration request
    {2035, nullptr},            // create source
    {2036, nullptr},            // fit source to the canvas
    {2037, nullptr},            // metric report
};

void Route(std::span<const EngineRoute> routes, KinetraServicePluginImpl& instance,
           std::int32_t type, const taf::Bytes& payload) {
    for (const auto& route : routes) {
        if (route.type == type && route.handler != nullptr) {
            route.handler(instance, payload);
        }
    }
}

}  // namespace

void DispatchEngineMessage(KinetraServicePluginImpl& instance, std::int32_t type,
                           const taf::Bytes& payload) {
    Route(kLiveLogicRoutes, instance, type, payload);
    Route(kInstanceRoutes, instance, type, payload);
}

}  // namespace kinetra
